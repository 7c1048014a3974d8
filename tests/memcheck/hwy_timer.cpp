// SPDX-License-Identifier: MIT
// Preloaded into programs that run under valgrind. FFmpeg's libraries load libhwy, whose start-up
// measures its timer with rdtscp whenever the processor's identification offers it; under
// valgrind that identification can offer rdtscp while valgrind itself cannot run the instruction on
// this processor, and the program dies before its first line. The measurement only tunes libhwy's
// own benchmarks, so a fixed answer changes nothing the program does.
#include <cstdint>

namespace hwy::platform {
std::uint64_t TimerResolution() {
    return 1;
}
} // namespace hwy::platform
