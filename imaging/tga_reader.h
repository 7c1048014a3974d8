// SPDX-License-Identifier: MIT
// Reader for TGA pictures: colour-mapped, true-colour (15, 16, 24, 32 bits) and grey, raw or run-length
// coded, with any of the four origins. (Qt's own TGA reader lacks run-length coding and older files.)
#pragma once

#include "picture_limits.h"

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace imaging {

// Returns a Format_RGB32 or Format_ARGB32 image, or a null image with *error (in the program's language) and
// *failure set.
QImage readTga(QByteArrayView file, QString* error = nullptr, DecodeFailure* failure = nullptr);

} // namespace imaging
