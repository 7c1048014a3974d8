// SPDX-License-Identifier: MIT
#pragma once
// Where the single image print puts its picture, and where every printed page carries the logo; the
// rectangles are in twips from the printable area's top-left corner.

#include "page_measures.h"

#include <QRect>
#include <QSize>

namespace print {

// The usable area of a single image print: the printable area less 2 inches each way, in twips.
QSize singleImageArea(const PageMeasures& measures);
// False when the usable area is less than an inch either way.
bool singleImageFits(const PageMeasures& measures);

// The picture as large as the usable area allows, keeping its proportions: a picture wider than high
// spans the area's width 1000 twips from the left and is centred below a 1-inch offset; any other
// spans its height 1000 twips from the top and is centred right of a 1-inch offset. When that runs
// past the area the other way, it is shrunk to fit and centred both ways. Empty when the area is.
QRect placeSingleImage(const PageMeasures& measures, QSize picture);

// The logo: half an inch wide, as high as its proportions make it, a little in from the corner.
QRect placeLogo(QSize logo);

} // namespace print
