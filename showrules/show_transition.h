// SPDX-License-Identifier: MIT
#pragma once
// How one slide gives way to the next: the kinds of change, their names as stored, the choice a
// "random" change makes, how long a change lasts, and where the old and the new picture stand at
// each moment of it. Every player of a show draws a change by these numbers: the old picture first,
// then the new one over it, moved, scaled about the frame's centre, cut to a rectangle and at an
// opacity. A change runs at an even pace: the cross-fade has always done so, and the others follow it.

#include "picture_place.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace ShowRules {

// A wipe uncovers the new picture with an edge that travels the way it is named; a push moves both
// pictures that way, the new one following the old; a zoom grows the new picture from the centre
// as it fades in.
enum class TransitionKind {
    Cut,
    Fade,
    WipeLeft,
    WipeRight,
    WipeUp,
    WipeDown,
    PushLeft,
    PushRight,
    PushUp,
    PushDown,
    Zoom,
    Random
};
inline constexpr int TransitionKinds = int(TransitionKind::Random) + 1;

inline constexpr std::int64_t MinTransitionMs = 200;
inline constexpr std::int64_t MaxTransitionMs = 5000;

struct Transition {
    TransitionKind kind = TransitionKind::Fade;
    std::int64_t ms = 1000;
    bool operator==(const Transition&) const = default;
};

// The stored name of a kind, and the kind of a stored name: an unknown name is a fade.
std::string_view transitionName(TransitionKind kind);
TransitionKind transitionKindOf(std::string_view name);

// The kind a change into slide `index` makes: its own, or for "random" one of the kinds that
// move or fade, another than `previous` (the kind of the change into the slide before), chosen by
// the slide's place in the show alone so that the show plays the same each time.
TransitionKind chosenKind(TransitionKind stored, int index, TransitionKind previous);

// How long a stored change lasts between slides of these own times: MinTransitionMs to
// MaxTransitionMs, never longer than the shorter slide; 0 for a cut.
std::int64_t transitionMs(const Transition& stored, std::int64_t ownBeforeMs, std::int64_t ownMs);

// The change into each slide of a show, "random" chosen and the length bounded, for slides of
// `ownMs` own times with `stored` changes; a slide without one has the players' own cross-fade of
// `fadeMs` (0: a cut), never longer than its own time. The change into the first slide is the one
// it makes when the show comes round to it again, after the last.
struct SlideChange {
    TransitionKind kind = TransitionKind::Cut;
    std::int64_t ms = 0;
};
std::vector<SlideChange> slideChanges(const std::vector<std::optional<Transition>>& stored,
                                      const std::vector<std::int64_t>& ownMs, std::int64_t fadeMs);

// Where the pictures stand `progress` (0 to 1, clamped) into a change, in a frame of `width` x
// `height` pixels.
struct TransitionLook {
    int oldX = 0, oldY = 0; // the old picture's offset
    int newX = 0, newY = 0; // the new picture's offset
    Rect newClip;           // the part of the frame the new picture shows in
    double newScale = 1;    // the new picture's size, about the frame's centre
    double newOpacity = 1;  // the new picture's opacity over the old
    // Whether the new picture lies where it ends, so that it may be drawn as it is, under the old.
    bool newInPlace() const { return newX == 0 && newY == 0 && newScale == 1; }
};
TransitionLook transitionAt(TransitionKind kind, double progress, int width, int height);

} // namespace ShowRules
