// SPDX-License-Identifier: MIT
#pragma once
// A change from one slide to the next on the X Window System, as the show's rules place the two
// pictures (show_transition.h): the screen as it was before, kept in a pixmap, and the new one as
// drawn, put together on a third. Moves and wipes are copies within the X server; only fades and
// zooms pass the pixels through the player.

#include "show_transition.h"

#include <X11/Xlib.h>

// Draws onto `target` the look of a change between `older` and `newer`, all `width` x `height`.
void DrawChange(Display* display, GC gc, Drawable target, Pixmap older, Pixmap newer, int width, int height,
                const ShowRules::TransitionLook& look);
