// SPDX-License-Identifier: MIT
#pragma once
// How loud the show's music is at a moment: quieter while a slide's own sound plays, and fading out
// over the show's last moments. The viewer, the video and the web page all follow these numbers.
// Plain C++, header only.

#include <algorithm>
#include <cstdint>
#include <limits>

namespace MusicLevel {

// The music's loudness while a slide's own sound plays.
inline constexpr double Ducked = 0.25;
// How often the loudness follows the slide's sound and the fade.
inline constexpr int TickMs = 40;
// The end of the show is not in sight (a looping show, or its end not known yet).
inline constexpr double NoEnd = std::numeric_limits<double>::infinity();

// The show's own level for its music, "musicLevel", in percent.
inline constexpr int FullLevel = 100;

// The loudness, 0 to 1, `leftMs` before the show's end (0 or below: the end is reached), with a
// fade-out of `fadeMs` (0: the music stops at the end), for music set to `level` (0 to 1).
inline double at(bool underSlideSound, double leftMs, double fadeMs, double level = 1.0) {
    const double fade = fadeMs > 0 ? std::clamp(leftMs / fadeMs, 0.0, 1.0) : (leftMs > 0 ? 1.0 : 0.0);
    return (underSlideSound ? Ducked : 1.0) * fade * std::clamp(level, 0.0, 1.0);
}

} // namespace MusicLevel
