// SPDX-License-Identifier: MIT
#include "x11_caption.h"

#include <algorithm>

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
