// SPDX-License-Identifier: MIT
#pragma once
// Pan and zoom: the part of a slide's picture in view at the slide's start and at its end, as
// fractions of the upright picture, and the part in view at any moment between, eased in and out so
// that it starts and ends at rest. Every player of a show moves a picture by these rules.

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

namespace ShowRules {

// A part of the picture: its left, top, width and height as fractions of the picture's.
struct Frame {
    double x = 0, y = 0, w = 1, h = 1;
    bool operator==(const Frame&) const = default;
};

struct Motion {
    Frame from, to;
    bool operator==(const Motion&) const = default;
};

// The share of the way from the start frame to the end frame at `t` (0 at the start, 1 at the end;
// clamped).
inline double ease(double t) {
    const double s = std::clamp(t, 0.0, 1.0);
    return (1 - std::cos(std::numbers::pi * s)) / 2;
}

// The frame in view at `t` (0 at the motion's start, 1 at its end; clamped).
Frame frameAt(const Motion& motion, double t);

// A frame from its four stored numbers: each from 0 to 1, with a size, inside the picture (a frame
// written with rounded fractions may end on the picture's edge); none otherwise.
std::optional<Frame> frameOf(const double (&values)[4]);

// How much larger than the whole picture fitted into an area the picture must be decoded so that
// the motion's smallest frame still fills its own fitted size: 1 for none, at most MaxZoom.
inline constexpr double MaxZoom = 4;
double decodeZoom(const std::optional<Motion>& motion);

} // namespace ShowRules
