// SPDX-License-Identifier: MIT
#include "slide_audio.h"

#include "media_device.h"
#include "slide_paths.h"

#include <QFileInfo>

bool SlideAudio::hasPlayableAudio(const TSlideRecord& slide) {
    const QString path = audioPathOf(slide);
    return !path.trimmed().isEmpty() && QFileInfo(path).isFile();
}

void SlideAudio::StartSlideAudio(const TSlideRecord& slide, const std::function<bool()>& stillPlaying) {
    if (!hasPlayableAudio(slide))
        return;
    // The open closes the earlier sound first, also when this file then fails to open.
    const bool opened = device_.open(audioPathOf(slide));
    if (!stillPlaying() || !opened)
        return;
    AudioLength = device_.length();
    device_.play();
}

WaitEnd SlideAudio::HoldForSlideAudio(const TSlideRecord& slide, const std::function<bool()>& keepHolding) {
    // A hold needs the slide's own sound, opened and started.
    if (!slide.HoldForAudio || !hasPlayableAudio(slide) || !device_.isOpen())
        return WaitEnd::TimeUp;
    for (;;) {
        if (!keepHolding())
            return WaitEnd::Interrupted;
        if (device_.position() >= AudioLength)
            return WaitEnd::TimeUp;
        if (waitClock().pump(1, [&keepHolding] { return !keepHolding(); }) == WaitEnd::Quitting)
            return WaitEnd::Quitting;
    }
}

void SlideAudio::StopAudio() {
    device_.stop();
}
