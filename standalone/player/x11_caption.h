// SPDX-License-Identifier: MIT
// A slide's caption on the X server: the server's font nearest to the slide's name, size and style
// (the family asked for, else Helvetica, else any; the nearest pixel size; Unicode fonts first),
// and the caption's line in it, underlined or struck out as the slide asks. Where the server has no
// font near the size, the glyphs of the nearest are enlarged a whole number of times.
#pragma once

#include "slide_record.h"

#include <X11/Xlib.h>

#include <string>
#include <vector>

class CaptionFont {
  public:
    CaptionFont(Display* display, const TSlideRecord& slide);
    ~CaptionFont();
    CaptionFont(const CaptionFont&) = delete;
    CaptionFont& operator=(const CaptionFont&) = delete;

    bool loaded() const { return font_ != nullptr; }
    int height() const { return font_ ? (font_->ascent + font_->descent) * scale_ : 0; }
    int descent() const { return font_ ? font_->descent * scale_ : 0; }
    // The width of the UTF-8 `text`, and the text drawn with its baseline at `y`.
    int width(const std::string& text) const;
    void draw(Drawable to, GC gc, int x, int y, const std::string& text) const;

  private:
    std::vector<XChar2b> glyphs(const std::string& text) const;
    // The line at the font's own size, with its baseline at `y`.
    void drawLine(Drawable to, GC gc, int x, int y, const std::vector<XChar2b>& g) const;

    Display* display_;
    XFontStruct* font_ = nullptr;
    bool unicode_ = false;
    int style_ = 0;
    int scale_ = 1; // how many times the font's glyphs are enlarged
};

// The colour of a stored value as 0xRRGGBB: the value's own, or the usual colour of the system
// colour it names.
unsigned long CaptionColour(std::int32_t stored);

// A window titled "Verasco" in the middle of the screen with the one line `text`, until a key or a
// click, or until it is closed.
void ShowMessage(Display* display, const std::string& text);
