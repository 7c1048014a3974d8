// SPDX-License-Identifier: MIT
// Palette files in the RIFF "PAL " form: "RIFF", size, "PAL ", then a "data" chunk holding the
// version 0x0300, the entry count and the entries as (red, green, blue, flags) bytes.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QRgb>

#include <optional>

namespace imaging {

inline constexpr uint16_t RiffPaletteVersion = 0x0300;

// The colours of a palette file, or nothing when the bytes are not a well-formed palette of 1 to 256
// entries.
std::optional<QList<QRgb>> parseRiffPalette(QByteArrayView file);

// The file bytes for a palette of 1 to 256 colours (flags 0).
QByteArray writeRiffPalette(const QList<QRgb>& colours);

} // namespace imaging
