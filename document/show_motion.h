// SPDX-License-Identifier: MIT
#pragma once
// Pan and zoom: the part of a slide's picture in view at the slide's start and at its end, kept as
// "motion" in the slide's object of the show's extension block. Frames are fractions of the upright
// picture, read and written here; the show's rules (slide_motion.h) move a picture by them.

#include "slide_motion.h"

#include <QJsonObject>
#include <QRectF>
#include <QSizeF>

#include <optional>
#include <vector>

namespace ShowMotion {

using Frame = ShowRules::Frame;
using Motion = ShowRules::Motion;

// The choices of Image Properties.
enum class Kind { None, ZoomIn, ZoomOut, Pan, Custom };

// The slide's motion; none when the object holds none or one whose frames lie outside the picture
// or have no size (the value itself stays in the object as it was read).
std::optional<Motion> motion(const QJsonObject& slide);
// The slide's object with this motion (none takes the key out); its other keys stay.
QJsonObject withMotion(QJsonObject slide, const std::optional<Motion>& motion);

using ShowRules::decodeZoom;
using ShowRules::frameAt;
using ShowRules::MaxZoom;
// The frame in the picture's pixels.
QRectF sourceRect(const Frame& frame, QSizeF picture);
// Where a part of `source` size is drawn in `area`: as large as fits, centred.
QRectF fittedRect(QSizeF source, const QRectF& area);

// The motion of a choice for a picture of this size; Pan runs across the picture's longer side.
// `variant` turns the direction (odd: the other way), so that slides next to each other differ.
std::optional<Motion> preset(Kind kind, QSizeF picture, int variant = 0);
// The choice a motion is shown as: a preset it equals, otherwise Custom; None for none.
Kind kindOf(const std::optional<Motion>& motion, QSizeF picture);
// Varied gentle motions for `count` slides, in turn zoom in, pan, zoom out, pan the other way.
std::vector<Motion> gentleMotions(const std::vector<QSizeF>& pictures);

} // namespace ShowMotion
