// SPDX-License-Identifier: MIT
#pragma once
// The extension block's JSON before it is built into objects: checked against limits that bound
// what building it costs, and with each number that a double would not keep exactly (an integer of
// more digits than a double holds, a negative zero) held as a string of its own text, which the
// written block turns back into the number. So a value this version does not read is written again
// exactly as it was read.

#include "show_block_limits.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace ShowExtension {

// The deepest nesting of lists and objects, and the most values (keys counted), a block may hold.
inline constexpr int MaxDepth = ShowBlockLimits::MaxDepth;
inline constexpr qint64 MaxValues = ShowBlockLimits::MaxValues;

struct ScannedJson {
    QByteArray json; // the text with inexact numbers held as strings
    QString error;   // why the text was refused, or empty
};

// Checks `json` against the limits in one pass that allocates nothing but the copy.
ScannedJson holdInexactNumbers(QByteArrayView json);
// The compact JSON `written` with each held number back as the number it was.
QByteArray restoreHeldNumbers(QByteArray written);

} // namespace ShowExtension
