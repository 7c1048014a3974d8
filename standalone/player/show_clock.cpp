// SPDX-License-Identifier: MIT
#include "show_clock.h"

#include "package_files.h"
#include "sound_mixer.h"

#include <algorithm>
#include <cstdio>

int WavMilliseconds(const std::string& path) {
    std::FILE* file = OpenFile(path);
    if (!file)
        return 0;
    WavLayout wav;
    const bool read = ReadWavLayout(file, wav) && wav.dataAt >= 0 && wav.bytesPerSecond > 0;
    std::fclose(file);
    const std::uint64_t milliseconds = read ? wav.dataBytes * 1000 / wav.bytesPerSecond : 0;
    return int(std::min<std::uint64_t>(milliseconds, 24u * 3600 * 1000));
}
