#pragma once
// Word wrapping of a slide's comment into lines no wider than a given width, in whatever unit the
// width function measures (the printer's pixels when printing).

#include <QString>
#include <QStringList>

#include <functional>

namespace print {

using TextWidth = std::function<int(const QString&)>;

// Breaks `text` at blanks into lines that fit `width`. A word that is wider than `width` on its own
// is broken inside the word, so that no line runs past the width; a line always takes at least one
// character, so the wrap ends even when a single character is too wide. Runs of blanks between
// words become one blank; blanks at the ends of the text are dropped.
QStringList wrapText(const QString& text, int width, const TextWidth& textWidth);

} // namespace print
