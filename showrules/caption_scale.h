// SPDX-License-Identifier: MIT
#pragma once
// The numbers of a caption on its band, as the viewer, the video and the web page draw it: a slide's
// font size is meant for a screen ReferenceHeight pixels high and scales with the screen's height;
// a caption too large for its picture is drawn smaller, ShrinkPercent of its size at each try, down
// to MinPixelSize; its margin is half its size, at least MinMargin; the band is black at BandAlpha.
// Plain C++, header only.

namespace CaptionBand {

inline constexpr int ReferenceHeight = 600;
inline constexpr int BandAlpha = 160;
inline constexpr int MinPixelSize = 6;
inline constexpr int ShrinkPercent = 90;
inline constexpr int MinMargin = 2;
// Points are taken at this many dots per inch, as on the screen the sizes were chosen for.
inline constexpr int PointDpi = 96;
// A package carries each caption drawn once for a screen PackageWidth x PackageHeight (4:3, the
// narrowest common screen, so that on the usual screens the players only scale it by their height).
inline constexpr int PackageWidth = 1440;
inline constexpr int PackageHeight = 1080;
// A title slide's caption stands alone in the middle of the frame, without a band: TitlePercent of
// the caption's size, its lines wrapped within TitleWidthPercent of the frame's width and drawn smaller
// until they fit within that share of its height too.
inline constexpr int TitlePercent = 250;
inline constexpr int TitleWidthPercent = 80;

} // namespace CaptionBand
