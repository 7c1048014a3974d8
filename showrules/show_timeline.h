// SPDX-License-Identifier: MIT
#pragma once
// The show as the viewer plays it at the middle speed, laid out in time: when each slide comes on
// screen and for how long, and which slide's sound plays when. A shared video and a shared web page
// both follow it. Plain C++: times in, times out.

#include <cstdint>
#include <vector>

namespace sharing {

// What the timing of one slide depends on.
struct SlideTiming {
    int delaySeconds = 5;
    bool holdForAudio = false;
    // The slide names playable audio (a file that exists): its sound starts with the slide and ends
    // any earlier one. Without, an earlier slide's sound plays on.
    bool hasAudio = false;
    // The sound's length; below 0 when it cannot be played (it still ends the earlier sound, and the
    // slide then keeps its own time only).
    std::int64_t audioMs = -1;
};

struct SlideSpan {
    std::int64_t startMs = 0;
    std::int64_t endMs = 0;
    // The cross-fade from the slide before, at the start of this slide's own time.
    std::int64_t fadeMs = 0;
};

// One slide's sound, played from its beginning over [startMs, endMs).
struct SoundPlay {
    int slide = 0;
    std::int64_t startMs = 0;
    std::int64_t endMs = 0;
};

struct ShowTimeline {
    std::vector<SlideSpan> slides;
    std::vector<SoundPlay> sounds;
    std::int64_t totalMs = 0;
};

// The show played once from its first slide. A held slide lasts until its sound has ended, if that
// is later than its own time. `fadeMs` (0: a plain cut) is taken from the start of every slide but
// the first, and is never longer than that slide.
ShowTimeline makeTimeline(const std::vector<SlideTiming>& slides, std::int64_t fadeMs = 0);

// The frame a moment falls on in a video of `fps` frames a second: the nearest frame boundary, so
// that every slide and the whole show are within half a frame of their times.
inline std::int64_t frameAt(std::int64_t ms, int fps) {
    return (ms * fps + 500) / 1000;
}

} // namespace sharing
