// SPDX-License-Identifier: MIT
#include "thumbnail_fit.h"

#include <algorithm>

namespace {
// The quotients are taken in floating point and truncated toward zero; a side never drops below
// one pixel, so that a very thin picture still resizes to something drawable.
int truncated(double value) {
    return std::max(1, static_cast<int>(value));
}
} // namespace

std::optional<QSize> firstThumbnailResize(QSize picture) {
    const double w = picture.width();
    const double h = picture.height();
    if (w <= 72 && h <= 48)
        return std::nullopt;
    if (w > h) {
        if (h / (w / 64) > 49)
            return QSize(56, truncated(h / (w / 56)));
        return QSize(64, truncated(h / (w / 64)));
    }
    return QSize(truncated(w / (h / 48)), 48);
}

std::optional<QSize> secondThumbnailResize(QSize afterFirst) {
    if (afterFirst.height() <= 49)
        return std::nullopt;
    return QSize(truncated(afterFirst.width() / (afterFirst.height() / 48.0)), 48);
}

QSize fittedThumbnailSize(QSize picture) {
    const auto first = firstThumbnailResize(picture);
    if (!first)
        return picture;
    return secondThumbnailResize(*first).value_or(*first);
}
