// SPDX-License-Identifier: MIT
#include "slide_picture.h"

#include <cstring>
#include <utility>

namespace {

unsigned Read16(const unsigned char* p, bool little) {
    return little ? p[0] | p[1] << 8 : p[0] << 8 | p[1];
}

std::uint32_t Read32(const unsigned char* p, bool little) {
    return little ? Read16(p, true) | std::uint32_t(Read16(p + 2, true)) << 16
                  : std::uint32_t(Read16(p, false)) << 16 | Read16(p + 2, false);
}

// The orientation entry of the first image directory of a TIFF block of `size` bytes.
int TiffOrientation(const unsigned char* tiff, std::size_t size) {
    if (size < 8 || (std::memcmp(tiff, "II", 2) != 0 && std::memcmp(tiff, "MM", 2) != 0))
        return 1;
    const bool little = tiff[0] == 'I';
    const std::uint32_t directory = Read32(tiff + 4, little);
    if (directory > size - 2)
        return 1;
    const unsigned entries = Read16(tiff + directory, little);
    for (unsigned i = 0; i < entries; ++i) {
        const std::size_t at = directory + 2 + std::size_t(i) * 12;
        if (at + 12 > size)
            break;
        if (Read16(tiff + at, little) == 0x112) {
            const unsigned value = Read16(tiff + at + 8, little);
            return value >= 1 && value <= 8 ? int(value) : 1;
        }
    }
    return 1;
}

} // namespace

int JpegOrientation(std::string_view data) {
    const auto* p = reinterpret_cast<const unsigned char*>(data.data());
    const std::size_t size = data.size();
    if (size < 4 || p[0] != 0xFF || p[1] != 0xD8)
        return 1;
    // The marker segments before the picture's data; the Exif block is one of the first.
    for (std::size_t at = 2; at + 4 <= size && p[at] == 0xFF;) {
        const unsigned marker = p[at + 1];
        const std::size_t length = Read16(p + at + 2, false);
        if (marker == 0xDA || marker == 0xD9 || length < 2 || at + 2 + length > size)
            break;
        if (marker == 0xE1 && length >= 8 && std::memcmp(p + at + 4, "Exif\0\0", 6) == 0)
            return TiffOrientation(p + at + 10, length - 8);
        at += 2 + length;
    }
    return 1;
}

SlidePicture UprightPicture(const QpxRunPicture& decoded, int orientation) {
    SlidePicture out;
    if (!decoded.pixels || decoded.width <= 0 || decoded.height <= 0)
        return out;
    const int w = decoded.width, h = decoded.height;
    const bool transposed = orientation >= 5 && orientation <= 8;
    out.width = transposed ? h : w;
    out.height = transposed ? w : h;
    out.pixels.resize(std::size_t(w) * std::size_t(h));
    for (int y = 0; y < h; ++y) {
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(decoded.pixels + std::size_t(y) * decoded.stride);
        for (int x = 0; x < w; ++x) {
            // Where the stored pixel (x, y) lands once the picture is upright.
            int tx = x, ty = y;
            switch (orientation) {
            case 2:
                tx = w - 1 - x;
                break;
            case 3:
                tx = w - 1 - x;
                ty = h - 1 - y;
                break;
            case 4:
                ty = h - 1 - y;
                break;
            case 5:
                tx = y;
                ty = x;
                break;
            case 6:
                tx = h - 1 - y;
                ty = x;
                break;
            case 7:
                tx = h - 1 - y;
                ty = w - 1 - x;
                break;
            case 8:
                tx = y;
                ty = w - 1 - x;
                break;
            default:
                break;
            }
            out.pixels[std::size_t(ty) * std::size_t(out.width) + std::size_t(tx)] = row[x] | 0xFF000000u;
        }
    }
    return out;
}

namespace {

// The bitmap's pixel at `x` of the row starting at `row`: its palette entry, or its own colour.
std::uint32_t BitmapPixel(const unsigned char* row, int x, int bits, const unsigned char* palette,
                          unsigned colours) {
    if (bits >= 24) {
        const unsigned char* p = row + std::size_t(x) * std::size_t(bits / 8);
        return 0xFF000000u | std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
    }
    const std::size_t bit = std::size_t(x) * std::size_t(bits);
    const unsigned index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
    if (index >= colours)
        return 0xFF000000u;
    const unsigned char* c = palette + std::size_t(index) * 4;
    return 0xFF000000u | std::uint32_t(c[2]) << 16 | std::uint32_t(c[1]) << 8 | c[0];
}

} // namespace

bool ReadBitmap(std::string_view data, SlidePicture& picture) {
    const auto* p = reinterpret_cast<const unsigned char*>(data.data());
    const std::size_t size = data.size();
    if (size < 54 || p[0] != 'B' || p[1] != 'M')
        return false;
    const std::uint32_t pixelsAt = Read32(p + 10, true), header = Read32(p + 14, true);
    const auto width = std::int32_t(Read32(p + 18, true)), rawHeight = std::int32_t(Read32(p + 22, true));
    const int bits = int(Read16(p + 28, true));
    const std::uint32_t compression = Read32(p + 30, true);
    const std::int64_t height = rawHeight < 0 ? -std::int64_t(rawHeight) : rawHeight;
    const bool bitsKnown = bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32;
    if (header < 40 || header > size - 14 || !bitsKnown || compression != 0 || width <= 0 || height <= 0 ||
        std::int64_t(width) * height > 100'000'000)
        return false;
    const std::uint32_t used = Read32(p + 46, true);
    const unsigned colours = bits > 8 ? 0 : used > 0 && used < (1u << bits) ? used : 1u << bits;
    const std::size_t palette = 14 + header;
    const std::size_t stride = (std::size_t(width) * std::size_t(bits) + 31) / 32 * 4;
    if (palette + std::size_t(colours) * 4 > size || pixelsAt > size ||
        stride * std::size_t(height) > size - pixelsAt)
        return false;
    SlidePicture out;
    out.width = width;
    out.height = int(height);
    out.pixels.resize(std::size_t(width) * std::size_t(height));
    for (int y = 0; y < out.height; ++y) {
        // Rows are stored from the bottom up unless the height is negative.
        const int stored = rawHeight < 0 ? y : out.height - 1 - y;
        const unsigned char* row = p + pixelsAt + std::size_t(stored) * stride;
        for (int x = 0; x < width; ++x)
            out.pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)] =
                BitmapPixel(row, x, bits, p + palette, colours);
    }
    picture = std::move(out);
    return true;
}
