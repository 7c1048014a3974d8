// SPDX-License-Identifier: MIT
// PNG pictures read a row at a time with libpng and reduced as the rows arrive, for thumbnails and
// the other reduced pictures: however large the picture, only one of its rows and the reduced picture
// are in memory, never the picture itself. Each pixel counts once, in the box of the reduced pixel
// it falls in. An interlaced (Adam7) picture is reduced the same way: every pass's pixels go straight
// to the boxes of the places they hold in the picture, so all passes count and none is kept.
#pragma once

#include "picture_limits.h"
#include "progress.h"

#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <QString>

class QIODevice;

namespace imaging {

// The number of leading bytes that pngReadsInRows needs to see.
inline constexpr qsizetype PngHeadBytes = 29;

// Whether a PNG file whose first bytes are `head` is read by readPngReduced for `reduceBox`: when its
// picture is reduced at least by half a side. An interlaced picture is read so only while its
// reduced picture is small (as a thumbnail's is), since all of that is kept until the last pass.
bool pngReadsInRows(QByteArrayView head, QSize reduceBox);

// The PNG picture read from `in` (at most `limit` bytes of it) and reduced: each of its pixels takes
// as many pixels a side as the reduced picture can spare while it still covers what the picture
// becomes when fitted into `reduceBox`. In true colour with alpha where the file has transparency. The
// picture policy is kept from the header before anything is read further. Null with *error and
// *failure set when it cannot be read; *fullSize gets the picture's size as soon as it is known.
QImage readPngReduced(QIODevice& in, qint64 limit, QSize reduceBox, QString* error, DecodeFailure* failure,
                      QSize* fullSize, const ProgressCallback& progress = {});

} // namespace imaging
