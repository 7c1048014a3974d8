// SPDX-License-Identifier: MIT
#include "picture_place.h"

#include "byte_order.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace ShowRules {

Rect placePicture(int width, int height, const Rect& area) {
    if (width <= 0 || height <= 0)
        return {};
    const int aw = area.width, ah = area.height;
    if (width < aw && height < ah)
        return {area.x + aw / 2 - width / 2, area.y + ah / 2 - height / 2, width, height};
    // Scaled to the area's height unless that makes it wider than the area.
    const std::int64_t atHeight = std::int64_t(ah) * width / height;
    const bool byHeight = atHeight <= aw;
    const int w = byHeight ? int(atHeight) : aw, h = byHeight ? ah : int(std::int64_t(aw) * height / width);
    return {area.x + (aw - w) / 2, area.y + (ah - h) / 2, w, h};
}

RectF fitPart(double width, double height, const RectF& area) {
    if (!(width > 0 && height > 0 && area.width > 0 && area.height > 0))
        return {};
    const double scale = std::min(area.width / width, area.height / height);
    const double w = width * scale, h = height * scale;
    return {area.x + area.width / 2 - w / 2, area.y + area.height / 2 - h / 2, w, h};
}

namespace {

// The orientation entry of the first image directory of a TIFF block of `size` bytes.
int tiffOrientation(const unsigned char* tiff, std::size_t size) {
    if (size < 8 || (std::memcmp(tiff, "II", 2) != 0 && std::memcmp(tiff, "MM", 2) != 0))
        return 1;
    const bool little = tiff[0] == 'I';
    const std::uint32_t directory = read32(tiff + 4, little);
    if (directory > size - 2)
        return 1;
    const unsigned entries = read16(tiff + directory, little);
    for (unsigned i = 0; i < entries; ++i) {
        const std::size_t at = directory + 2 + std::size_t(i) * 12;
        if (at + 12 > size)
            break;
        if (read16(tiff + at, little) == 0x112) {
            const unsigned value = read16(tiff + at + 8, little);
            return value >= 1 && value <= 8 ? int(value) : 1;
        }
    }
    return 1;
}

} // namespace

int jpegOrientation(std::string_view data) {
    const auto* p = reinterpret_cast<const unsigned char*>(data.data());
    const std::size_t size = data.size();
    if (size < 4 || p[0] != 0xFF || p[1] != 0xD8)
        return 1;
    // The marker segments before the picture's data; the Exif block is one of the first.
    for (std::size_t at = 2; at + 4 <= size && p[at] == 0xFF;) {
        const unsigned marker = p[at + 1];
        const std::size_t length = read16(p + at + 2, false);
        if (marker == 0xDA || marker == 0xD9 || length < 2 || at + 2 + length > size)
            break;
        if (marker == 0xE1 && length >= 8 && std::memcmp(p + at + 4, "Exif\0\0", 6) == 0)
            return tiffOrientation(p + at + 10, length - 8);
        at += 2 + length;
    }
    return 1;
}

Point uprightPoint(int orientation, int x, int y, int width, int height) {
    const int w = width, h = height;
    switch (orientation) {
    case 2:
        return {w - 1 - x, y};
    case 3:
        return {w - 1 - x, h - 1 - y};
    case 4:
        return {x, h - 1 - y};
    case 5:
        return {y, x};
    case 6:
        return {h - 1 - y, x};
    case 7:
        return {h - 1 - y, w - 1 - x};
    case 8:
        return {y, w - 1 - x};
    default:
        return {x, y};
    }
}

} // namespace ShowRules
