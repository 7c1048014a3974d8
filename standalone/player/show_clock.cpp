// SPDX-License-Identifier: MIT
#include "show_clock.h"

#include "sound_mixer.h"

#include <algorithm>
#include <cstdio>

int ShowClock::slideTime(int delaySeconds, bool holdForSound, int soundMs) const {
    const int own = delaySeconds * (20 - std::clamp(speed_, 0, 20)) * 100;
    return holdForSound ? std::max(own, soundMs) : own;
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

int WavMilliseconds(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return 0;
    WavLayout wav;
    const bool read = ReadWavLayout(file, wav) && wav.dataAt >= 0 && wav.bytesPerSecond > 0;
    std::fclose(file);
    const std::uint64_t milliseconds = read ? wav.dataBytes * 1000 / wav.bytesPerSecond : 0;
    return int(std::min<std::uint64_t>(milliseconds, 24u * 3600 * 1000));
}
