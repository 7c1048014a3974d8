// SPDX-License-Identifier: MIT
#include "show_course.h"

#include "show_timeline.h"

#include <algorithm>
#include <utility>

ShowKey keyOf(unsigned long code, std::initializer_list<KeyBinding> bindings,
              std::initializer_list<unsigned long> digitZeros, int& digit) {
    for (const unsigned long zero : digitZeros)
        if (code >= zero && code <= zero + 9) {
            digit = int(code - zero);
            return ShowKey::Digit;
        }
    for (const KeyBinding& binding : bindings)
        if (binding.code == code)
            return binding.key;
    return ShowKey::Other;
}

int ShowClock::slideTime(int timeMs, bool holdForSound, int soundMs) const {
    return int(ShowRules::slideMs({timeMs, holdForSound, holdForSound, soundMs, {}}, speed_));
}

int ShowClock::ownTime(int timeMs) const {
    return int(ShowRules::ownMs(timeMs, speed_));
}

void ShowClock::timeUp() {
    if (paused_ || over_)
        return;
    if (current_ + 1 < count_)
        ++current_;
    else if (loop_)
        current_ = 0;
    else
        over_ = true;
}

void ShowClock::stepForward() {
    current_ = current_ + 1 < count_ ? current_ + 1 : (loop_ ? 0 : current_);
}

void ShowClock::stepBack() {
    current_ = current_ > 0 ? current_ - 1 : (loop_ ? count_ - 1 : 0);
}

ShowClock::Outcome ShowClock::press(ShowKey key, int digit) {
    if (key == ShowKey::Digit) {
        typed_ = std::min(typed_ * 10 + std::clamp(digit, 0, 9), 100000);
        return {};
    }
    const int typed = std::exchange(typed_, 0);
    switch (key) {
    case ShowKey::Enter:
        if (typed == 0)
            return {};
        goTo(typed - 1);
        return {true, false, false};
    case ShowKey::Next:
        stepForward();
        return {true, false, false};
    case ShowKey::Previous:
        stepBack();
        return {true, false, false};
    case ShowKey::First:
    case ShowKey::Last:
        goTo(key == ShowKey::First ? 0 : count_ - 1);
        return {true, false, false};
    case ShowKey::PlayPause:
        paused_ = !paused_;
        return {false, true, false};
    case ShowKey::Black:
        black_ = !black_;
        return {false, false, true};
    case ShowKey::Quit:
        over_ = true;
        return {};
    default:
        return {};
    }
}
