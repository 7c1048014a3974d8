// SPDX-License-Identifier: MIT
// Turning a decoded picture upright by the orientation its file records (1 to 8, as EXIF numbers
// them: 1 upright, 3 upside down, 6 and 8 turned a quarter, 2, 4, 5 and 7 mirrored as well).
#pragma once

#include <QImage>
#include <QSize>

namespace imaging {

// Orientations 5 to 8 swap the picture's width and height.
inline constexpr bool swapsSides(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

inline QSize orientedSize(QSize stored, int orientation) {
    return swapsSides(orientation) ? stored.transposed() : stored;
}

// The picture as it is meant to be seen; a picture of orientation 1 (or an unknown one) unchanged.
QImage orientedImage(const QImage& stored, int orientation);

} // namespace imaging
