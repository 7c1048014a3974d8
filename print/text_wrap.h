// SPDX-License-Identifier: MIT
#pragma once
// Fitting text into a width, in whatever unit the width function measures (the printer's pixels
// when printing): word wrapping of a slide's comment, and shortening a line in its middle.

#include <QString>
#include <QStringList>

#include <functional>

namespace print {

using TextWidth = std::function<int(const QString&)>;

// Breaks `text` at blanks into lines that fit `width`. A word that is wider than `width` on its own
// is broken inside the word, so that no line runs past the width; a line always takes at least one
// character, so the wrap ends even when a single character is too wide. Runs of blanks between
// words become one blank; blanks at the ends of the text are dropped. When the text needs more than
// `maxLines` lines, only that many are kept and the last one ends in "..." to show that more
// followed.
QStringList wrapText(const QString& text, int width, const TextWidth& textWidth, int maxLines = -1);

// `lead` followed by `text`, with `text` shortened in its middle when the whole is wider than
// `width`: characters are taken from the middle until it fits with "..." put in their place. When
// not even `lead` fits with a little of `text`, the whole line is shortened that way.
QString shortenMiddle(const QString& lead, QString text, int width, const TextWidth& textWidth);

} // namespace print
