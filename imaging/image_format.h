// SPDX-License-Identifier: MIT
// Recognises an image file's format from its first bytes; the extension only decides for TGA, which
// has no signature. HEIF covers HEIC and AVIF files, told apart by libheif.
#pragma once

#include "picture_limits.h"

#include <QByteArrayView>
#include <QString>

namespace imaging {

enum class ImageFormat { Unknown, Bmp, HeaderlessDib, Jpeg, Png, Tiff, Pcx, Tga, Gif, WebP, Heif };

ImageFormat detectImageFormat(QByteArrayView head, const QString& path);

// The most memory a picture decoded by the program's own PCX and TGA readers may take, at four bytes a
// pixel. A run-length coded file of a few megabytes can describe a picture of gigabytes; it is refused
// from its header, before anything is decoded, so that a folder of them cannot exhaust the machine.
// (The picture policy's area and side limits apply as well.)
inline constexpr qint64 MaxDecodedPictureBytes = 256LL * 1024 * 1024;
inline constexpr bool fitsDecodeBudget(qint64 width, qint64 height) {
    return width * height * 4 <= MaxDecodedPictureBytes;
}

} // namespace imaging
