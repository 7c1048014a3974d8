// SPDX-License-Identifier: MIT
#include "shorten_middle.h"

#include <algorithm>

QString shortenMiddle(QString text, const std::function<bool(const QString&)>& fits) {
    if (fits(text))
        return text;
    const QString dots = QStringLiteral("...");
    // A single character cannot lose its middle any more; stop there rather than loop for ever.
    while (text.size() > 1 && !fits(text + dots))
        text.remove(text.size() / 2 - 1, 1);
    text.insert(std::max<qsizetype>(text.size() / 2 - 1, 0), dots);
    return text;
}
