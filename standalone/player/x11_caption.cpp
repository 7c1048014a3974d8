// SPDX-License-Identifier: MIT
// The show's files first: Xlib names a macro Status, as the slide list names a type.
#include "package_files.h"

#include "x11_caption.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace {

// The pixel size of the font name's seventh field; 0 for a scalable font, -1 when unreadable.
int PixelSize(const char* name) {
    int field = 0;
    for (const char* p = name; *p; ++p)
        if (*p == '-' && ++field == 7)
            return std::atoi(p + 1);
    return -1;
}

// The name of the font nearest to `pixels` among those `pattern` matches; empty when none does.
std::string Nearest(Display* display, const std::string& pattern, int pixels) {
    int count = 0;
    char** names = XListFonts(display, pattern.c_str(), 500, &count);
    std::string best;
    int bestDistance = 1 << 30;
    for (int i = 0; i < count; ++i) {
        const int size = PixelSize(names[i]);
        if (size < 0)
            continue;
        const int distance = size == 0 ? 1 : std::abs(size - pixels);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = size == 0 ? pattern.substr(0, pattern.find("--*-")) + "--" + std::to_string(pixels) +
                                   pattern.substr(pattern.find("--*-") + 3)
                             : names[i];
        }
    }
    if (names)
        XFreeFontNames(names);
    return best;
}

std::vector<char32_t> CodePoints(const std::string& utf8) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        const int more = c < 0x80 ? 0 : c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        char32_t u = more == 0 ? c : c & (0x3F >> more);
        for (int k = 1; k <= more && i + std::size_t(k) < utf8.size(); ++k)
            u = u << 6 | (static_cast<unsigned char>(utf8[i + std::size_t(k)]) & 0x3F);
        out.push_back(u);
        i += std::size_t(more) + 1;
    }
    return out;
}

} // namespace

