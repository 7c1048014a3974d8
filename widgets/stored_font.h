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

// The face, with the window font's face standing in for "MS Sans Serif" where that face does not
// exist; a positive size is in points, a negative one in pixels, 0 gives 8 points.
QFont storedFont(const QString& family, int size, int styleBits);
