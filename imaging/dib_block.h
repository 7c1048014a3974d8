// SPDX-License-Identifier: MIT
// Packed device-independent bitmaps: a 40-byte bitmap information header, the colour table, then the
// pixel rows bottom-up, each padded to a multiple of 4 bytes. This is what CopyDib hands out.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

#include <cstddef>
#include <cstdint>

namespace imaging {

// The bitmap information header, as laid out in the block.
struct BitmapInfoHeader {
    uint32_t size; // 40
    int32_t width;
    int32_t height;       // positive: rows stored bottom-up
    uint16_t planes;      // 1
    uint16_t bitCount;    // 8 or 24
    uint32_t compression; // 0 = uncompressed
    uint32_t sizeImage;   // bytes of pixel rows
    int32_t xPelsPerMeter;
    int32_t yPelsPerMeter;
    uint32_t colorsUsed; // entries in the colour table that follows
    uint32_t colorsImportant;
};
static_assert(sizeof(BitmapInfoHeader) == 40);
static_assert(offsetof(BitmapInfoHeader, width) == 4);
static_assert(offsetof(BitmapInfoHeader, height) == 8);
static_assert(offsetof(BitmapInfoHeader, planes) == 12);
static_assert(offsetof(BitmapInfoHeader, bitCount) == 14);
static_assert(offsetof(BitmapInfoHeader, compression) == 16);
static_assert(offsetof(BitmapInfoHeader, sizeImage) == 20);
static_assert(offsetof(BitmapInfoHeader, xPelsPerMeter) == 24);
static_assert(offsetof(BitmapInfoHeader, yPelsPerMeter) == 28);
static_assert(offsetof(BitmapInfoHeader, colorsUsed) == 32);
static_assert(offsetof(BitmapInfoHeader, colorsImportant) == 36);

inline constexpr int DibPaletteEntries = 256;

// Bytes per stored row for `width` pixels of `bits` bits.
inline qint64 dibRowStride(qint64 width, int bits) {
    return (width * bits + 31) / 32 * 4;
}

// 8 bits with 256 colour entries for a Format_Indexed8 picture, otherwise 24 bits without a colour
// table (transparent parts laid on white). Empty for a null picture.
QByteArray packDib(const QImage& image);

// Reads the header at the start of a packed bitmap (the block must hold at least 40 bytes).
BitmapInfoHeader readBitmapInfoHeader(QByteArrayView block);

} // namespace imaging
