// SPDX-License-Identifier: MIT
// Writes a picture as QPX: a baseline JPEG/JFIF stream whose quantisation tables are the standard
// luminance and chrominance tables scaled by the two save factors (percent = factor x 100 / 60, so
// factor 30 is the usual quality 75 and factor 0 gives tables of ones).
#pragma once

#include "progress.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace imaging {

enum class ChromaSubsampling { S444 = 0, S422 = 1, S420 = 2 };

struct QpxSettings {
    int luminanceFactor = 30;   // 0..255
    int chrominanceFactor = 30; // 0..255
    ChromaSubsampling subsampling = ChromaSubsampling::S420;
};

// The IJG scaling percentage for a save factor.
inline int qpxScalePercent(int factor) {
    return factor * 100 / 60;
}

// Encodes `image`; transparent parts are laid on white. Returns the file bytes, or empty with *error.
QByteArray encodeQpx(const QImage& image, const QpxSettings& settings, const ProgressCallback& progress = {},
                     QString* error = nullptr);

// Opaque pixels in memory, blue first: three bytes a pixel, or four with one unused.
enum class PixelLayout { Bgr24, Bgrx32 };

struct PixelRows {
    int width = 0;
    int height = 0;
    PixelLayout layout = PixelLayout::Bgrx32;
    const uchar* top = nullptr; // the picture's top row
    qsizetype stride = 0;       // bytes from a row to the one below it; negative for bottom-up storage
};

// Encodes rows that are already opaque, as encodeQpx encodes the same pixels in a 32-bit picture.
QByteArray encodeQpxRows(const PixelRows& rows, const QpxSettings& settings,
                         const ProgressCallback& progress = {}, QString* error = nullptr);

} // namespace imaging
