// SPDX-License-Identifier: MIT
// Where a picture printed at a rectangle given in twips (1440 per inch) lands on a device of a given
// logical resolution.
#pragma once

#include <QRectF>

namespace imaging {

inline constexpr int TwipsPerInch = 1440;

inline QRectF twipsToDevice(int left, int top, int width, int height, double dpiX, double dpiY) {
    return QRectF(left * dpiX / TwipsPerInch, top * dpiY / TwipsPerInch, width * dpiX / TwipsPerInch,
                  height * dpiY / TwipsPerInch);
}

} // namespace imaging
