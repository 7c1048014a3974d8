// SPDX-License-Identifier: MIT
#include "x11_player.h"

#include "caption_scale.h"
#include "picture_place.h"
#include "show_timeline.h"
#include "x11_caption.h"
#include "x11_change.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <poll.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

using Box = ShowRules::Rect;

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

// The part of `width` x `height` pixels in view, as large as fits into `bw` x `bh`, centred.
Box FittedFrame(int bw, int bh, double width, double height) {
    const ShowRules::RectF f = ShowRules::fitPart(width, height, {0, 0, double(bw), double(bh)});
    const int w = std::max(1, int(std::lround(f.width))), h = std::max(1, int(std::lround(f.height)));
    return {int(std::lround(f.x)), int(std::lround(f.y)), w, h};
}

// Where the centres of `n` pixels drawn over [start, start + share) of `size` pixels fall: the pixel
// before each and, in 256ths, how far it is on toward the next.
std::vector<std::pair<int, int>> Taps(double start, double share, int size, int n) {
    std::vector<std::pair<int, int>> taps(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double at = std::clamp((start + (i + 0.5) * share / n) * size - 0.5, 0.0, size - 1.0);
        const int before = std::min(int(at), size - 1);
        taps[std::size_t(i)] = {before, int((at - before) * 256)};
    }
    return taps;
}

// The part `f` of the picture drawn at `w` x `h`, each pixel taken between the four pixels around
// its centre, so that a slow pan moves by less than a pixel at a time.
std::vector<std::uint32_t> Sampled(const SlidePicture& p, const PackageExtras::Frame& f, int w, int h) {
    std::vector<std::uint32_t> out(std::size_t(w) * std::size_t(h));
    const auto columns = Taps(f.x, f.w, p.width, w), rows = Taps(f.y, f.h, p.height, h);
    const auto mix = [](std::uint32_t a, std::uint32_t b, int t) {
        const std::uint32_t rb =
            ((a & 0xFF00FF) * std::uint32_t(256 - t) + (b & 0xFF00FF) * std::uint32_t(t)) >> 8;
        const std::uint32_t g =
            ((a & 0xFF00) * std::uint32_t(256 - t) + (b & 0xFF00) * std::uint32_t(t)) >> 8;
        return (rb & 0xFF00FF) | (g & 0xFF00);
    };
    for (int y = 0; y < h; ++y) {
        const auto [sy, ty] = rows[std::size_t(y)];
        const std::uint32_t* top = p.pixels.data() + std::size_t(sy) * std::size_t(p.width);
        const std::uint32_t* below = top + (sy + 1 < p.height ? p.width : 0);
        std::uint32_t* to = out.data() + std::size_t(y) * std::size_t(w);
        for (int x = 0; x < w; ++x) {
            const auto [sx, tx] = columns[std::size_t(x)];
            const int next = sx + 1 < p.width ? sx + 1 : sx;
            to[x] = mix(mix(top[sx], top[next], tx), mix(below[sx], below[next], tx), ty);
        }
    }
    return out;
}

// The picture of a moving slide reduced once to the size its most enlarged frame needs on a screen
// of `bw` x `bh` (never enlarged), so that no frame skips over its pixels.
SlidePicture ForMotion(const SlidePicture& p, const PackageExtras::Motion& m, int bw, int bh) {
    const auto scale = [&](const PackageExtras::Frame& f) {
        return std::min(bw / (f.w * p.width), bh / (f.h * p.height));
    };
    const double most = std::max(scale(m.from), scale(m.to));
    if (most >= 1)
        return p;
    SlidePicture reduced;
    reduced.width = std::max(1, int(std::lround(p.width * most)));
    reduced.height = std::max(1, int(std::lround(p.height * most)));
    reduced.pixels = Scaled(p, reduced.width, reduced.height);
    return reduced;
}

// Where a visual's colour mask lies: its lowest bit and how many bits it has.
std::pair<int, int> MaskBits(unsigned long mask) {
    int shift = 0, bits = 0;
    while (mask && !(mask >> shift & 1))
        ++shift;
    while (mask && mask >> (shift + bits) & 1)
        ++bits;
    return {shift, bits};
}

// The screen's pixel value of 0xRRGGBB, by the visual's colour masks.
unsigned long PixelOf(const Visual* visual, std::uint32_t rgb) {
    const auto channel = [](unsigned long mask, unsigned value) {
        const auto [shift, bits] = MaskBits(mask);
        if (!bits)
            return 0ul;
        return (bits >= 8 ? (unsigned long)value << (bits - 8) : value >> (8 - bits)) << shift;
    };
    return channel(visual->red_mask, rgb >> 16 & 0xFF) | channel(visual->green_mask, rgb >> 8 & 0xFF) |
           channel(visual->blue_mask, rgb & 0xFF);
}

