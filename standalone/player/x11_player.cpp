// SPDX-License-Identifier: MIT
#include "x11_player.h"

#include "x11_caption.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <poll.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

constexpr int Margin = 8;

struct Box {
    int x, y, width, height;
};

// The picture's place in a box of `bw` x `bh`: shrunk to fit, never enlarged, centred.
Box Fitted(int bw, int bh, int width, int height) {
    int w = width, h = height;
    if (w > bw || h > bh) {
        const bool wide = 1ll * width * bh > 1ll * height * bw;
        w = wide ? bw : int(1ll * width * bh / height);
        h = wide ? int(1ll * height * bw / width) : bh;
    }
    w = std::max(w, 1);
    h = std::max(h, 1);
    return {(bw - w) / 2, (bh - h) / 2, w, h};
}

// The picture scaled to `w` x `h`: each pixel the mean of the picture's pixels it covers.
std::vector<std::uint32_t> Scaled(const SlidePicture& p, int w, int h) {
    std::vector<std::uint32_t> out(std::size_t(w) * std::size_t(h));
    for (int y = 0; y < h; ++y) {
        const int y0 = int(1ll * y * p.height / h), y1 = std::max(y0 + 1, int(1ll * (y + 1) * p.height / h));
        for (int x = 0; x < w; ++x) {
            const int x0 = int(1ll * x * p.width / w),
                      x1 = std::max(x0 + 1, int(1ll * (x + 1) * p.width / w));
            std::uint64_t r = 0, g = 0, b = 0;
            for (int sy = y0; sy < y1; ++sy)
                for (int sx = x0; sx < x1; ++sx) {
                    const std::uint32_t c =
                        p.pixels[std::size_t(sy) * std::size_t(p.width) + std::size_t(sx)];
                    r += c >> 16 & 0xFF;
                    g += c >> 8 & 0xFF;
                    b += c & 0xFF;
                }
            const std::uint64_t n = std::uint64_t(y1 - y0) * std::uint64_t(x1 - x0);
            out[std::size_t(y) * std::size_t(w) + std::size_t(x)] =
                std::uint32_t(r / n) << 16 | std::uint32_t(g / n) << 8 | std::uint32_t(b / n);
        }
    }
    return out;
}

// The screen's pixel value of 0xRRGGBB, by the visual's colour masks.
unsigned long PixelOf(const Visual* visual, std::uint32_t rgb) {
    const auto channel = [](unsigned long mask, unsigned value) {
        if (!mask)
            return 0ul;
        int shift = 0, bits = 0;
        while (!(mask >> shift & 1))
            ++shift;
        while (mask >> (shift + bits) & 1)
            ++bits;
        return (bits >= 8 ? (unsigned long)value << (bits - 8) : value >> (8 - bits)) << shift;
    };
    return channel(visual->red_mask, rgb >> 16 & 0xFF) | channel(visual->green_mask, rgb >> 8 & 0xFF) |
           channel(visual->blue_mask, rgb & 0xFF);
}

} // namespace

X11Player::X11Player(const PackageFiles& package, DecodingRuntime runtime, bool report)
    : package_(package), runtime_(runtime), report_(report),
      clock_(int(package.slides().size()), package.options().loop && !report,
             report ? 20 : package.options().speed) {}

X11Player::~X11Player() {
    sound_.stop();
    if (gc_)
        XFreeGC(display_, gc_);
    if (canvas_)
        XFreePixmap(display_, canvas_);
    if (window_)
        XDestroyWindow(display_, window_);
}

int X11Player::run(Display* display) {
    display_ = display;
    openWindow();
    show(0);
    const int connection = ConnectionNumber(display_);
    while (!clock_.over()) {
        while (!clock_.over() && XPending(display_)) {
            XEvent event;
            XNextEvent(display_, &event);
            handle(event);
        }
        if (clock_.over())
            break;
        int wait = -1;
        if (timing_) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(timeUp_ - std::chrono::steady_clock::now());
            wait = int(std::clamp<std::chrono::milliseconds::rep>(left.count(), 0, 1 << 30));
        }
        pollfd in{connection, POLLIN, 0};
        if (poll(&in, 1, wait) == 0 && timing_) {
            timing_ = false;
            clock_.timeUp();
            if (!clock_.over())
                show(clock_.current());
        }
        if (in.revents & (POLLERR | POLLHUP))
            return 5;
    }
    XUnmapWindow(display_, window_);
    XSync(display_, False);
    return 0;
}

