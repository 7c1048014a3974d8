// SPDX-License-Identifier: MIT
#include "box_reduction.h"

#include <algorithm>

namespace imaging {

namespace {

constexpr int Channels = 4;

int weighted(quint64 sum, quint64 alpha) {
    return int((sum + alpha / 2) / alpha);
}

} // namespace

int BoxReduction::factorFor(QSize picture, QSize box) {
    if (picture.isEmpty() || box.isEmpty())
        return 1;
    return std::max({1, picture.width() / box.width(), picture.height() / box.height()});
}

QSize BoxReduction::reducedSize(QSize picture, int factor) {
    return {(picture.width() + factor - 1) / factor, (picture.height() + factor - 1) / factor};
}

bool BoxReduction::start(QSize full, int factor, bool alpha, bool alphaApplied, int rows) {
    picture = full;
    k = factor;
    premultiplied = alphaApplied;
    nextRow = 0;
    image = QImage(reducedSize(full, factor), alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull())
        return false;
    bandRows = std::clamp(rows, 1, image.height());
    sums.assign(size_t(image.width()) * Channels * size_t(bandRows), 0);
    return true;
}

quint64* BoxReduction::rowSums(int reducedY) {
    return sums.data() + qsizetype(reducedY % bandRows) * image.width() * Channels;
}

void BoxReduction::add(int y, const uchar* p, int count, int first, int step) {
    quint64* const line = rowSums(y / k);
    quint64* sum = line;
    int boxEnd = 0;
    for (int i = 0, x = first; i < count; ++i, x += step, p += Channels) {
        if (x >= boxEnd) {
            sum = line + qsizetype(x / k) * Channels;
            boxEnd = (x / k + 1) * k;
        }
        const quint64 alpha = p[3], weight = premultiplied ? 255 : alpha;
        sum[0] += p[0] * weight;
        sum[1] += p[1] * weight;
        sum[2] += p[2] * weight;
        sum[3] += alpha;
    }
}

void BoxReduction::finishRowsAbove(int y) {
    for (; nextRow < image.height() && std::min((nextRow + 1) * k, picture.height()) <= y; ++nextRow) {
        quint64* s = rowSums(nextRow);
        const quint64 tall = quint64(std::min(k, picture.height() - nextRow * k));
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(nextRow));
        for (int x = 0; x < image.width(); ++x, s += Channels) {
            const quint64 count = tall * quint64(std::min(k, picture.width() - x * k));
            const quint64 alpha = s[3];
            out[x] = alpha == 0 ? 0
                                : qRgba(weighted(s[0], alpha), weighted(s[1], alpha), weighted(s[2], alpha),
                                        int((alpha + count / 2) / count));
            std::fill(s, s + Channels, 0);
        }
    }
}

} // namespace imaging
