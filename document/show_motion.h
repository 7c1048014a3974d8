// SPDX-License-Identifier: MIT
#pragma once
// Pan and zoom: the part of a slide's picture in view at the slide's start and at its end, kept as
// "motion" in the slide's object of the show's extension block. Frames are fractions of the upright
// picture. The geometry here is the one the viewer, the video and the web page all follow.

#include <QJsonObject>
#include <QRectF>
#include <QSizeF>

#include <optional>
#include <vector>

namespace ShowMotion {

// A part of the picture: its left, top, width and height as fractions of the picture's.
struct Frame {
    double x = 0, y = 0, w = 1, h = 1;
    bool operator==(const Frame&) const = default;
};

struct Motion {
    Frame from, to;
    bool operator==(const Motion&) const = default;
};

// The choices of Image Properties.
enum class Kind { None, ZoomIn, ZoomOut, Pan, Custom };

// The slide's motion; none when the object holds none or one whose frames lie outside the picture
// or have no size (the value itself stays in the object as it was read).
std::optional<Motion> motion(const QJsonObject& slide);
// The slide's object with this motion (none takes the key out); its other keys stay.
QJsonObject withMotion(QJsonObject slide, const std::optional<Motion>& motion);

// The frame in view at `t` (0 at the slide's start, 1 at its end; clamped), eased in and out.
Frame frameAt(const Motion& motion, double t);
// The frame in the picture's pixels.
QRectF sourceRect(const Frame& frame, QSizeF picture);
// Where a part of `source` size is drawn in `area`: as large as fits, centred.
QRectF fittedRect(QSizeF source, const QRectF& area);
// How much larger than the whole picture fitted into an area the picture must be decoded so that
// the motion's smallest frame still fills its own fitted size: 1 for none, at most MaxZoom.
inline constexpr double MaxZoom = 4;
double decodeZoom(const std::optional<Motion>& motion);

// The motion of a choice for a picture of this size; Pan runs across the picture's longer side.
// `variant` turns the direction (odd: the other way), so that slides next to each other differ.
std::optional<Motion> preset(Kind kind, QSizeF picture, int variant = 0);
// The choice a motion is shown as: a preset it equals, otherwise Custom; None for none.
Kind kindOf(const std::optional<Motion>& motion, QSizeF picture);
// Varied gentle motions for `count` slides, in turn zoom in, pan, zoom out, pan the other way.
std::vector<Motion> gentleMotions(const std::vector<QSizeF>& pictures);

} // namespace ShowMotion
