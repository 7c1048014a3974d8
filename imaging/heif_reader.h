// SPDX-License-Identifier: MIT
// HEIF pictures (HEIC and AVIF files) decoded with libheif: the primary picture, turned upright.
#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <QString>

#include "picture_limits.h"

namespace imaging {

// Whether the installed libheif can decode the pictures of HEIC files (HEVC) and of AVIF files (AV1).
bool heifDecodesHevc();
bool heifDecodesAv1();

// The primary picture, upright: turned and mirrored by the file's own properties or, where it has
// none, by its EXIF orientation. Null with *error (and *failure) set when it cannot be decoded.
// *fullSize gets the upright picture's size. With a non-empty `reduceBox`, the file's own thumbnail
// of the picture serves instead where one covers what the picture becomes fitted into that box.
QImage readHeif(QByteArrayView bytes, QString* error, DecodeFailure* failure = nullptr,
                QSize* fullSize = nullptr, QSize reduceBox = {});

} // namespace imaging
