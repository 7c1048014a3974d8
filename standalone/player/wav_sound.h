// SPDX-License-Identifier: MIT
// The slides' WAV sounds on Linux, played on a thread of their own through PulseAudio's simple
// interface, or ALSA where that is missing or no sound server answers. Both libraries are loaded at
// run time, so that a player runs where neither is installed: the show is then silent. A show with
// music plays its whole sound as one stream of the mixer's instead (MixedSound).
#pragma once

#include "sound_mixer.h"

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

class WavSound {
  public:
    WavSound() = default;
    ~WavSound() { stop(); }
    WavSound(const WavSound&) = delete;
    WavSound& operator=(const WavSound&) = delete;

    // Stops the sound playing and starts the PCM WAV file at `path` (8, 16, 24 or 32 bits).
    void play(const std::string& path);
    void stop();

  private:
    std::thread thread_;
    std::atomic<bool> stopping_{false};
};

// A show's mixed sound (sound_mixer.h) played on a thread of its own through PulseAudio or ALSA, as
// one stream for the whole show, until the object goes.
class MixedSound {
  public:
    MixedSound(std::vector<std::string> music, int fadeMs, double level = 1.0);
    ~MixedSound();
    MixedSound(const MixedSound&) = delete;
    MixedSound& operator=(const MixedSound&) = delete;

    // The mixer's playSlide() with the WAV file at `path`; nothing for a file that is no PCM WAV.
    void playSlide(const std::string& path);
    void setEnd(std::optional<SoundMixer::Clock::time_point> end);
    // The mixer's moveMusicTo().
    void moveMusicTo(std::int64_t ms);

  private:
    SoundMixer mixer_;
    std::mutex mutex_; // the mixer is shared with the sound's thread
    std::thread thread_;
    std::atomic<bool> stopping_{false};
};
