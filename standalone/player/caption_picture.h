// SPDX-License-Identifier: MIT
// A slide's caption as a package carries it: drawn once by the export with the program's fonts and
// the viewer's band layout, for a screen CaptionBand::PackageWidth x PackageHeight filled by its
// picture, as an 8-bit coverage mask in a binary PGM file ("P5", the width, the height and 255 as
// text, then a byte a pixel, row after row), the band's size. The players scale it to their screen
// as the band's font follows the screen's height, outline it by the show's rules (frame_look.h) and
// draw it in the slide's colours on the band: they need no font of their own. Plain C++, shared by
// the players of Linux and Windows packages.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace CaptionPicture {

struct Mask {
    int width = 0, height = 0;
    std::vector<std::uint8_t> coverage; // row after row, 255 where a letter covers the pixel whole
};

// The mask of a PGM file's bytes; nothing for another file, a damaged one or one too large.
std::optional<Mask> Read(std::string_view bytes);
// The mask at the size a screen of `screenWidth` x `screenHeight` gives it, no higher than `room`:
// the band's height, centred on the screen's width.
Mask ForScreen(const Mask& stored, int screenWidth, int screenHeight, int room);
// `mask` drawn in 0xRRGGBB `colour` over `pixels` (0xRRGGBB, `width` x `height`, row after row),
// its left column at `left`.
void Draw(std::uint32_t* pixels, int width, int height, const Mask& mask, int left, std::uint32_t colour);
// The band over `rows` (0xRRGGBB, `width` x the mask's height): the rows darkened by the band's black
// across their width, the outline and the letters of `colour` (0xRRGGBB, the slide's) on them, centred.
// A title (`band` false) leaves the rows as they are under its letters.
void DrawBand(std::uint32_t* rows, int width, const Mask& letters, const Mask& outline, std::uint32_t colour,
              bool band = true);

// The caption of the slide on screen: read once, and kept at the size last asked for.
class Caption {
  public:
    int slide() const { return slide_; }
    // The caption of `slide` from the file at `path`: none for an empty path or a file unreadable.
    void take(int slide, const std::string& path);
    // The caption for a screen `screenWidth` x `screenHeight` and a band no higher than `room`;
    // empty for none.
    const Mask& at(int screenWidth, int screenHeight, int room);
    // The outline of the caption as `at` last gave it.
    const Mask& outline() const { return outline_; }

  private:
    int slide_ = -1;
    Mask stored_, shown_, outline_;
    int width_ = 0, height_ = 0, room_ = 0; // what shown_ was scaled for
};

} // namespace CaptionPicture
