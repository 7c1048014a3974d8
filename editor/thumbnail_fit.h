// SPDX-License-Identifier: MIT
#pragma once
// Arithmetic of fitting a picture into the thumbnail's picture area (at most 72 x 48, or 64 and
// 56 pixels wide for landscape pictures), without any image: sizes in, sizes out.

#include <QSize>
#include <optional>

// The first resize for a picture of the given size, or nothing when it already fits 72 x 48.
std::optional<QSize> firstThumbnailResize(QSize picture);
// The second resize for a picture that is still taller than 49 pixels after the first one.
std::optional<QSize> secondThumbnailResize(QSize afterFirst);
// Both steps together: the size the thumbnail picture ends up with.
QSize fittedThumbnailSize(QSize picture);
