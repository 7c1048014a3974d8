// SPDX-License-Identifier: MIT
// WebP pictures decoded reduced by libwebp, which scales the rows as it decodes them, for thumbnails and
// the other reduced pictures: a lossy picture then costs the reduced picture and a few rows of its
// own, never the picture (a lossless one still costs libwebp the picture once, at four bytes a pixel).
#pragma once

#include "picture_limits.h"

#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <QString>

namespace imaging {

// Whether the WebP file `bytes` is decoded by readWebpReduced for `reduceBox` (the box turned as the
// stored picture is): a still picture within the policy, reduced at least by half a side.
bool webpReadsReduced(QByteArrayView bytes, QSize reduceBox);

// The WebP picture as stored, reduced as BoxReduction reduces (box_reduction.h) to cover what it becomes
// when fitted into `reduceBox`. In true colour with alpha where the file has alpha. Null with *error and
// *failure set when it cannot be decoded; *fullSize gets the picture's size.
QImage readWebpReduced(QByteArrayView bytes, QSize reduceBox, QString* error, DecodeFailure* failure,
                       QSize* fullSize);

} // namespace imaging
