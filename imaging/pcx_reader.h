// SPDX-License-Identifier: MIT
// Reader for PCX pictures: 1-, 2- and 4-bit palette pictures (packed or in bit planes), 8-bit palette
// and grey pictures, and 24-bit (three planes) or 32-bit (four planes) colour, raw or run-length coded.
#pragma once

#include "picture_limits.h"

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace imaging {

// Returns a Format_RGB32 (or Format_ARGB32 for four planes) image, or a null image with *error (in the
// program's language) and *failure set.
QImage readPcx(QByteArrayView file, QString* error = nullptr, DecodeFailure* failure = nullptr);

} // namespace imaging
