// SPDX-License-Identifier: MIT
// JPEG decoding with libjpeg-turbo, for .jpg, .jif, .qpx and .kqp files, optionally reduced with the
// codec's DCT scaling so that a thumbnail or a small printed picture never needs the full-size picture.
#pragma once

#include "picture_limits.h"
#include "progress.h"

#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <QString>

namespace imaging {

struct JpegDecoded {
    QImage image;   // Format_RGB32; null on failure
    QSize fullSize; // the picture's size as stored, also after a reduced decode
    QString error;
    DecodeFailure failure = DecodeFailure::None;
};

// The smallest libjpeg scale (n/8, n = 1..8) whose result still covers what the picture becomes when
// it is shrunk to fit `box` keeping its proportions; 8 when the picture already fits the box.
int reducedScaleNumerator(QSize picture, QSize box);

// Decodes `data`. With a valid `reduceBox` the picture is decoded reduced (see above) with the fast
// integer transform; otherwise at full size with the accurate one.
JpegDecoded decodeJpeg(QByteArrayView data, QSize reduceBox = {}, const ProgressCallback& progress = {});

} // namespace imaging
