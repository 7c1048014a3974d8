// SPDX-License-Identifier: MIT
#pragma once
// Waiting for work that runs on another thread. On the window thread the windows keep painting and
// their timers run meanwhile, so that no picture, however slow to decode, holds them; keys, clicks
// and files handed over by a later start wait until the work has ended. On any other thread it
// simply waits.

#include <functional>

namespace imaging {

// `done(ms)` waits up to ms milliseconds and tells whether the work has ended; `between`, when
// given, runs on this thread after each look, the last time once the work has ended.
void waitForWork(const std::function<bool(int ms)>& done, const std::function<void()>& between = {});

} // namespace imaging