// The 0xRRGGBB of a screen's pixel value.
std::uint32_t RgbOf(const Visual* visual, unsigned long pixel) {
    const auto channel = [pixel](unsigned long mask) {
        const auto [shift, bits] = MaskBits(mask);
        if (!bits)
            return 0u;
        const unsigned value = unsigned((pixel & mask) >> shift);
        return bits >= 8 ? value >> (bits - 8) : value * 255 / ((1u << bits) - 1);
    };
    return channel(visual->red_mask) << 16 | channel(visual->green_mask) << 8 | channel(visual->blue_mask);
}

} // namespace

X11Player::X11Player(const PackageFiles& package, DecodingRuntime runtime, bool report)
    : package_(package), runtime_(runtime), report_(report),
      clock_(int(package.slides().size()), package.options().loop && !report,
             report ? 20 : package.options().speed),
      extras_(package.extras()) {
    std::vector<std::string> music;
    for (const std::string& name : extras_ ? extras_->music : std::vector<std::string>())
        if (std::string path = FolderFile(std::string(), name); !path.empty())
            music.push_back(std::move(path));
    if (!music.empty())
        mixer_ = std::make_unique<MixedSound>(std::move(music), extras_->fadeMs, extras_->musicLevel);
    if (extras_) {
        std::vector<std::int64_t> own;
        for (int i = 0; i < int(package.slides().size()); ++i)
            own.push_back(clock_.ownTime(package.timeMs(i)));
        changes_ = ShowRules::slideChanges(extras_->transitions, own, 0);
    }
}

X11Player::~X11Player() {
    sound_.stop();
    if (gc_)
        XFreeGC(display_, gc_);
    for (const Pixmap pixmap : {canvas_, older_, mixed_})
        if (pixmap)
            XFreePixmap(display_, pixmap);
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
        // A moving picture is drawn anew at about each refresh of the screen.
        constexpr int FrameMs = 16;
        if (moving() || changing_)
            wait = wait < 0 ? FrameMs : std::min(wait, FrameMs);
        pollfd in{connection, POLLIN, 0};
        if (moving())
            render();
        else if (changing_ && mapped_)
            present();
        if (poll(&in, 1, wait) == 0 && timing_ && std::chrono::steady_clock::now() >= timeUp_) {
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
    makeCanvas();
    XMapRaised(display_, window_);
}

// The pixmaps the screen is drawn on, at the window's size; a change under way ends.
void X11Player::makeCanvas() {
    for (Pixmap* pixmap : {&canvas_, &older_, &mixed_}) {
        if (*pixmap)
            XFreePixmap(display_, *pixmap);
        *pixmap = XCreatePixmap(display_, window_, unsigned(width_), unsigned(height_),
                                unsigned(DefaultDepth(display_, DefaultScreen(display_))));
    }
    changing_ = false;
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
            makeCanvas();
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
    picture_ = PackedPicture(package_.pictureData(index), runtime_.decode, runtime_.release, decoded_);
    // A title slide's blurred fill is made of the picture after it.
    title_ = package_.isTitle(index);
    const bool blurred = extras_ && extras_->looks[std::size_t(index)].fill == ShowRules::Fill::Blur;
    bool byRuntime = false;
    backdrop_ = title_ && blurred ? PackedPicture(package_.pictureData(package_.titleBackdrop(index)),
                                                  runtime_.decode, runtime_.release, byRuntime)
                                  : SlidePicture{};
    const TSlideRecord& slide = package_.slides()[std::size_t(index)];
    const std::string sound = RecordText(slide.AudioFile.str());
    audio_ = FolderFile(std::string(), sound.substr(sound.find_last_of("/\\") + 1));
    if (!audio_.empty() && mixer_)
        mixer_->playSlide(audio_);
    else if (!audio_.empty())
        sound_.play(audio_);
    beginChange(index);
    shown_ = index;
    reported_ = false;
    motionT_ = 0;
    const bool moves = extras_ && !picture_.pixels.empty() && extras_->motions[std::size_t(index)];
    moving_ =
        moves ? ForMotion(picture_, *extras_->motions[std::size_t(index)], width_, height_) : SlidePicture{};
    render();
}

void X11Player::render() {
    const TSlideRecord* slide =
        !clock_.black() && shown_ >= 0 ? &package_.slides()[std::size_t(shown_)] : nullptr;
    drawFill(slide != nullptr);
    const TSlideRecord* banded = slide && slide->ShowText && extras_ ? slide : nullptr;
    // The caption lies on a band over the picture's foot (or top), or the screen's without a picture.
    int bottom = height_;
    Place at{0, 0, width_, height_};
    if (!clock_.black() && !picture_.pixels.empty() && bottom > 0)
        at = drawPicture(width_, bottom);
    if (banded)
        drawBand(*banded, at);
    if (mapped_)
        present();
}

bool X11Player::moving() const {
    return extras_ && shown_ >= 0 && timing_ && !clock_.black() && !picture_.pixels.empty() &&
           extras_->motions[std::size_t(shown_)];
}

const ShowRules::Look& X11Player::look() const {
    static const ShowRules::Look plain;
    return extras_ && shown_ >= 0 ? extras_->looks[std::size_t(shown_)] : plain;
}

void X11Player::drawFill(bool slide) {
    static const std::vector<std::uint32_t> none;
    const std::vector<std::uint32_t>& fill =
        slide ? fill_.at(shown_, title_ ? backdrop_ : picture_, look(), width_, height_) : none;
    if (!fill.empty()) {
        putPixels(fill, 0, 0, width_, height_);
        return;
    }
    XSetForeground(display_, gc_, BlackPixel(display_, DefaultScreen(display_)));
    XFillRectangle(display_, canvas_, gc_, 0, 0, unsigned(width_), unsigned(height_));
}

X11Player::Place X11Player::drawPicture(int width, int bottom) {
    const std::optional<PackageExtras::Motion>& motion =
        extras_ ? extras_->motions[std::size_t(shown_)] : std::optional<PackageExtras::Motion>();
    if (motion && timing_)
        motionT_ = ShowRules::motionProgress(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                 std::chrono::steady_clock::now() - motionStart_)
                                                 .count(),
                                             motionMs_);
    const PackageExtras::Frame frame =
        motion ? ShowRules::frameAt(*motion, motionT_) : PackageExtras::Frame{};
    const Box to = motion ? FittedFrame(width, bottom, frame.w * picture_.width, frame.h * picture_.height)
                          : ShowRules::placePicture(picture_.width, picture_.height, {0, 0, width, bottom});
    if (to.width <= 0 || to.height <= 0)
        return {0, 0, width, bottom};
    putPixels(motion ? Sampled(moving_, frame, to.width, to.height) : Scaled(picture_, to.width, to.height),
              to.x, to.y, to.width, to.height);
    return {to.x, to.y, to.width, to.height};
}

