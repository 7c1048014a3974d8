// SPDX-License-Identifier: MIT
#pragma once
// The show laid out in time, as every player of it plays it: when each slide comes on screen and for
// how long (its own time at the speed set, held for its sound where it asks), which change leads
// into it and how long that lasts, how long its motion runs, and which slide's sound plays when. The viewer,
// the video, the web page and the packages' players all take their times from here.

#include "show_transition.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace ShowRules {

// The speed at which each slide keeps its own time; 0 doubles it, MaxSpeed makes it none.
inline constexpr int OwnSpeed = 10;
inline constexpr int MaxSpeed = 20;

// A slide's own time at `speed` (0 to MaxSpeed) in milliseconds, for its time `timeMs` at OwnSpeed.
std::int64_t ownMs(std::int64_t timeMs, int speed = OwnSpeed);

// What the timing of one slide depends on.
struct SlideTiming {
    std::int64_t timeMs = 5000; // the slide's own time (slide_time.h)
    bool holdForAudio = false;
    // The slide names playable audio (a file that exists): its sound starts with the slide and ends
    // any earlier one. Without, an earlier slide's sound plays on.
    bool hasAudio = false;
    // The sound's length; below 0 when it cannot be played (it still ends the earlier sound, and the
    // slide then keeps its own time only).
    std::int64_t audioMs = -1;
    // The change into the slide as stored, its own or the show's; none plays the players' own
    // cross-fade.
    std::optional<Transition> transition;
};

// How long a slide stays on screen: its own time, or where it holds for a playable sound, at least
// the sound's length.
std::int64_t slideMs(const SlideTiming& slide, int speed = OwnSpeed);

struct SlideSpan {
    std::int64_t startMs = 0;
    std::int64_t endMs = 0;
    // The change from the slide before, at the start of this slide's own time: its kind ("random"
    // chosen) and its length (0 for a cut).
    TransitionKind transition = TransitionKind::Cut;
    std::int64_t transitionMs = 0;
    // The slide's own time, over which its motion runs; a slide held longer for its sound keeps its
    // motion's last frame for the rest.
    std::int64_t motionMs = 0;
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

// The show played once from its first slide at `speed`. The change into every slide but the first
// is taken from the start of its own time: the stored one by its rules, otherwise a cross-fade of
// `fadeMs` (0: a plain cut) never longer than that slide's own time.
ShowTimeline makeTimeline(const std::vector<SlideTiming>& slides, std::int64_t fadeMs = 0,
                          int speed = OwnSpeed);

// How far a slide's motion has gone (0 to 1) `elapsedMs` after the slide came on screen.
double motionProgress(std::int64_t elapsedMs, std::int64_t motionMs);

// The frame a moment falls on in a video of `fps` frames a second: the nearest frame boundary, so
// that every slide and the whole show are within half a frame of their times.
inline std::int64_t frameAt(std::int64_t ms, int fps) {
    return (ms * fps + 500) / 1000;
}

} // namespace ShowRules
