#include "text_wrap.h"

#include <QRegularExpression>

namespace print {

namespace {

// The longest start of `word` (at least one character) that fits `width`.
qsizetype fittingPrefix(const QString& word, int width, const TextWidth& textWidth) {
    qsizetype n = 1;
    while (n < word.size() && textWidth(word.left(n + 1)) <= width)
        ++n;
    return n;
}

} // namespace

QStringList wrapText(const QString& text, int width, const TextWidth& textWidth) {
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
    return lines;
}

} // namespace print
