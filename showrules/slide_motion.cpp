// SPDX-License-Identifier: MIT
#include "slide_motion.h"

namespace ShowRules {

Frame frameAt(const Motion& motion, double t) {
    const double e = ease(t);
    const auto mix = [e](double a, double b) { return a + (b - a) * e; };
    const Frame& a = motion.from;
    const Frame& b = motion.to;
    return {mix(a.x, b.x), mix(a.y, b.y), mix(a.w, b.w), mix(a.h, b.h)};
}

std::optional<Frame> frameOf(const double (&v)[4]) {
    for (const double value : v)
        if (!(value >= 0 && value <= 1))
            return std::nullopt;
    constexpr double slack = 1e-9;
    if (v[2] <= 0 || v[3] <= 0 || v[0] + v[2] > 1 + slack || v[1] + v[3] > 1 + slack)
        return std::nullopt;
    return Frame{v[0], v[1], v[2], v[3]};
}

double decodeZoom(const std::optional<Motion>& motion) {
    if (!motion)
        return 1;
    const double smallest = std::min({motion->from.w, motion->from.h, motion->to.w, motion->to.h});
    return std::clamp(1 / smallest, 1.0, MaxZoom);
}

} // namespace ShowRules
