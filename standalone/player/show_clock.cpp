// SPDX-License-Identifier: MIT
#include "show_clock.h"

#include "package_files.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

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

namespace {

uint32_t Le32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

} // namespace

int WavMilliseconds(const std::string& path) {
    std::FILE* file = OpenFile(path);
    if (!file)
        return 0;
    unsigned char riff[12];
    uint32_t bytesPerSecond = 0;
    uint64_t milliseconds = 0;
    if (std::fread(riff, 1, 12, file) == 12 && !std::memcmp(riff, "RIFF", 4) &&
        !std::memcmp(riff + 8, "WAVE", 4)) {
        unsigned char chunk[16];
        while (std::fread(chunk, 1, 8, file) == 8) {
            const uint32_t size = Le32(chunk + 4);
            if (!std::memcmp(chunk, "fmt ", 4) && size >= 16 && std::fread(chunk, 1, 16, file) == 16) {
                bytesPerSecond = Le32(chunk + 8);
                std::fseek(file, long(size - 16 + (size & 1)), SEEK_CUR);
            } else if (!std::memcmp(chunk, "data", 4)) {
                if (bytesPerSecond > 0)
                    milliseconds = uint64_t(size) * 1000 / bytesPerSecond;
                break;
            } else if (std::fseek(file, long(size + (size & 1)), SEEK_CUR) != 0) {
                break;
            }
        }
    }
    std::fclose(file);
    return int(std::min<uint64_t>(milliseconds, 24u * 3600 * 1000));
}
