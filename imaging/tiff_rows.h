// SPDX-License-Identifier: MIT
// TIFF pictures read a strip or a tile at a time with libtiff and reduced as they arrive
// (box_reduction.h), for thumbnails and the other reduced pictures: however large the picture, only
// one strip or tile of it and the reduced picture are in memory. Every kind of picture that libtiff
// gives as red, green, blue and alpha is read so (every photometric kind of 1 to 16 bits a sample);
// other kinds, pictures not reduced at least by half a side, and files whose strips or tiles are too
// large to be held one at a time go to the general reader.
#pragma once

#include "picture_limits.h"
#include "progress.h"

#include <QImage>
#include <QSize>
#include <QString>

class QIODevice;

namespace imaging {

struct TiffReduced {
    bool taken = false; // false: left to the general reader, nothing said against the file
    QImage image;       // as stored (not yet upright); null when taken but not read
    QString error;
    DecodeFailure failure = DecodeFailure::None;
    QSize fullSize;      // the stored picture's size, as soon as it is known
    int orientation = 1; // as the file records it, for the caller to turn the picture upright
};

// The first picture of the TIFF file `in` (which can seek), reduced so that it still covers what the
// upright picture becomes when it is fitted into `reduceBox`. The picture policy is kept from the
// picture's directory before anything of its picture is read.
TiffReduced readTiffReduced(QIODevice& in, QSize reduceBox, const ProgressCallback& progress = {});

} // namespace imaging
