// SPDX-License-Identifier: MIT
#pragma once
// How long a test waits for a condition that the program reaches through its event loop (a window
// shown or activated, a popup opened, a paint, a sound or a thread finished). Generous, so that a
// machine under heavy load still gets there; a test that passes never waits this long.

inline constexpr int ConditionWaitMs = 60000;
