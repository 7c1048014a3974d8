// Loads an image file of any of the program's picture types into a 32-bit picture, recognising the
// type from the file's bytes, and turns it upright by the orientation the file records, so that every
// caller (thumbnails, viewer, preview, printing, export) gets the picture as it is meant to be seen.
#pragma once

#include "progress.h"

#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <QString>

namespace imaging {

struct LoadedImage {
    QImage image;   // Format_RGB32, or Format_ARGB32 when the file has transparency; null on failure
    QSize fullSize; // the upright picture's size, also when a JPEG was decoded reduced
    QString error;
    bool readFailed = false; // the file could not be opened or read, as opposed to decoded
};

// The box a thumbnail is fitted into; a reduced JPEG decode still covers it.
inline constexpr QSize ThumbnailBox{72, 49};

// With a non-empty `reduceBox`, JPEG data is decoded reduced so that it still covers what the upright
// picture becomes when it is fitted into that box; other formats, and an empty box, give the full
// picture.
LoadedImage decodeImageBytes(QByteArrayView bytes, const QString& path, QSize reduceBox,
                             const ProgressCallback& progress = {});

// Reads the file at `path` (used exactly as given) and decodes it as above.
LoadedImage loadImageFile(const QString& path, QSize reduceBox, const ProgressCallback& progress = {});

// How many times picture data has been decoded in this process, by any thread. Listing a folder
// must cost no decode; the tests read this to see that it does not.
quint64 decodedImageCount();

} // namespace imaging
