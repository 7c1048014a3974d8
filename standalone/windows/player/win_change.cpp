// SPDX-License-Identifier: MIT
#include "win_change.h"

#include <algorithm>
#include <cmath>

void DrawChange(HDC target, HDC older, HDC newer, int width, int height,
                const ShowRules::TransitionLook& look) {
    const RECT all{0, 0, width, height};
    FillRect(target, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    BitBlt(target, look.oldX, look.oldY, width, height, older, 0, 0, SRCCOPY);
    const ShowRules::Rect& clip = look.newClip;
    const int saved = SaveDC(target);
    IntersectClipRect(target, clip.x, clip.y, clip.x + clip.width, clip.y + clip.height);
    if (look.newScale == 1 && look.newOpacity >= 1) {
        BitBlt(target, look.newX, look.newY, width, height, newer, 0, 0, SRCCOPY);
    } else {
        // Grown about the centre and laid over the old picture at its opacity.
        const int w = std::max(1, int(std::lround(width * look.newScale))),
                  h = std::max(1, int(std::lround(height * look.newScale)));
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, BYTE(std::lround(look.newOpacity * 255)), 0};
        AlphaBlend(target, (width - w) / 2 + look.newX, (height - h) / 2 + look.newY, w, h, newer, 0, 0,
                   width, height, blend);
    }
    RestoreDC(target, saved);
}