CaptionFont::CaptionFont(Display* display, const TSlideRecord& slide)
    : display_(display), style_(slide.FontStyle) {
    const int points = slide.FontSize > 0 ? slide.FontSize : DefaultFontSize;
    const int pixels = std::clamp(points * 4 / 3, 6, 400); // at 96 dots an inch
    std::string family = RecordText(slide.FontName.str());
    std::transform(family.begin(), family.end(), family.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    const std::vector<std::string> weights = {(slide.FontStyle & FontBold) ? "bold" : "medium", "*"};
    const std::vector<std::string> slants = (slide.FontStyle & FontItalic)
                                                ? std::vector<std::string>{"i", "o", "*"}
                                                : std::vector<std::string>{"r", "*"};
    std::vector<std::string> families = {"helvetica", "*"};
    if (!family.empty() && family.find_first_of("-*?") == std::string::npos)
        families.insert(families.begin(), family);
    std::vector<std::string> patterns;
    for (const std::string& f : families)
        for (const char* set : {"iso10646-1", "iso8859-1"})
            for (const std::string& w : weights)
                for (const std::string& s : slants)
                    patterns.push_back("-*-" + f + "-" + w + "-" + s + "-normal--*-*-*-*-*-*-" + set);
    for (const std::string& pattern : patterns) {
        const std::string name = Nearest(display, pattern, pixels);
        if (!name.empty() && (font_ = XLoadQueryFont(display, name.c_str()))) {
            unicode_ = pattern.find("iso10646") != std::string::npos;
            break;
        }
    }
    if (!font_)
        font_ = XLoadQueryFont(display, "fixed");
    // A server without fonts of that size has its glyphs enlarged, so that the caption keeps its size.
    const int own = font_ ? font_->ascent + font_->descent : 0;
    scale_ = own > 0 ? std::max(1, (pixels + own / 2) / own) : 1;
}

CaptionFont::~CaptionFont() {
    if (font_)
        XFreeFont(display_, font_);
}

std::vector<XChar2b> CaptionFont::glyphs(const std::string& text) const {
    std::vector<XChar2b> out;
    for (const char32_t u : CodePoints(text)) {
        const char32_t shown = u > (unicode_ ? 0xFFFFu : 0xFFu) ? U'?' : u;
        out.push_back({static_cast<unsigned char>(shown >> 8), static_cast<unsigned char>(shown & 0xFF)});
    }
    return out;
}

int CaptionFont::width(const std::string& text) const {
    const std::vector<XChar2b> g = glyphs(text);
    return font_ ? XTextWidth16(font_, g.data(), int(g.size())) * scale_ : 0;
}

void CaptionFont::draw(Drawable to, GC gc, int x, int y, const std::string& text) const {
    if (!font_)
        return;
    const std::vector<XChar2b> g = glyphs(text);
    if (scale_ == 1) {
        drawLine(to, gc, x, y, g);
        return;
    }
    // The line drawn at the font's own size, then each of its pixels as a square of the scale's side.
    const int w = XTextWidth16(font_, g.data(), int(g.size())), h = font_->ascent + font_->descent;
    if (w <= 0 || h <= 0)
        return;
    const int screen = DefaultScreen(display_);
    const Pixmap line =
        XCreatePixmap(display_, to, unsigned(w), unsigned(h), unsigned(DefaultDepth(display_, screen)));
    const GC pen = XCreateGC(display_, line, 0, nullptr);
    XSetForeground(display_, pen, 0);
    XFillRectangle(display_, line, pen, 0, 0, unsigned(w), unsigned(h));
    XSetForeground(display_, pen, WhitePixel(display_, screen) ? WhitePixel(display_, screen) : 1);
    drawLine(line, pen, 0, font_->ascent, g);
    XImage* image = XGetImage(display_, line, 0, 0, unsigned(w), unsigned(h), AllPlanes, ZPixmap);
    std::vector<XRectangle> squares;
    for (int row = 0; image && row < h; ++row)
        for (int column = 0; column < w; ++column)
            if (XGetPixel(image, column, row) != 0)
                squares.push_back({short(x + column * scale_),
                                   short(y - font_->ascent * scale_ + row * scale_),
                                   static_cast<unsigned short>(scale_), static_cast<unsigned short>(scale_)});
    XFillRectangles(display_, to, gc, squares.data(), int(squares.size()));
    if (image)
        XDestroyImage(image);
    XFreeGC(display_, pen);
    XFreePixmap(display_, line);
}

void CaptionFont::drawLine(Drawable to, GC gc, int x, int y, const std::vector<XChar2b>& g) const {
    XSetFont(display_, gc, font_->fid);
    XDrawString16(display_, to, gc, x, y, g.data(), int(g.size()));
    const int w = XTextWidth16(font_, g.data(), int(g.size()));
    const int thickness = std::max(1, (font_->ascent + font_->descent) / 14);
    if (style_ & FontUnderline)
        XFillRectangle(display_, to, gc, x, y + std::max(1, font_->descent / 2), unsigned(w),
                       unsigned(thickness));
    if (style_ & FontStrikeOut)
        XFillRectangle(display_, to, gc, x, y - font_->ascent / 3, unsigned(w), unsigned(thickness));
}

unsigned long CaptionColour(std::int32_t stored) {
    // Windows' usual system colours, by index.
    static const unsigned long System[25] = {
        0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000, 0x000000,
        0x000000, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x0078D7, 0xFFFFFF, 0xF0F0F0, 0xA0A0A0, 0x6D6D6D,
        0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000, 0xFFFFE1};
    const auto bits = static_cast<std::uint32_t>(stored);
    if ((bits >> 24) == 0x80)
        return (bits & 0xFF) < 25 ? System[bits & 0xFF] : 0x000000;
    return (bits & 0xFF) << 16 | (bits & 0xFF00) | (bits >> 16 & 0xFF);
}

void ShowMessage(Display* display, const std::string& text) {
    const int screen = DefaultScreen(display);
    XFontStruct* font = XLoadQueryFont(display, "fixed");
    const int line = font ? font->ascent + font->descent : 13;
    const int width =
        (font ? XTextWidth(font, text.data(), int(text.size())) : 6 * int(text.size())) + 4 * line;
    const int height = 4 * line;
    const Window window = XCreateSimpleWindow(
        display, RootWindow(display, screen), std::max(0, (DisplayWidth(display, screen) - width) / 2),
        std::max(0, (DisplayHeight(display, screen) - height) / 2), unsigned(width), unsigned(height), 1,
        BlackPixel(display, screen), WhitePixel(display, screen));
    XSelectInput(display, window, ExposureMask | KeyPressMask | ButtonPressMask);
    XStoreName(display, window, "Verasco");
    Atom close = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &close, 1);
    const GC gc = XCreateGC(display, window, 0, nullptr);
    XSetForeground(display, gc, BlackPixel(display, screen));
    if (font)
        XSetFont(display, gc, font->fid);
    XMapRaised(display, window);
    for (XEvent event;;) {
        XNextEvent(display, &event);
        if (event.type == Expose && event.xexpose.count == 0)
            XDrawString(display, window, gc, 2 * line, 2 * line + (font ? font->ascent - line / 2 : 0),
                        text.data(), int(text.size()));
        if (event.type == KeyPress || event.type == ButtonPress ||
            (event.type == ClientMessage && Atom(event.xclient.data.l[0]) == close))
            break;
    }
    XFreeGC(display, gc);
    XDestroyWindow(display, window);
    if (font)
        XFreeFont(display, font);
    XSync(display, False);
}
