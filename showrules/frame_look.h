// SPDX-License-Identifier: MIT
#pragma once
// How a slide looks around its picture and caption, as every player of a show draws it: what fills
// the frame beside the picture (black, one colour, or the picture itself enlarged to cover the frame,
// blurred and darkened), where the caption's band lies (at the picture's foot or at its top), and
// the colours that keep a caption readable on its dark band. Read from the show's extension block
// ("fill", "fillColour", "captionPlace"), a slide's own values before the show's. Plain C++.

#include <cstdint>
#include <optional>
#include <string_view>

namespace ShowRules {

enum class Fill { Black, Blur, Colour };
enum class CaptionPlace { Bottom, Top };

struct Look {
    Fill fill = Fill::Black;
    std::uint32_t fillColour = 0; // 0xRRGGBB, for Fill::Colour
    CaptionPlace captionPlace = CaptionPlace::Bottom;
    bool operator==(const Look&) const = default;
};

// The stored words of one level (the show or a slide); an empty word is one not stored.
struct LookWords {
    std::string_view fill, fillColour, captionPlace;
};

std::optional<Fill> fillNamed(std::string_view word);
const char* fillName(Fill fill);
std::optional<CaptionPlace> captionPlaceNamed(std::string_view word);
const char* captionPlaceName(CaptionPlace place);
// "#rrggbb" as 0xRRGGBB; nothing for any other text.
std::optional<std::uint32_t> colourNamed(std::string_view word);

// A slide's look: each of its own values that is valid, else the show's, else the default. A fill's
// colour comes with the fill it belongs to (black where that level names none).
Look lookOf(const LookWords& show, const LookWords& slide);

// The colours of a caption on its band: the default black is drawn white; any other colour keeps
// its colour, outlined dark where it is light and light where it is dark.
struct CaptionColours {
    std::uint32_t text = 0, outline = 0; // 0xRRGGBB
};
CaptionColours captionColours(std::uint32_t colour);

// The outline's width on a screen `screenHeight` pixels high: thin, at least a pixel.
int outlineRadius(int screenHeight);
// The outline of letters whose 8-bit coverage is `letters` (`width` x `height`, row after row): each
// pixel the most coverage within `radius` of it, into `out` (the same size).
void outlineOf(const std::uint8_t* letters, int width, int height, int radius, std::uint8_t* out);

// The blurred fill: the picture enlarged to cover the frame and centred, reduced to BlurHeight
// pixels high (the frame's proportions kept), blurred by BlurPasses box blurs BlurRadius pixels wide
// either side at that size, darkened to BlurBrightnessPercent and enlarged to the frame: as blurred
// on any screen for its height.
inline constexpr int BlurHeight = 40;
inline constexpr int BlurRadius = 2;
inline constexpr int BlurPasses = 3;
inline constexpr int BlurBrightnessPercent = 45;

// `pixels` (0x??RRGGBB, `width` x `height`, `stride` pixels a row) as the blurred fill of a frame
// `frameWidth` x `frameHeight`, into `out` (0xFFRRGGBB, row after row). A picture without pixels
// gives black.
void blurredFill(const std::uint32_t* pixels, int width, int height, int stride, int frameWidth,
                 int frameHeight, std::uint32_t* out);

} // namespace ShowRules
