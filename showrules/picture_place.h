// SPDX-License-Identifier: MIT
#pragma once
// Where a slide's picture goes in the area it is shown in, as every player of a show places it: a
// picture smaller than the area both ways at its own size, any other scaled to the area keeping its
// proportions (whole pixels, rounded down), centred; a moving picture's part in view as large as
// fits, centred. And how a photograph's orientation tag turns its pixels upright.

#include <cstddef>
#include <string_view>

namespace ShowRules {

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

struct RectF {
    double x = 0, y = 0, width = 0, height = 0;
};

// The picture of `width` x `height` placed in `area`; empty for a picture without pixels.
Rect placePicture(int width, int height, const Rect& area);

// A part of `width` x `height` (a motion's frame in the picture's pixels) as large as fits `area`,
// centred; empty when either has no size.
RectF fitPart(double width, double height, const RectF& area);

// The orientation (1 to 8, as TIFF numbers them) a JPEG's Exif block records; 1 where it records
// none or the data is no JPEG.
int jpegOrientation(std::string_view data);

// Where the stored pixel (x, y) of a `width` x `height` picture lands once it is turned upright by
// `orientation`; orientations 5 to 8 swap the picture's width and height.
struct Point {
    int x = 0, y = 0;
};
Point uprightPoint(int orientation, int x, int y, int width, int height);
inline bool swapsSides(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

} // namespace ShowRules
