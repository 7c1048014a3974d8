// SPDX-License-Identifier: MIT
#include "show_timeline.h"

#include <algorithm>

namespace sharing {

namespace {

bool soundPlays(const SlideTiming& slide) {
    return slide.hasAudio && slide.audioMs >= 0;
}

std::int64_t slideLength(const SlideTiming& slide) {
    const std::int64_t own = std::int64_t(slide.delaySeconds) * 1000;
    // The hold needs the sound to have started.
    return slide.holdForAudio && soundPlays(slide) ? std::max(own, slide.audioMs) : own;
}

} // namespace

ShowTimeline makeTimeline(const std::vector<SlideTiming>& slides, std::int64_t fadeMs) {
    ShowTimeline timeline;
    std::int64_t at = 0;
    bool playing = false;
    SoundPlay current;
    for (int i = 0; i < int(slides.size()); ++i) {
        const SlideTiming& slide = slides[std::size_t(i)];
        const std::int64_t length = slideLength(slide);
        SlideSpan span{at, at + length, i == 0 ? 0 : std::clamp<std::int64_t>(fadeMs, 0, length)};
        timeline.slides.push_back(span);
        if (slide.hasAudio) {
            if (playing)
                timeline.sounds.push_back({current.slide, current.startMs, std::min(current.endMs, at)});
            playing = soundPlays(slide);
            current = {i, at, at + std::max<std::int64_t>(slide.audioMs, 0)};
        }
        at += length;
    }
    if (playing)
        timeline.sounds.push_back({current.slide, current.startMs, std::min(current.endMs, at)});
    // A sound that was cut before it was heard is no sound at all.
    std::erase_if(timeline.sounds, [](const SoundPlay& play) { return play.endMs <= play.startMs; });
    timeline.totalMs = at;
    return timeline;
}

} // namespace sharing
