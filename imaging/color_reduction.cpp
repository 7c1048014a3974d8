// SPDX-License-Identifier: MIT
#include "color_reduction.h"

#include "flatten.h"

#include <algorithm>
#include <array>
#include <climits>
#include <memory>
#include <vector>

namespace imaging {

namespace {

// Nearest palette entry by squared RGB distance, memoised on 5 bits per channel: plenty for choosing
// among 256 colours, and it keeps large pictures fast.
class NearestColour {
  public:
    explicit NearestColour(const QList<QRgb>& palette) : palette_(palette) { cache_->fill(-1); }

    int operator()(int r, int g, int b) {
        const int key = (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
        int16_t& hit = (*cache_)[size_t(key)];
        if (hit < 0)
            hit = int16_t(search((r & ~7) | 4, (g & ~7) | 4, (b & ~7) | 4));
        return hit;
    }

  private:
    int search(int r, int g, int b) const {
        int best = 0;
        int bestDistance = INT_MAX;
        for (int i = 0; i < palette_.size(); ++i) {
            const int dr = qRed(palette_[i]) - r, dg = qGreen(palette_[i]) - g, db = qBlue(palette_[i]) - b;
            const int d = dr * dr + dg * dg + db * db;
            if (d < bestDistance) {
                bestDistance = d;
                best = i;
            }
        }
        return best;
    }

    const QList<QRgb>& palette_;
    std::unique_ptr<std::array<int16_t, 32768>> cache_ = std::make_unique<std::array<int16_t, 32768>>();
};

} // namespace

QImage reduceToPalette(const QImage& image, const QList<QRgb>& palette, Dither dither) {
    if (image.isNull() || palette.isEmpty() || palette.size() > 256)
        return {};
    const QImage source = flattenOnWhite(image);
    const int w = source.width(), h = source.height();
    QImage out(w, h, QImage::Format_Indexed8);
    if (out.isNull())
        return out;
    out.setColorTable(palette);
    NearestColour nearest(palette);

    // Error rows for the current and the next line, 3 channels, with one guard pixel on each side.
    std::vector<int> errNow(size_t(w + 2) * 3, 0), errNext(size_t(w + 2) * 3, 0);
    for (int y = 0; y < h; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        uchar* line = out.scanLine(y);
        std::fill(errNext.begin(), errNext.end(), 0);
        for (int x = 0; x < w; ++x) {
            int* e = &errNow[size_t(x + 1) * 3];
            const int r = std::clamp(qRed(in[x]) + e[0] / 16, 0, 255);
            const int g = std::clamp(qGreen(in[x]) + e[1] / 16, 0, 255);
            const int b = std::clamp(qBlue(in[x]) + e[2] / 16, 0, 255);
            const int index = nearest(r, g, b);
            line[x] = uchar(index);
            if (dither == Dither::None)
                continue;
            const int diff[3] = {r - qRed(palette[index]), g - qGreen(palette[index]),
                                 b - qBlue(palette[index])};
            for (int c = 0; c < 3; ++c) {
                errNow[size_t(x + 2) * 3 + size_t(c)] += diff[c] * 7;
                errNext[size_t(x) * 3 + size_t(c)] += diff[c] * 3;
                errNext[size_t(x + 1) * 3 + size_t(c)] += diff[c] * 5;
                errNext[size_t(x + 2) * 3 + size_t(c)] += diff[c] * 1;
            }
        }
        std::swap(errNow, errNext);
    }
    return out;
}

} // namespace imaging
