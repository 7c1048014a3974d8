// SPDX-License-Identifier: MIT
// Turns any picture into opaque 32-bit RGB, laying transparent parts on white (the colour of the
// pages and thumbnails the pictures end up on).
#pragma once

#include <QImage>

namespace imaging {

QImage flattenOnWhite(const QImage& image);

} // namespace imaging
