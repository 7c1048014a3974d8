// SPDX-License-Identifier: MIT
#include "x11_change.h"

#include <X11/Xutil.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// Where each of `n` pixels of the screen finds its pixel in a picture drawn at `scale` about the
// centre and moved by `shift`: -1 outside it.
std::vector<int> Sources(int n, int shift, double scale) {
    std::vector<int> from(static_cast<std::size_t>(n));
    const double centre = n / 2.0;
    for (int i = 0; i < n; ++i) {
        const int at = int(std::floor(centre + (i + 0.5 - shift - centre) / scale));
        from[std::size_t(i)] = at >= 0 && at < n ? at : -1;
    }
    return from;
}

// Each 8-bit channel of `a` and `b` mixed, `alpha` 256ths of `b`.
std::uint32_t Mix(std::uint32_t a, std::uint32_t b, std::uint32_t alpha) {
    std::uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const std::uint32_t ca = a >> shift & 0xFF, cb = b >> shift & 0xFF;
        out |= ((ca * (256 - alpha) + cb * alpha) >> 8) << shift;
    }
    return out;
}

std::uint32_t& PixelAt(XImage* image, int x, int y) {
    return reinterpret_cast<std::uint32_t*>(image->data +
                                            std::size_t(y) * std::size_t(image->bytes_per_line))[x];
}

// The new picture over the old at its opacity and size, in the player's hands: false where the
// screen's pixels are not of 32 bits. The old picture stands still in these changes.
bool Blend(Display* display, GC gc, Drawable target, Pixmap older, Pixmap newer, int width, int height,
           const ShowRules::TransitionLook& look) {
    XImage* out = XGetImage(display, older, 0, 0, unsigned(width), unsigned(height), AllPlanes, ZPixmap);
    XImage* in = XGetImage(display, newer, 0, 0, unsigned(width), unsigned(height), AllPlanes, ZPixmap);
    const bool direct = out && in && out->bits_per_pixel == 32 && in->bits_per_pixel == 32;
    if (direct) {
        const std::vector<int> xs = Sources(width, look.newX, look.newScale),
                               ys = Sources(height, look.newY, look.newScale);
        const auto alpha = std::uint32_t(std::lround(look.newOpacity * 256));
        const ShowRules::Rect& clip = look.newClip;
        for (int y = clip.y; y < clip.y + clip.height; ++y)
            for (int x = clip.x; x < clip.x + clip.width; ++x)
                if (const int sx = xs[std::size_t(x)], sy = ys[std::size_t(y)]; sx >= 0 && sy >= 0)
                    PixelAt(out, x, y) = Mix(PixelAt(out, x, y), PixelAt(in, sx, sy), alpha);
        XPutImage(display, target, gc, out, 0, 0, 0, 0, unsigned(width), unsigned(height));
    }
    if (out)
        XDestroyImage(out);
    if (in)
        XDestroyImage(in);
    return direct;
}

} // namespace

void DrawChange(Display* display, GC gc, Drawable target, Pixmap older, Pixmap newer, int width, int height,
                const ShowRules::TransitionLook& look) {
    if (look.newScale != 1 || look.newOpacity < 1) {
        if (Blend(display, gc, target, older, newer, width, height, look))
            return;
        XCopyArea(display, newer, target, gc, 0, 0, unsigned(width), unsigned(height), 0, 0);
        return;
    }
    XSetForeground(display, gc, BlackPixel(display, DefaultScreen(display)));
    XFillRectangle(display, target, gc, 0, 0, unsigned(width), unsigned(height));
    XCopyArea(display, older, target, gc, 0, 0, unsigned(width), unsigned(height), look.oldX, look.oldY);
    XRectangle clip{short(look.newClip.x), short(look.newClip.y),
                    static_cast<unsigned short>(look.newClip.width),
                    static_cast<unsigned short>(look.newClip.height)};
    XSetClipRectangles(display, gc, 0, 0, &clip, 1, Unsorted);
    XCopyArea(display, newer, target, gc, 0, 0, unsigned(width), unsigned(height), look.newX, look.newY);
    XSetClipMask(display, gc, None);
}
