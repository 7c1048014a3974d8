// SPDX-License-Identifier: MIT
#include "standard_palette.h"

namespace imaging {

QList<QRgb> standardPalette() {
    QList<QRgb> colours;
    colours.reserve(256);
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 7; ++g)
            for (int b = 0; b < 6; ++b)
                colours.append(qRgb(r * 255 / 5, (g * 255 + 3) / 6, b * 255 / 5));
    for (int grey : {34, 68, 119, 187})
        colours.append(qRgb(grey, grey, grey));
    return colours;
}

} // namespace imaging
