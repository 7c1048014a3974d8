// SPDX-License-Identifier: MIT
// Loads an image file of any of the program's picture types into a 32-bit picture, recognising the
// type from the file's bytes, and turns it upright by the orientation the file records, so that every
// caller (thumbnails, viewer, preview, printing, export) gets the picture as it is meant to be seen.
#pragma once

#include "picture_limits.h"
#include "progress.h"

#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

namespace imaging {

struct LoadedImage {
    QImage image;   // Format_RGB32, or Format_ARGB32 when the file has transparency; null on failure
    QSize fullSize; // the upright picture's size, also when a JPEG was decoded reduced
    QString error;
    bool readFailed = false; // the file could not be opened or read, as opposed to decoded
    DecodeFailure failure = DecodeFailure::None; // why the picture is null
};

// The box a thumbnail's picture is decoded for: a reduced JPEG decode still covers it. It holds the
// thumbnail's picture (at most 72 x 49) on screens of up to twice the pixels, and the 128-pixel
// entry of the desktop's shared thumbnail cache.
inline constexpr QSize ThumbnailBox{128, 128};

// With a non-empty `reduceBox`, JPEG data is decoded reduced so that it still covers what the upright
// picture becomes when it is fitted into that box, and a HEIF file gives its own thumbnail where one
// covers it; other formats, and an empty box, give the full picture. Every reader keeps the picture
// policy (picture_limits.h) before it allocates the picture.
LoadedImage decodeImageBytes(QByteArrayView bytes, const QString& path, QSize reduceBox,
                             const ProgressCallback& progress = {});

// Reads the file at `path` (used exactly as given) and decodes it as above.
LoadedImage loadImageFile(const QString& path, QSize reduceBox, const ProgressCallback& progress = {});

// The small picture a camera stores in a JPEG file's EXIF data, upright, with the picture's own upright
// size; nothing when the file has none or its proportions differ from the picture's (a small picture
// with bars above and below). Reads only the file's first segments.
std::optional<LoadedImage> loadExifThumbnail(const QString& path);

// How many times picture data has been decoded in this process, by any thread. Listing a folder
// must cost no decode; the tests read this to see that it does not.
quint64 decodedImageCount();
// Of those, how many ran on the calling thread: the window thread decodes none.
quint64 decodedOnThisThreadCount();

} // namespace imaging
