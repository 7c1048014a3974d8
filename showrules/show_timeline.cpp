// SPDX-License-Identifier: MIT
#include "show_timeline.h"

#include <algorithm>

namespace ShowRules {

namespace {

bool soundPlays(const SlideTiming& slide) {
    return slide.hasAudio && slide.audioMs >= 0;
}

} // namespace

std::int64_t ownMs(std::int64_t timeMs, int speed) {
    return timeMs * (MaxSpeed - std::clamp(speed, 0, MaxSpeed)) / OwnSpeed;
}

std::int64_t slideMs(const SlideTiming& slide, int speed) {
    const std::int64_t own = ownMs(slide.timeMs, speed);
    // The hold needs the sound to have started.
    return slide.holdForAudio && soundPlays(slide) ? std::max(own, slide.audioMs) : own;
}

ShowTimeline makeTimeline(const std::vector<SlideTiming>& slides, std::int64_t fadeMs, int speed) {
    ShowTimeline timeline;
    std::int64_t at = 0;
    bool playing = false;
    SoundPlay current;
    std::vector<std::optional<Transition>> stored;
    std::vector<std::int64_t> own;
    for (const SlideTiming& slide : slides) {
        stored.push_back(slide.transition);
        own.push_back(ownMs(slide.timeMs, speed));
    }
    const std::vector<SlideChange> changes = slideChanges(stored, own, fadeMs);
    for (int i = 0; i < int(slides.size()); ++i) {
        const SlideTiming& slide = slides[std::size_t(i)];
        const std::int64_t length = slideMs(slide, speed);
        // The first slide comes on screen with no change.
        const SlideChange change = i == 0 ? SlideChange{} : changes[std::size_t(i)];
        timeline.slides.push_back({at, at + length, change.kind, change.ms, own[std::size_t(i)]});
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

double motionProgress(std::int64_t elapsedMs, std::int64_t motionMs) {
    if (motionMs <= 0)
        return 1;
    return std::clamp(double(elapsedMs) / double(motionMs), 0.0, 1.0);
}

} // namespace ShowRules
