// SPDX-License-Identifier: MIT
#pragma once
// Flags that long operations running their own event loops share with the handlers that run
// inside those loops (progress notifications, buttons pressed while a show plays).

struct SharedFlags {
    bool LoadInProgress = false; // an imaging control reports a load or save below 100 %
    bool WaitInterrupt = false;  // ends the current pumping wait early
    bool ShowPlaying = false;
    int CurrentSlide = 0;
};
