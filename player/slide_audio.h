// SPDX-License-Identifier: MIT
#pragma once
// The sound of the slides while a show plays: a slide with playable audio starts it when it comes on
// screen, the sound plays on across later slides without audio, and a held slide stays until its
// sound has ended. No failure of the sound reaches the user or stops the show.

#include "wait_pumping.h"

#include <QString>

#include <functional>

class MediaDevice;
struct TSlideRecord;

class SlideAudio {
  public:
    explicit SlideAudio(MediaDevice& device) : device_(device) {}

    // A slide has playable audio when its audio file name is not blank and names an existing file.
    static bool hasPlayableAudio(const TSlideRecord& slide);

    // Opens the slide's audio, which ends any earlier sound, and plays it; nothing for a slide
    // without playable audio, so that an earlier slide's sound goes on. The open processes events:
    // the sound starts only when `stillPlaying` then says the show goes on (it may also tell that
    // the caller is gone).
    void StartSlideAudio(const TSlideRecord& slide, const std::function<bool()>& stillPlaying);
    // For a held slide with playable audio: waits, processing events, until its sound has ended or
    // `keepHolding` says no more (checked before anything else after every pause, so it may tell
    // that the caller is gone). Quitting when the application quits.
    WaitEnd HoldForSlideAudio(const TSlideRecord& slide, const std::function<bool()>& keepHolding);
    void StopAudio();

  private:
    MediaDevice& device_;
    qint64 AudioLength = 0;
};