void X11Player::putPixels(const std::vector<std::uint32_t>& pixels, int left, int top, int width,
                          int height) {
    Visual* visual = DefaultVisual(display_, DefaultScreen(display_));
    XImage* image = XCreateImage(display_, visual, unsigned(DefaultDepth(display_, DefaultScreen(display_))),
                                 ZPixmap, 0, nullptr, unsigned(width), unsigned(height), 32, 0);
    if (!image)
        return;
    image->data = static_cast<char*>(std::malloc(std::size_t(image->bytes_per_line) * std::size_t(height)));
    const bool direct = image->bits_per_pixel == 32 && image->byte_order == LSBFirst &&
                        visual->red_mask == 0xFF0000 && visual->green_mask == 0xFF00 &&
                        visual->blue_mask == 0xFF;
    for (int y = 0; image->data && y < height; ++y) {
        const std::uint32_t* row = pixels.data() + std::size_t(y) * std::size_t(width);
        if (direct)
            std::memcpy(image->data + std::size_t(y) * std::size_t(image->bytes_per_line), row,
                        std::size_t(width) * 4);
        else
            for (int x = 0; x < width; ++x)
                XPutPixel(image, x, y, PixelOf(visual, row[x]));
    }
    if (image->data)
        XPutImage(display_, canvas_, gc_, image, 0, 0, left, top, unsigned(width), unsigned(height));
    XDestroyImage(image);
}

const CaptionPicture::Mask& X11Player::band(int room) {
    if (caption_.slide() != shown_)
        caption_.take(shown_, FolderFile(std::string(), extras_->captions[std::size_t(shown_)]));
    return caption_.at(width_, height_, room);
}

void X11Player::drawBand(const TSlideRecord& slide, const Place& over) {
    const bool atTop = look().captionPlace == ShowRules::CaptionPlace::Top;
    const CaptionPicture::Mask& mask = band(title_  ? height_
                                            : atTop ? height_ - over.y
                                                    : over.y + over.height);
    if (mask.coverage.empty())
        return;
    // The band's rows across the screen, the letters drawn on them; a title's in the middle, unbanded.
    const int top = title_  ? (height_ - mask.height) / 2
                    : atTop ? over.y
                            : over.y + over.height - mask.height;
    XImage* image =
        XGetImage(display_, canvas_, 0, top, unsigned(width_), unsigned(mask.height), AllPlanes, ZPixmap);
    if (!image)
        return;
    const Visual* visual = DefaultVisual(display_, DefaultScreen(display_));
    std::vector<std::uint32_t> rows(std::size_t(width_) * std::size_t(mask.height));
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < width_; ++x)
            rows[std::size_t(y) * std::size_t(width_) + std::size_t(x)] =
                RgbOf(visual, XGetPixel(image, x, y));
    CaptionPicture::DrawBand(rows.data(), width_, mask, caption_.outline(),
                             std::uint32_t(CaptionColour(slide.FontColor)), !title_);
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < width_; ++x)
            XPutPixel(image, x, y,
                      PixelOf(visual, rows[std::size_t(y) * std::size_t(width_) + std::size_t(x)]));
    XPutImage(display_, canvas_, gc_, image, 0, 0, 0, top, unsigned(width_), unsigned(mask.height));
    XDestroyImage(image);
}

