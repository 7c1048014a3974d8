// SPDX-License-Identifier: MIT
// A slide's picture as a player holds it: the decoding run-time's pixels copied out, turned upright
// by the orientation tag a photograph packed as it is carries; or a Windows bitmap packed as it is,
// read by the player itself. Plain C++, without any toolkit.
#pragma once

#include "frame_look.h"
#include "qpx_runtime.h"

#include <cstdint>
#include <string_view>
#include <vector>

struct SlidePicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0xFFRRGGBB, row after row; empty for no picture
};

// The decoded picture turned and mirrored by `orientation`, so that it is shown upright.
SlidePicture UprightPicture(const QpxRunPicture& decoded, int orientation);

// An uncompressed Windows bitmap (1, 4, 8, 24 or 32 bits a pixel; rows from the bottom or the top)
// read; false, leaving `picture` alone, for any other data or a bitmap cut short.
bool ReadBitmap(std::string_view data, SlidePicture& picture);

// The picture of a slide's packed `data`: decoded by the run-time's `decode` (its pixels given back
// through `release`) where it reads them, else a bitmap packed as it is; none for neither. `decoded`
// tells whether the run-time made it.
SlidePicture PackedPicture(std::string_view data, QpxRunDecodeFunction decode, QpxRunFreeFunction release,
                           bool& decoded);

// What fills the screen beside a slide's picture, by the show's rules (frame_look.h): drawn once for
// a slide and a screen's size, kept while they stay.
class SlideFill {
  public:
    // The fill of `picture` by `look` on a screen `width` x `height` (0xFFRRGGBB, row after row);
    // empty for black.
    const std::vector<std::uint32_t>& at(int slide, const SlidePicture& picture, const ShowRules::Look& look,
                                         int width, int height);

  private:
    int slide_ = -1, width_ = 0, height_ = 0;
    ShowRules::Look look_;
    std::vector<std::uint32_t> pixels_;
};
