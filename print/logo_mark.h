// SPDX-License-Identifier: MIT
#pragma once
// The program's own mark, printed in the corner of every page: a mounted slide whose picture, a sun
// over two hills, leaves a V-shaped valley.

#include <QImage>

namespace print {

// The mark as a picture of 480 x 360 pixels.
QImage drawLogoMark();

} // namespace print
