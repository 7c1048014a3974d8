// SPDX-License-Identifier: MIT
// The plain bitmaps whose pixel rows can be handed to the QPX encoder as they lie in the file:
// uncompressed 24-bit pictures (any of the usual information headers) and uncompressed 32-bit ones
// with the short information header, stored bottom-up or top-down. Every other bitmap goes through
// the general reader.
#pragma once

#include "qpx_encoder.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

namespace imaging {

struct BmpRowLayout {
    int width = 0;
    int height = 0;
    int bytesPerPixel = 0;  // 3 or 4, blue first
    qint64 stride = 0;      // bytes from one stored row to the next
    qint64 pixelOffset = 0; // where the first stored row starts
    bool topDown = false;   // the first stored row is the picture's top row
    qint64 fileSize() const { return pixelOffset + stride * height; }
};

// The number of leading bytes that directBmpLayout needs to see.
inline constexpr qsizetype BmpHeadBytes = 14 + 124;

// The layout of a plain bitmap from the first bytes of its file (up to BmpHeadBytes), or nothing
// when the bitmap is of another kind, too large, or its rows would end past `fileSize`.
std::optional<BmpRowLayout> directBmpLayout(QByteArrayView head, qint64 fileSize);

// The rows of a whole file whose head gave `layout`, top row first, for encodeQpxRows.
PixelRows bmpPixelRows(const BmpRowLayout& layout, const char* file);

// The QPX bytes of the plain bitmap file at `path`, read into `buffer` (which the caller keeps from
// one file to the next, so that large pictures do not map fresh memory each time); nothing when the
// file is not a plain bitmap or cannot be read or encoded.
std::optional<QByteArray> encodePlainBmpFile(const QString& path, const QpxSettings& settings,
                                             std::vector<char>& buffer);

} // namespace imaging
