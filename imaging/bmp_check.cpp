// SPDX-License-Identifier: MIT
#include "bmp_check.h"

#include "dib_block.h"
#include "le_bytes.h"

#include <cstdlib>

namespace imaging {

namespace {

constexpr qsizetype FileHeaderSize = 14;
constexpr uint32_t CoreHeaderSize = 12; // the old OS/2 header with 16-bit sizes
constexpr uint32_t Uncompressed = 0, BitFields = 3, AlphaBitFields = 6;

} // namespace

bool bmpPixelDataComplete(QByteArrayView file) {
    if (file.size() < FileHeaderSize + 16)
        return true; // too short to judge here; the reader refuses it
    const quint64 pixelsAt = le::read32(file, 10);
    const uint32_t headerSize = le::read32(file, 14);
    qint64 width = 0, height = 0;
    int bits = 0;
    uint32_t compression = Uncompressed;
    if (headerSize == CoreHeaderSize) {
        width = le::read16(file, 18);
        height = le::read16(file, 20);
        bits = le::read16(file, 24);
    } else if (headerSize >= 40 && file.size() >= FileHeaderSize + 40) {
        width = int32_t(le::read32(file, 18));
        height = std::llabs(int32_t(le::read32(file, 22)));
        bits = le::read16(file, 28);
        compression = le::read32(file, 30);
    } else {
        return true;
    }
    if (compression != Uncompressed && compression != BitFields && compression != AlphaBitFields)
        return true;
    if (width <= 0 || bits <= 0 || bits > 32)
        return true;
    const quint64 needed = pixelsAt + quint64(dibRowStride(width, bits)) * quint64(height);
    return quint64(file.size()) >= needed;
}

} // namespace imaging
