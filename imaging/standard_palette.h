// SPDX-License-Identifier: MIT
// The program's own 256-colour palette: a 6 x 7 x 6 colour cube (seven steps of green, to which the
// eye is most sensitive) and four extra greys. It is the content of verasco.pal.
#pragma once

#include <QList>
#include <QRgb>

namespace imaging {

QList<QRgb> standardPalette();

} // namespace imaging