void X11Player::openWindow() {
    const int screen = DefaultScreen(display_);
    width_ = DisplayWidth(display_, screen);
    height_ = DisplayHeight(display_, screen);
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(display_, screen);
    attributes.event_mask = ExposureMask | KeyPressMask | StructureNotifyMask;
    window_ =
        XCreateWindow(display_, RootWindow(display_, screen), 0, 0, unsigned(width_), unsigned(height_), 0,
                      CopyFromParent, InputOutput, CopyFromParent, CWBackPixel | CWEventMask, &attributes);
    XStoreName(display_, window_, "Verasco");
    const char title[] = "Verasco";
    XChangeProperty(display_, window_, XInternAtom(display_, "_NET_WM_NAME", False),
                    XInternAtom(display_, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title), int(sizeof title - 1));
    // Full screen where a window manager is told so; the window covers the screen either way.
    Atom fullScreen = XInternAtom(display_, "_NET_WM_STATE_FULLSCREEN", False);
    XChangeProperty(display_, window_, XInternAtom(display_, "_NET_WM_STATE", False), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(&fullScreen), 1);
    closeAtom_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display_, window_, &closeAtom_, 1);
    gc_ = XCreateGC(display_, window_, 0, nullptr);
    canvas_ = XCreatePixmap(display_, window_, unsigned(width_), unsigned(height_),
                            unsigned(DefaultDepth(display_, screen)));
    XMapRaised(display_, window_);
}

void X11Player::handle(XEvent& event) {
    switch (event.type) {
    case Expose:
        if (event.xexpose.count == 0) {
            mapped_ = true;
            present();
        }
        break;
    case ConfigureNotify:
        if (event.xconfigure.width != width_ || event.xconfigure.height != height_) {
            width_ = std::max(1, event.xconfigure.width);
            height_ = std::max(1, event.xconfigure.height);
            XFreePixmap(display_, canvas_);
            canvas_ = XCreatePixmap(display_, window_, unsigned(width_), unsigned(height_),
                                    unsigned(DefaultDepth(display_, DefaultScreen(display_))));
            render();
        }
        break;
    case MapNotify:
        XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
        break;
    case KeyPress:
        key(XLookupKeysym(&event.xkey, 0));
        break;
    case ClientMessage:
        if (Atom(event.xclient.data.l[0]) == closeAtom_)
            clock_.quit();
        break;
    default:
        break;
    }
}

void X11Player::show(int index) {
    const std::string_view data = package_.pictureData(index);
    QpxRunPicture decoded{};
    char why[200] = {};
    decoded_ = !data.empty() && runtime_.decode &&
               runtime_.decode(reinterpret_cast<const unsigned char*>(data.data()), data.size(), &decoded,
                               why, sizeof why) == 0;
    picture_ = decoded_ ? UprightPicture(decoded, JpegOrientation(data)) : SlidePicture{};
    if (decoded_)
        runtime_.release(&decoded);
    else
        ReadBitmap(data, picture_); // a bitmap packed as it is
    const TSlideRecord& slide = package_.slides()[std::size_t(index)];
    const std::string sound = RecordText(slide.AudioFile.str());
    audio_ = FolderFile(std::string(), sound.substr(sound.find_last_of("/\\") + 1));
    if (!audio_.empty())
        sound_.play(audio_);
    shown_ = index;
    reported_ = false;
    render();
}

void X11Player::render() {
    XSetForeground(display_, gc_, BlackPixel(display_, DefaultScreen(display_)));
    XFillRectangle(display_, canvas_, gc_, 0, 0, unsigned(width_), unsigned(height_));
    // The caption takes its line under the picture, which is fitted into the rest.
    int bottom = height_;
    if (!black_ && shown_ >= 0 && package_.slides()[std::size_t(shown_)].ShowText)
        bottom = drawCaption(package_.slides()[std::size_t(shown_)]);
    if (!black_ && !picture_.pixels.empty() && bottom > 0)
        drawPicture(width_, bottom);
    if (mapped_)
        present();
}

