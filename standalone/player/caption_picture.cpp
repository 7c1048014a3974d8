// SPDX-License-Identifier: MIT
#include "caption_picture.h"

#include "caption_scale.h"
#include "frame_look.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace CaptionPicture {
namespace {

// A caption's band is never larger than its reference screen.
constexpr std::size_t MaxSide = 4 * CaptionBand::PackageWidth;

// The next number of the PGM header at `at`, after blanks and comments; -1 when there is none.
long Number(std::string_view bytes, std::size_t& at) {
    while (at < bytes.size() && (bytes[at] == '#' || std::isspace(static_cast<unsigned char>(bytes[at])))) {
        if (bytes[at] == '#')
            at = std::min(bytes.find('\n', at), bytes.size());
        else
            ++at;
    }
    long value = -1;
    for (; at < bytes.size() && bytes[at] >= '0' && bytes[at] <= '9'; ++at)
        value = std::min(std::max(value, 0l) * 10 + (bytes[at] - '0'), long(MaxSide) + 1);
    return value;
}

} // namespace

std::optional<Mask> Read(std::string_view bytes) {
    if (bytes.substr(0, 2) != "P5")
        return std::nullopt;
    std::size_t at = 2;
    const long width = Number(bytes, at), height = Number(bytes, at), most = Number(bytes, at);
    if (width <= 0 || height <= 0 || width > long(MaxSide) || height > long(MaxSide) || most != 255 ||
        at >= bytes.size() || !std::isspace(static_cast<unsigned char>(bytes[at])))
        return std::nullopt;
    const std::size_t size = std::size_t(width) * std::size_t(height);
    if (bytes.size() - at - 1 < size)
        return std::nullopt;
    const auto* from = reinterpret_cast<const std::uint8_t*>(bytes.data() + at + 1);
    return Mask{int(width), int(height), std::vector<std::uint8_t>(from, from + size)};
}

Mask ForScreen(const Mask& stored, int screenWidth, int screenHeight, int room) {
    if (stored.coverage.empty() || screenWidth <= 0 || screenHeight <= 0 || room <= 0)
        return {};
    const double scale = std::min({double(screenHeight) / CaptionBand::PackageHeight,
                                   double(screenWidth) / stored.width, double(room) / stored.height});
    Mask out;
    out.width = std::max(1, int(std::lround(stored.width * scale)));
    out.height = std::max(1, int(std::lround(stored.height * scale)));
    out.coverage.resize(std::size_t(out.width) * std::size_t(out.height));
    // Each pixel the mean of the stored pixels it covers.
    for (int y = 0; y < out.height; ++y) {
        const int y0 = int(1ll * y * stored.height / out.height),
                  y1 = std::max(y0 + 1, int(1ll * (y + 1) * stored.height / out.height));
        for (int x = 0; x < out.width; ++x) {
            const int x0 = int(1ll * x * stored.width / out.width),
                      x1 = std::max(x0 + 1, int(1ll * (x + 1) * stored.width / out.width));
            unsigned sum = 0;
            for (int sy = y0; sy < y1; ++sy)
                for (int sx = x0; sx < x1; ++sx)
                    sum += stored.coverage[std::size_t(sy) * std::size_t(stored.width) + std::size_t(sx)];
            out.coverage[std::size_t(y) * std::size_t(out.width) + std::size_t(x)] =
                std::uint8_t(sum / unsigned((y1 - y0) * (x1 - x0)));
        }
    }
    return out;
}

void Draw(std::uint32_t* pixels, int width, int height, const Mask& mask, int left, std::uint32_t colour) {
    const int from = std::max(0, -left), to = std::min(mask.width, width - left);
    for (int y = 0; y < std::min(height, mask.height); ++y) {
        const std::uint8_t* cover = mask.coverage.data() + std::size_t(y) * std::size_t(mask.width);
        std::uint32_t* row = pixels + std::size_t(y) * std::size_t(width);
        for (int x = from; x < to; ++x) {
            const std::uint32_t a = cover[x], c = row[left + x];
            if (!a)
                continue;
            const auto mix = [a](std::uint32_t under, std::uint32_t over) {
                return (under * (255 - a) + over * a + 127) / 255;
            };
            row[left + x] = mix(c >> 16 & 0xFF, colour >> 16 & 0xFF) << 16 |
                            mix(c >> 8 & 0xFF, colour >> 8 & 0xFF) << 8 | mix(c & 0xFF, colour & 0xFF);
        }
    }
}

void DrawBand(std::uint32_t* rows, int width, const Mask& letters, const Mask& outline, std::uint32_t colour,
              bool band) {
    constexpr std::uint32_t keep = 255 - CaptionBand::BandAlpha;
    for (std::size_t i = 0; band && i < std::size_t(width) * std::size_t(letters.height); ++i) {
        const std::uint32_t c = rows[i];
        rows[i] = ((c >> 16 & 0xFF) * keep / 255) << 16 | ((c >> 8 & 0xFF) * keep / 255) << 8 |
                  (c & 0xFF) * keep / 255;
    }
    const ShowRules::CaptionColours colours = ShowRules::captionColours(colour);
    const int left = (width - letters.width) / 2;
    Draw(rows, width, letters.height, outline, left, colours.outline);
    Draw(rows, width, letters.height, letters, left, colours.text);
}

void Caption::take(int slide, const std::string& path) {
    slide_ = slide;
    stored_ = {};
    shown_ = {};
    outline_ = {};
    width_ = height_ = room_ = 0;
    std::FILE* in = path.empty() ? nullptr : std::fopen(path.c_str(), "rb");
    if (!in)
        return;
    std::string bytes;
    char block[65536];
    for (std::size_t n; (n = std::fread(block, 1, sizeof block, in)) > 0 && bytes.size() < MaxSide * MaxSide;)
        bytes.append(block, n);
    std::fclose(in);
    if (std::optional<Mask> mask = Read(bytes))
        stored_ = std::move(*mask);
}

const Mask& Caption::at(int screenWidth, int screenHeight, int room) {
    if (screenWidth != width_ || screenHeight != height_ || room != room_) {
        shown_ = ForScreen(stored_, screenWidth, screenHeight, room);
        outline_ = shown_;
        ShowRules::outlineOf(shown_.coverage.data(), shown_.width, shown_.height,
                             ShowRules::outlineRadius(screenHeight), outline_.coverage.data());
        width_ = screenWidth;
        height_ = screenHeight;
        room_ = room;
    }
    return shown_;
}

} // namespace CaptionPicture
