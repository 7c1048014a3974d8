// SPDX-License-Identifier: MIT
#include "frame_look.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace ShowRules {
namespace {

constexpr std::array FillNames{"black", "blur", "colour"};
constexpr std::array PlaceNames{"bottom", "top"};

template <typename Kind, std::size_t N>
std::optional<Kind> named(const std::array<const char*, N>& names, std::string_view word) {
    for (std::size_t i = 0; i < N; ++i)
        if (word == names[i])
            return Kind(i);
    return std::nullopt;
}

// A picture's three colours, one int a pixel each, row after row.
struct Planes {
    int width = 0, height = 0;
    std::vector<int> c[3];
    int& at(int k, int x, int y) { return c[k][std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
};

// The part of `pixels` that covers a frame `fw` x `fh` (centred), reduced to `planes`' size: each
// pixel the mean of the picture's pixels it covers.
void coverReduced(const std::uint32_t* pixels, int width, int height, int stride, int fw, int fh,
                  Planes& planes) {
    const double scale = std::max(double(fw) / width, double(fh) / height);
    const double cw = fw / scale, ch = fh / scale, cx = (width - cw) / 2, cy = (height - ch) / 2;
    const auto span = [](double from, double size, int cells, int i, int most) {
        const int a = std::clamp(int(from + size * i / cells), 0, most - 1);
        return std::pair{a, std::clamp(int(from + size * (i + 1) / cells), a + 1, most)};
    };
    for (int j = 0; j < planes.height; ++j) {
        const auto [y0, y1] = span(cy, ch, planes.height, j, height);
        for (int i = 0; i < planes.width; ++i) {
            const auto [x0, x1] = span(cx, cw, planes.width, i, width);
            long sum[3] = {0, 0, 0};
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x) {
                    const std::uint32_t p = pixels[std::size_t(y) * std::size_t(stride) + std::size_t(x)];
                    sum[0] += p >> 16 & 0xFF;
                    sum[1] += p >> 8 & 0xFF;
                    sum[2] += p & 0xFF;
                }
            const long n = long(y1 - y0) * (x1 - x0);
            for (int k = 0; k < 3; ++k)
                planes.at(k, i, j) = int((sum[k] + n / 2) / n);
        }
    }
}

// One box blur across (`dx` 1) or down (`dy` 1), the edge pixels repeated beyond the edge.
void boxBlur(Planes& planes, int dx, int dy) {
    const int n = 2 * BlurRadius + 1;
    for (int k = 0; k < 3; ++k) {
        const std::vector<int> from = planes.c[k];
        for (int y = 0; y < planes.height; ++y)
            for (int x = 0; x < planes.width; ++x) {
                int sum = 0;
                for (int d = -BlurRadius; d <= BlurRadius; ++d) {
                    const int sx = std::clamp(x + d * dx, 0, planes.width - 1);
                    const int sy = std::clamp(y + d * dy, 0, planes.height - 1);
                    sum += from[std::size_t(sy) * std::size_t(planes.width) + std::size_t(sx)];
                }
                planes.at(k, x, y) = (sum + n / 2) / n;
            }
    }
}

// Where each of `to` pixels lies between two of `from` pixels: the first, and the second's weight
// out of 256.
struct Between {
    int a = 0, b = 0, w = 0;
};
std::vector<Between> between(int from, int to) {
    std::vector<Between> out(std::size_t(std::max(to, 0)));
    for (int i = 0; i < to; ++i) {
        const double at = std::clamp((i + 0.5) * from / to - 0.5, 0.0, double(from - 1));
        const int a = int(at);
        out[std::size_t(i)] = {a, std::min(a + 1, from - 1), int(std::lround((at - a) * 256))};
    }
    return out;
}

} // namespace

std::optional<Fill> fillNamed(std::string_view word) {
    return named<Fill>(FillNames, word);
}

const char* fillName(Fill fill) {
    return FillNames[std::size_t(fill)];
}

std::optional<CaptionPlace> captionPlaceNamed(std::string_view word) {
    return named<CaptionPlace>(PlaceNames, word);
}

const char* captionPlaceName(CaptionPlace place) {
    return PlaceNames[std::size_t(place)];
}

std::optional<std::uint32_t> colourNamed(std::string_view word) {
    if (word.size() != 7 || word[0] != '#')
        return std::nullopt;
    std::uint32_t value = 0;
    for (const char c : word.substr(1)) {
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0)
            return std::nullopt;
        value = value << 4 | std::uint32_t(digit);
    }
    return value;
}