void X11Player::drawPicture(int width, int bottom) {
    const Box to = Fitted(width, bottom, picture_.width, picture_.height);
    const std::vector<std::uint32_t> pixels = Scaled(picture_, to.width, to.height);
    Visual* visual = DefaultVisual(display_, DefaultScreen(display_));
    XImage* image = XCreateImage(display_, visual, unsigned(DefaultDepth(display_, DefaultScreen(display_))),
                                 ZPixmap, 0, nullptr, unsigned(to.width), unsigned(to.height), 32, 0);
    if (!image)
        return;
    image->data =
        static_cast<char*>(std::malloc(std::size_t(image->bytes_per_line) * std::size_t(to.height)));
    const bool direct = image->bits_per_pixel == 32 && image->byte_order == LSBFirst &&
                        visual->red_mask == 0xFF0000 && visual->green_mask == 0xFF00 &&
                        visual->blue_mask == 0xFF;
    for (int y = 0; image->data && y < to.height; ++y) {
        const std::uint32_t* row = pixels.data() + std::size_t(y) * std::size_t(to.width);
        if (direct)
            std::memcpy(image->data + std::size_t(y) * std::size_t(image->bytes_per_line), row,
                        std::size_t(to.width) * 4);
        else
            for (int x = 0; x < to.width; ++x)
                XPutPixel(image, x, y, PixelOf(visual, row[x]));
    }
    if (image->data)
        XPutImage(display_, canvas_, gc_, image, 0, 0, to.x, to.y, unsigned(to.width), unsigned(to.height));
    XDestroyImage(image);
}

int X11Player::drawCaption(const TSlideRecord& slide) {
    const CaptionFont font(display_, slide);
    if (!font.loaded())
        return height_;
    const std::string text = RecordText(slide.Text.str());
    const int top = height_ - Margin - font.height();
    XSetForeground(display_, gc_,
                   PixelOf(DefaultVisual(display_, DefaultScreen(display_)), CaptionColour(slide.FontColor)));
    // Centred, and where it is wider than the screen, its start shown.
    const int x = std::max(Margin, (width_ - font.width(text)) / 2);
    font.draw(canvas_, gc_, x, height_ - Margin - font.descent(), text);
    return top - Margin;
}

// The canvas on the window; the first time for a slide, its time starts and the report tells of it.
void X11Player::present() {
    XCopyArea(display_, canvas_, window_, gc_, 0, 0, unsigned(width_), unsigned(height_), 0, 0);
    XSync(display_, False);
    onScreen();
}

void X11Player::onScreen() {
    if (reported_ || shown_ < 0)
        return;
    reported_ = true;
    if (report_)
        reportSlide();
    startTimer();
}

void X11Player::startTimer() {
    timing_ = false;
    if (clock_.paused() || clock_.over())
        return;
    const TSlideRecord& slide = package_.slides()[std::size_t(shown_)];
    const int sound = slide.HoldForAudio && !audio_.empty() ? WavMilliseconds(audio_) : 0;
    timeUp_ = std::chrono::steady_clock::now() +
              std::chrono::milliseconds(clock_.slideTime(slide.Delay, slide.HoldForAudio, sound));
    timing_ = true;
}

void X11Player::key(KeySym key) {
    // A slide's number, then Enter, goes to that slide.
    const bool digit = (key >= XK_0 && key <= XK_9) || (key >= XK_KP_0 && key <= XK_KP_9);
    if (digit) {
        typed_ = std::min(typed_ * 10 + int(key - (key >= XK_KP_0 ? XK_KP_0 : XK_0)), 100000);
        return;
    }
    const int typed = std::exchange(typed_, 0);
    if ((key == XK_Return || key == XK_KP_Enter) && typed > 0) {
        clock_.goTo(typed - 1);
        show(clock_.current());
        return;
    }
    switch (key) {
    case XK_b:
    case XK_period:
    case XK_KP_Decimal:
        black_ = !black_;
        render();
        break;
    case XK_Escape:
        clock_.quit();
        break;
    case XK_space:
        clock_.togglePause();
        startTimer();
        break;
    case XK_Right:
    case XK_Next:
        clock_.stepForward();
        show(clock_.current());
        break;
    case XK_Left:
    case XK_Prior:
        clock_.stepBack();
        show(clock_.current());
        break;
    case XK_Home:
    case XK_End:
        clock_.goTo(key == XK_Home ? 0 : clock_.count() - 1);
        show(clock_.current());
        break;
    default:
        break;
    }
}

void X11Player::reportSlide() {
    const std::string line = package_.reportLine(shown_, picture_.width, picture_.height, decoded_, audio_);
    std::fputs(line.c_str(), stdout);
    std::fflush(stdout);
    if (shown_ + 1 == int(package_.slides().size()))
        clock_.quit();
}
