// SPDX-License-Identifier: MIT
#pragma once
// Caption fonts and colours in the form slides store them: a face name, a size in points, style bits
// and a colour value, turned into what a widget draws with.

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>

// Style bits of a stored font.
enum StoredFontStyle { StoredBold = 1, StoredItalic = 2, StoredUnderline = 4, StoredStrikeOut = 8 };

// 0x00BBGGRR, or a system colour: top byte 0x80 and the system colour's index in the low byte, taken
// from the palette (an index the program does not know gives the palette's text colour).
QColor storedColor(qint32 value, const QPalette& palette);

// How far apart two colours read: the ratio of their relative luminances (each plus 0.05), from 1
// for the same colour to 21 for black and white.
double contrastRatio(const QColor& a, const QColor& b);
// A caption in a text box reads at this contrast at least.
inline constexpr double ReadableContrast = 3.0;

// The colours of a text box that shows a caption in `text`: `palette` with that text colour, on the
// palette's base where the two read apart, else on a light box behind dark text and on a dark box
// behind light text (a black caption in a dark appearance, a white one in a light appearance).
QPalette captionPalette(QPalette palette, const QColor& text);

// The face, with the window font's face standing in for "MS Sans Serif" where that face does not
// exist; a positive size is in points, a negative one in pixels, 0 gives 8 points.
QFont storedFont(const QString& family, int size, int styleBits);