// The screen as it is now is kept for the change into slide `index`, where it makes one.
void X11Player::beginChange(int index) {
    const ShowRules::SlideChange change =
        std::size_t(index) < changes_.size() ? changes_[std::size_t(index)] : ShowRules::SlideChange{};
    changing_ = mapped_ && shown_ >= 0 && index != shown_ && change.ms > 0 &&
                change.kind != ShowRules::TransitionKind::Cut;
    if (!changing_)
        return;
    XCopyArea(display_, canvas_, older_, gc_, 0, 0, unsigned(width_), unsigned(height_), 0, 0);
    change_ = change;
    changeStart_ = std::chrono::steady_clock::now();
}

// The canvas on the window, through the change under way; the first time for a slide, its time
// starts and the report tells of it.
void X11Player::present() {
    const double progress = changing_ ? double(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                   std::chrono::steady_clock::now() - changeStart_)
                                                   .count()) /
                                            double(change_.ms)
                                      : 1;
    changing_ = progress < 1;
    if (changing_) {
        DrawChange(display_, gc_, mixed_, older_, canvas_, width_, height_,
                   ShowRules::transitionAt(change_.kind, progress, width_, height_));
        XCopyArea(display_, mixed_, window_, gc_, 0, 0, unsigned(width_), unsigned(height_), 0, 0);
    } else {
        XCopyArea(display_, canvas_, window_, gc_, 0, 0, unsigned(width_), unsigned(height_), 0, 0);
    }
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
    if (mixer_)
        mixer_->setEnd(std::nullopt);
    if (clock_.paused() || clock_.over())
        return;
    const TSlideRecord& slide = package_.slides()[std::size_t(shown_)];
    const int sound = slide.HoldForAudio && !audio_.empty() ? WavMilliseconds(audio_) : 0;
    slideMs_ = clock_.slideTime(package_.timeMs(shown_), slide.HoldForAudio, sound);
    motionMs_ = clock_.ownTime(package_.timeMs(shown_));
    const auto now = std::chrono::steady_clock::now();
    // After a pause the motion goes on from where it stood.
    motionStart_ = now - std::chrono::milliseconds(std::lround(motionT_ * motionMs_));
    timeUp_ = now + std::chrono::milliseconds(slideMs_);
    timing_ = true;
    if (mixer_)
        mixer_->setEnd(showEnd(now));
}

std::optional<std::chrono::steady_clock::time_point>
X11Player::showEnd(std::chrono::steady_clock::time_point now) const {
    if (package_.options().loop && !report_)
        return std::nullopt;
    const int ms = slideMs_ + package_.timeAfter(shown_, clock_);
    return now + std::chrono::milliseconds(ms);
}

void X11Player::key(KeySym key) {
    int digit = 0;
    const ShowKey pressed = keyOf(key,
                                  {{XK_Return, ShowKey::Enter},
                                   {XK_KP_Enter, ShowKey::Enter},
                                   {XK_b, ShowKey::Black},
                                   {XK_period, ShowKey::Black},
                                   {XK_KP_Decimal, ShowKey::Black},
                                   {XK_Escape, ShowKey::Quit},
                                   {XK_space, ShowKey::PlayPause},
                                   {XK_Right, ShowKey::Next},
                                   {XK_Next, ShowKey::Next},
                                   {XK_Left, ShowKey::Previous},
                                   {XK_Prior, ShowKey::Previous},
                                   {XK_Home, ShowKey::First},
                                   {XK_End, ShowKey::Last}},
                                  {XK_0, XK_KP_0}, digit);
    const ShowClock::Outcome outcome = clock_.press(pressed, digit);
    if (outcome.moved)
        moved();
    else if (outcome.retimed)
        startTimer();
    else if (outcome.redrawn)
        render();
}

// A key moved the show: the slide, and the music to where the show stands at its start.
void X11Player::moved() {
    show(clock_.current());
    if (mixer_)
        mixer_->moveMusicTo(package_.timeBefore(clock_.current(), clock_));
}

void X11Player::reportSlide() {
    const std::string line = package_.reportLine(shown_, picture_.width, picture_.height, decoded_, audio_);
    std::fputs(line.c_str(), stdout);
    std::fflush(stdout);
    if (shown_ + 1 == int(package_.slides().size()))
        clock_.quit();
}
