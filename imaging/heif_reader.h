// SPDX-License-Identifier: MIT
// HEIF pictures (HEIC and AVIF files) decoded with libheif: the primary picture, turned upright.
#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace imaging {

// Whether the installed libheif can decode the pictures of HEIC files (HEVC) and of AVIF files (AV1).
bool heifDecodesHevc();
bool heifDecodesAv1();

// The primary picture, upright: turned and mirrored by the file's own properties or, where it has
// none, by its EXIF orientation. Null with *error set when it cannot be decoded.
QImage readHeif(QByteArrayView bytes, QString* error);

} // namespace imaging
