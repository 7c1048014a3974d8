// SPDX-License-Identifier: MIT
#pragma once
// How a slide's pan and zoom moves between its start and its end: eased in and out, so that it
// starts and ends at rest and slide changes show no jolt. The viewer, the video, the web page and the
// packages' players all follow it. Plain C++, header only.

#include <algorithm>
#include <cmath>
#include <numbers>

namespace MotionEase {

// The share of the way from the start frame to the end frame at `t` (0 at the slide's start, 1 at
// its end; clamped).
inline double at(double t) {
    const double s = std::clamp(t, 0.0, 1.0);
    return (1 - std::cos(std::numbers::pi * s)) / 2;
}

} // namespace MotionEase