Look lookOf(const LookWords& show, const LookWords& slide) {
    Look look;
    const LookWords* level = fillNamed(slide.fill) ? &slide : fillNamed(show.fill) ? &show : nullptr;
    if (level) {
        look.fill = *fillNamed(level->fill);
        look.fillColour = colourNamed(level->fillColour).value_or(0);
    }
    look.captionPlace = captionPlaceNamed(slide.captionPlace)
                            .value_or(captionPlaceNamed(show.captionPlace).value_or(CaptionPlace::Bottom));
    return look;
}

CaptionColours captionColours(std::uint32_t colour) {
    colour &= 0xFFFFFF;
    if (colour == 0)
        return {0xFFFFFF, 0};
    const std::uint32_t luma =
        (299 * (colour >> 16 & 0xFF) + 587 * (colour >> 8 & 0xFF) + 114 * (colour & 0xFF)) / 1000;
    return {colour, luma >= 128 ? 0u : 0xFFFFFFu};
}

int outlineRadius(int screenHeight) {
    return std::max(1, (screenHeight + 300) / 600);
}

void outlineOf(const std::uint8_t* letters, int width, int height, int radius, std::uint8_t* out) {
    std::vector<std::pair<int, int>> disc;
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
            if (dx * dx + dy * dy <= radius * radius + radius)
                disc.emplace_back(dx, dy);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t most = 0;
            for (const auto& [dx, dy] : disc) {
                const int sx = x + dx, sy = y + dy;
                if (sx >= 0 && sy >= 0 && sx < width && sy < height)
                    most = std::max(most, letters[std::size_t(sy) * std::size_t(width) + std::size_t(sx)]);
            }
            out[std::size_t(y) * std::size_t(width) + std::size_t(x)] = most;
        }
}

void blurredFill(const std::uint32_t* pixels, int width, int height, int stride, int frameWidth,
                 int frameHeight, std::uint32_t* out) {
    if (frameWidth <= 0 || frameHeight <= 0)
        return;
    const std::size_t size = std::size_t(frameWidth) * std::size_t(frameHeight);
    if (!pixels || width <= 0 || height <= 0) {
        std::fill(out, out + size, 0xFF000000u);
        return;
    }
    Planes small;
    small.height = std::min(BlurHeight, frameHeight);
    small.width =
        std::clamp(int(std::lround(double(frameWidth) * small.height / frameHeight)), 1, frameWidth);
    for (auto& plane : small.c)
        plane.resize(std::size_t(small.width) * std::size_t(small.height));
    coverReduced(pixels, width, height, stride, frameWidth, frameHeight, small);
    for (int pass = 0; pass < BlurPasses; ++pass) {
        boxBlur(small, 1, 0);
        boxBlur(small, 0, 1);
    }
    for (auto& plane : small.c)
        for (int& v : plane)
            v = v * BlurBrightnessPercent / 100;
    const std::vector<Between> across = between(small.width, frameWidth),
                               down = between(small.height, frameHeight);
    // Each row of the frame from the two rows of the small copy around it, then across.
    std::vector<int> row(std::size_t(small.width) * 3);
    for (int y = 0; y < frameHeight; ++y) {
        const Between& v = down[std::size_t(y)];
        for (int k = 0; k < 3; ++k)
            for (int x = 0; x < small.width; ++x)
                row[std::size_t(x) * 3 + std::size_t(k)] =
                    small.at(k, x, v.a) * (256 - v.w) + small.at(k, x, v.b) * v.w;
        std::uint32_t* line = out + std::size_t(y) * std::size_t(frameWidth);
        for (int x = 0; x < frameWidth; ++x) {
            const Between& u = across[std::size_t(x)];
            const int* a = row.data() + std::size_t(u.a) * 3;
            const int* b = row.data() + std::size_t(u.b) * 3;
            std::uint32_t pixel = 0xFF000000u;
            for (int k = 0; k < 3; ++k)
                pixel |=
                    std::uint32_t(std::clamp((a[k] * (256 - u.w) + b[k] * u.w + (1 << 15)) >> 16, 0, 255))
                    << (16 - 8 * k);
            line[x] = pixel;
        }
    }
}

} // namespace ShowRules
