// SPDX-License-Identifier: MIT
#pragma once
// A slide's own time, to the tenth of a second. The record holds whole seconds (1 to 255); a time
// finer than that is kept beside it in the slide's data as "ms", and the record holds it rounded, so
// that a reader of the records alone plays the show nearly as long.

#include <algorithm>
#include <cstdint>

namespace ShowRules {

inline constexpr std::int64_t MinSlideMs = 100;
inline constexpr std::int64_t MaxSlideMs = 255000;
inline constexpr int MaxDelay = 255;

// The record's whole seconds for a time: the nearest, at least 1, at most MaxDelay.
inline int delayOf(std::int64_t ms) {
    return int(std::clamp<std::int64_t>((ms + 500) / 1000, 1, MaxDelay));
}

// Whether a time needs the finer value beside the record (whole seconds do not).
inline bool needsMs(std::int64_t ms) {
    return ms % 1000 != 0;
}

// A slide's time: its finer `storedMs` (below 0 for none) where it lies within the limits and the
// record's `delay` is that time rounded; otherwise the record's whole seconds, so that a time an
// older program gave the record is not overruled by a finer one it did not know of.
inline std::int64_t slideTimeMs(int delay, std::int64_t storedMs) {
    if (storedMs >= MinSlideMs && storedMs <= MaxSlideMs && delayOf(storedMs) == delay)
        return storedMs;
    return std::int64_t(delay) * 1000;
}

} // namespace ShowRules
