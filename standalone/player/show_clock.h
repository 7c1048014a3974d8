// SPDX-License-Identifier: MIT
// The course of a package's show, without any window: which slide is on screen, how long it stays
// at the speed set, what the keys and the end of a slide's time lead to, and when the show is over.
// Plain C++, so that any player of a package can share it.
#pragma once

#include <cstdint>
#include <string>

class ShowClock {
  public:
    // `count` slides (at least one), starting again after the last one when `loop`, at `speed` 0
    // to 20 (10 shows each slide for its own time, 20 for no time at all).
    ShowClock(int count, bool loop, int speed) : count_(count), loop_(loop), speed_(speed) {}

    int current() const { return current_; }
    bool over() const { return over_; }
    bool paused() const { return paused_; }

    // Milliseconds a slide of `delaySeconds` stays on screen: its time at the speed set, and where it
    // holds for its sound, at least the sound's `soundMs`.
    int slideTime(int delaySeconds, bool holdForSound, int soundMs) const;

    // The slide's time has run out: the next slide, the first again when looping, else the show is
    // over. Nothing while paused.
    void timeUp();
    // The keys: the next and the previous slide, the first and the last (the show goes on from
    // there), pause and play.
    void stepForward();
    void stepBack();
    void goTo(int index) { current_ = index < 0 ? 0 : index < count_ ? index : count_ - 1; }
    int count() const { return count_; }
    void togglePause() { paused_ = !paused_; }
    void quit() { over_ = true; }

  private:
    int count_;
    bool loop_;
    int speed_;
    int current_ = 0;
    bool paused_ = false;
    bool over_ = false;
};

// The playing time of the WAV file at `path` in milliseconds, from its format and data chunks; 0
// when it cannot be read or is no WAV file.
int WavMilliseconds(const std::string& path);
