// SPDX-License-Identifier: MIT
// The course of a package's show (the show's rules' ShowClock) and the length of a slide's sound.
// Plain C++, so that any player of a package can share it.
#pragma once

#include "show_course.h"

#include <string>

// The playing time of the WAV file at `path` in milliseconds, from its format and data chunks; 0
// when it cannot be read or is no WAV file.
int WavMilliseconds(const std::string& path);
