// SPDX-License-Identifier: MIT
#pragma once
// A change from one slide to the next with GDI, as the show's rules place the two pictures
// (show_transition.h): the screen as it was before and the new one as drawn, put together.

#include "show_transition.h"

#include <windows.h>

// Draws onto `target` the look of a change between the pictures in `older` and `newer`, all
// `width` x `height`.
void DrawChange(HDC target, HDC older, HDC newer, int width, int height,
                const ShowRules::TransitionLook& look);
