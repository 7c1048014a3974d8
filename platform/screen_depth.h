// SPDX-License-Identifier: MIT
#pragma once
// Colour depth of the screen a window is on. Thumbnails take the palette path below 16 bits per pixel,
// so tests (and an end-to-end run through VERASCO_SCREEN_DEPTH) can force a depth.

class QWidget;

// Forced depth if one is set (setForcedScreenBitsPerPixel, else VERASCO_SCREEN_DEPTH), otherwise the
// depth of the widget's screen (the primary screen for a null widget); 32 when there is no screen.
int ScreenBitsPerPixel(const QWidget* w);

// 0 = measure again.
void setForcedScreenBitsPerPixel(int bits);
