// SPDX-License-Identifier: MIT
#include "orientation.h"

#include <QTransform>

namespace imaging {

QImage orientedImage(const QImage& stored, int orientation) {
    if (stored.isNull())
        return stored;
    // Qt turns by quarter turns exactly, pixel for pixel.
    const auto quarterTurn = [&stored](int degrees) {
        return stored.transformed(QTransform().rotate(degrees));
    };
    switch (orientation) {
    case 2:
        return stored.mirrored(true, false);
    case 3:
        return stored.mirrored(true, true);
    case 4:
        return stored.mirrored(false, true);
    case 5:
        return quarterTurn(90).mirrored(true, false);
    case 6:
        return quarterTurn(90);
    case 7:
        return quarterTurn(90).mirrored(false, true);
    case 8:
        return quarterTurn(270);
    default:
        return stored;
    }
}

} // namespace imaging
