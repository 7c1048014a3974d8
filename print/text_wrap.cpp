// SPDX-License-Identifier: MIT
#include "text_wrap.h"

#include "shorten_middle.h"

#include <QRegularExpression>

namespace print {

namespace {

const QString Dots = QStringLiteral("...");

// The longest start of `word` (at least one character) that fits `width`.
qsizetype fittingPrefix(const QString& word, int width, const TextWidth& textWidth) {
    qsizetype n = 1;
    while (n < word.size() && textWidth(word.left(n + 1)) <= width)
        ++n;
    return n;
}

// The line with "..." at its end, shortened at the end until that fits.
QString withDotsAtEnd(QString line, int width, const TextWidth& textWidth) {
    while (!line.isEmpty() && textWidth(line + Dots) > width)
        line.chop(1);
    return line + Dots;
}

} // namespace

QStringList wrapText(const QString& text, int width, const TextWidth& textWidth, int maxLines) {
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    QStringList lines;
    QString line;
    for (QString word : text.split(blanks, Qt::SkipEmptyParts)) {
        if (!line.isEmpty()) {
            const QString longer = line + QLatin1Char(' ') + word;
            if (textWidth(longer) <= width) {
                line = longer;
                continue;
            }
            lines.append(line);
            line.clear();
        }
        while (textWidth(word) > width && word.size() > 1) {
            const qsizetype n = fittingPrefix(word, width, textWidth);
            lines.append(word.left(n));
            word.remove(0, n);
        }
        line = word;
    }
    if (!line.isEmpty())
        lines.append(line);
    if (maxLines >= 0 && lines.size() > maxLines) {
        lines.resize(maxLines);
        if (maxLines > 0)
            lines.back() = withDotsAtEnd(lines.back(), width, textWidth);
    }
    return lines;
}

QString shortenMiddle(const QString& lead, QString text, int width, const TextWidth& textWidth) {
    if (textWidth(lead + text) <= width)
        return lead + text;
    if (!lead.isEmpty() && textWidth(lead + text.left(1) + Dots) > width)
        return ::shortenMiddle(lead + text, [&](const QString& t) { return textWidth(t) <= width; });
    return lead + ::shortenMiddle(text, [&](const QString& t) { return textWidth(lead + t) <= width; });
}

} // namespace print
