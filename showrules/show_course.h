// SPDX-License-Identifier: MIT
#pragma once
// The course of a package's show, without any window: which slide is on screen, how long it stays
// at the speed set, what the keys and the end of a slide's time lead to, and when the show is over.
// Each player of a package turns its own key codes into ShowKey and follows what press() says.

#include <cstdint>
#include <initializer_list>

enum class ShowKey { Other, Next, Previous, First, Last, PlayPause, Black, Quit, Digit, Enter };

// A player's key code and what it does in the show.
struct KeyBinding {
    unsigned long code;
    ShowKey key;
};
// What the key `code` does by `bindings`; a code from one of the `digitZeros` to nine after it is a
// digit, its value in `digit`.
ShowKey keyOf(unsigned long code, std::initializer_list<KeyBinding> bindings,
              std::initializer_list<unsigned long> digitZeros, int& digit);

class ShowClock {
  public:
    // `count` slides (at least one), starting again after the last one when `loop`, at `speed` 0
    // to 20 (10 shows each slide for its own time, 20 for no time at all).
    ShowClock(int count, bool loop, int speed) : count_(count), loop_(loop), speed_(speed) {}

    int current() const { return current_; }
    bool over() const { return over_; }
    bool paused() const { return paused_; }
    // The screen is black; the show keeps its time.
    bool black() const { return black_; }
    int count() const { return count_; }
    int speed() const { return speed_; }

    // Milliseconds a slide of its own time `timeMs` stays on screen: that time at the speed set, and
    // where it holds for its sound, at least the sound's `soundMs`.
    int slideTime(int timeMs, bool holdForSound, int soundMs) const;
    // Its own time at the speed set, over which its motion runs.
    int ownTime(int timeMs) const;

    // The slide's time has run out: the next slide, the first again when looping, else the show is
    // over. Nothing while paused.
    void timeUp();
    void goTo(int index) { current_ = index < 0 ? 0 : index < count_ ? index : count_ - 1; }
    void quit() { over_ = true; }

    // What a key did: the show moved to another slide, it paused or played on (its time starts
    // anew), or the screen went black or came back.
    struct Outcome {
        bool moved = false;
        bool retimed = false;
        bool redrawn = false;
    };
    // A key: the next and the previous slide (round the ends when looping), the first and the last,
    // a slide's number (`digit` by digit) and Enter, pause and play, black and back, quit.
    Outcome press(ShowKey key, int digit = 0);

  private:
    void stepForward();
    void stepBack();

    int count_;
    bool loop_;
    int speed_;
    int current_ = 0;
    bool paused_ = false;
    bool over_ = false;
    bool black_ = false;
    int typed_ = 0; // the slide number typed so far
};
