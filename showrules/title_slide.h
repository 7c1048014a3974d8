// SPDX-License-Identifier: MIT
#pragma once
// A title slide: a blank slide whose caption is its title, drawn large in the middle of the frame
// (caption_scale.h) on the slide's fill. A blurred fill takes the picture of the next slide that has
// one; after the last such slide there is none, and the fill is black. Plain C++, header only.

#include <vector>

namespace ShowRules {

// The slide whose picture a title slide at `title` is filled with: the first slide after it for which
// `hasPicture` holds; -1 when there is none.
inline int titleBackdropOf(const std::vector<bool>& hasPicture, int title) {
    for (std::size_t i = std::size_t(title) + 1; title >= 0 && i < hasPicture.size(); ++i)
        if (hasPicture[i])
            return int(i);
    return -1;
}

} // namespace ShowRules
