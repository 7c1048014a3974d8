// SPDX-License-Identifier: MIT
// What the Linux package's player shows besides pictures: the colour of a slide's caption, and a
// message in a window of its own.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <string>

// The colour of a stored value as 0xRRGGBB: the value's own, or the usual colour of the system
// colour it names.
unsigned long CaptionColour(std::int32_t stored);

// A window titled "Verasco" in the middle of the screen with the one line `text`, until a key or a
// click, or until it is closed.
void ShowMessage(Display* display, const std::string& text);
