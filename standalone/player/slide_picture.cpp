// SPDX-License-Identifier: MIT
#include "slide_picture.h"

#include "byte_order.h"
#include "picture_place.h"

#include <cstring>
#include <utility>

SlidePicture UprightPicture(const QpxRunPicture& decoded, int orientation) {
    SlidePicture out;
    if (!decoded.pixels || decoded.width <= 0 || decoded.height <= 0)
        return out;
    const int w = decoded.width, h = decoded.height;
    const bool transposed = ShowRules::swapsSides(orientation);
    out.width = transposed ? h : w;
    out.height = transposed ? w : h;
    out.pixels.resize(std::size_t(w) * std::size_t(h));
    for (int y = 0; y < h; ++y) {
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(decoded.pixels + std::size_t(y) * decoded.stride);
        for (int x = 0; x < w; ++x) {
            const ShowRules::Point to = ShowRules::uprightPoint(orientation, x, y, w, h);
            out.pixels[std::size_t(to.y) * std::size_t(out.width) + std::size_t(to.x)] = row[x] | 0xFF000000u;
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

SlidePicture PackedPicture(std::string_view data, QpxRunDecodeFunction decode, QpxRunFreeFunction release,
                           bool& decoded) {
    QpxRunPicture run{};
    char why[200] = {};
    decoded =
        !data.empty() && decode &&
        decode(reinterpret_cast<const unsigned char*>(data.data()), data.size(), &run, why, sizeof why) == 0;
    SlidePicture picture;
    if (decoded) {
        picture = UprightPicture(run, ShowRules::jpegOrientation(data));
        if (release)
            release(&run);
    } else {
        ReadBitmap(data, picture);
    }
    return picture;
}

bool ReadBitmap(std::string_view data, SlidePicture& picture) {
    const auto* p = reinterpret_cast<const unsigned char*>(data.data());
    const std::size_t size = data.size();
    if (size < 54 || p[0] != 'B' || p[1] != 'M')
        return false;
    const std::uint32_t pixelsAt = ShowRules::read32(p + 10, true), header = ShowRules::read32(p + 14, true);
    const auto width = std::int32_t(ShowRules::read32(p + 18, true)),
               rawHeight = std::int32_t(ShowRules::read32(p + 22, true));
    const int bits = int(ShowRules::read16(p + 28, true));
    const std::uint32_t compression = ShowRules::read32(p + 30, true);
    const std::int64_t height = rawHeight < 0 ? -std::int64_t(rawHeight) : rawHeight;
    const bool bitsKnown = bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32;
    if (header < 40 || header > size - 14 || !bitsKnown || compression != 0 || width <= 0 || height <= 0 ||
        std::int64_t(width) * height > 100'000'000)
        return false;
    const std::uint32_t used = ShowRules::read32(p + 46, true);
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

const std::vector<std::uint32_t>& SlideFill::at(int slide, const SlidePicture& picture,
                                                const ShowRules::Look& look, int width, int height) {
    if (slide == slide_ && width == width_ && height == height_ && look == look_)
        return pixels_;
    slide_ = slide;
    width_ = width;
    height_ = height;
    look_ = look;
    pixels_.clear();
    if (look.fill == ShowRules::Fill::Black || width <= 0 || height <= 0)
        return pixels_;
    pixels_.assign(std::size_t(width) * std::size_t(height), 0xFF000000u | look.fillColour);
    if (look.fill == ShowRules::Fill::Blur)
        ShowRules::blurredFill(picture.pixels.empty() ? nullptr : picture.pixels.data(), picture.width,
                               picture.height, picture.width, width, height, pixels_.data());
    return pixels_;
}
