// SPDX-License-Identifier: MIT
#include "win_player.h"

#include "caption_scale.h"
#include "picture_place.h"
#include "show_timeline.h"
#include "win_change.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace {

const wchar_t WindowClass[] = L"VerascoShow";
constexpr UINT_PTR SlideTimer = 1;
constexpr UINT_PTR FrameTimer = 2;  // a moving picture drawn anew
constexpr UINT_PTR SoundTimer = 3;  // the music's played buffers filled again
constexpr UINT_PTR ChangeTimer = 4; // a change between slides drawn anew
constexpr int SoundBuffers = 4;
constexpr std::size_t SoundBlock = SoundMixer::Rate / 20; // frames of a buffer

std::wstring Wide(const std::string& utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring out(std::size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), out.data(), n);
    return out;
}

COLORREF Colour(std::int32_t stored) {
    // A system colour has 0x80 in its top byte and its index in the lowest.
    return (stored >> 24 & 0xFF) == 0x80 ? GetSysColor(stored & 0xFF) : COLORREF(stored & 0xFFFFFF);
}

// The picture of `width` x `height` placed in `box` by the show's rules.
RECT Fitted(const RECT& box, int width, int height) {
    const ShowRules::Rect r = ShowRules::placePicture(
        width, height, {box.left, box.top, box.right - box.left, box.bottom - box.top});
    return {r.x, r.y, r.x + r.width, r.y + r.height};
}

// The part of `width` x `height` pixels in view, as large as fits into `box`, centred.
RECT FittedFrame(const RECT& box, double width, double height) {
    const ShowRules::RectF f = ShowRules::fitPart(
        width, height,
        {double(box.left), double(box.top), double(box.right - box.left), double(box.bottom - box.top)});
    const int x = int(std::lround(f.x)), y = int(std::lround(f.y));
    return {x, y, x + std::max(1, int(std::lround(f.width))), y + std::max(1, int(std::lround(f.height)))};
}

} // namespace

WinPlayer::WinPlayer(const PackageFiles& package, HMODULE runtime, bool report)
    : package_(package), report_(report),
      clock_(int(package.slides().size()), package.options().loop && !report,
             report ? 20 : package.options().speed) {
    if (runtime) {
        decode_ = reinterpret_cast<QpxRunDecodeFunction>(GetProcAddress(runtime, "qpxrun_decode"));
        free_ = reinterpret_cast<QpxRunFreeFunction>(GetProcAddress(runtime, "qpxrun_free"));
    }
    extras_ = package.extras();
    std::vector<std::string> music;
    for (const std::string& name : extras_ ? extras_->music : std::vector<std::string>())
        if (std::string path = FolderFile(std::string(), name); !path.empty())
            music.push_back(std::move(path));
    if (!music.empty())
        openSound(std::move(music), extras_->fadeMs, extras_->musicLevel);
    if (extras_) {
        std::vector<std::int64_t> own;
        for (int i = 0; i < int(package.slides().size()); ++i)
            own.push_back(clock_.ownTime(package.timeMs(i)));
        changes_ = ShowRules::slideChanges(extras_->transitions, own, 0);
    }
}

WinPlayer::~WinPlayer() {
    PlaySoundW(nullptr, nullptr, 0);
    closeSound();
    dropPicture();
    for (const HBITMAP frame : {lastFrame_, older_})
        if (frame)
            DeleteObject(frame);
}

void WinPlayer::openSound(std::vector<std::string> music, int fadeMs, double level) {
    WAVEFORMATEX format{WAVE_FORMAT_PCM,
                        SoundMixer::Channels,
                        SoundMixer::Rate,
                        SoundMixer::Rate * SoundMixer::Channels * 2,
                        SoundMixer::Channels * 2,
                        16,
                        0};
    if (waveOutOpen(&wave_, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
        wave_ = nullptr; // no device: the show is silent
        return;
    }
    mixer_ = std::make_unique<SoundMixer>(std::move(music), fadeMs, level);
    headers_.assign(SoundBuffers, WAVEHDR{});
    buffers_.assign(SoundBuffers, std::vector<std::int16_t>(SoundBlock * SoundMixer::Channels));
    for (int i = 0; i < SoundBuffers; ++i) {
        headers_[i].lpData = reinterpret_cast<LPSTR>(buffers_[i].data());
        headers_[i].dwBufferLength = DWORD(buffers_[i].size() * 2);
        waveOutPrepareHeader(wave_, &headers_[i], sizeof(WAVEHDR));
        headers_[i].dwFlags |= WHDR_DONE;
    }
    feedSound();
}

void WinPlayer::feedSound() {
    for (int i = 0; wave_ && i < SoundBuffers; ++i)
        if (headers_[i].dwFlags & WHDR_DONE) {
            mixer_->mix(buffers_[i].data(), SoundBlock, std::chrono::steady_clock::now());
            headers_[i].dwFlags &= ~DWORD(WHDR_DONE);
            waveOutWrite(wave_, &headers_[i], sizeof(WAVEHDR));
        }
}

void WinPlayer::closeSound() {
    if (!wave_)
        return;
    waveOutReset(wave_);
    for (WAVEHDR& header : headers_)
        waveOutUnprepareHeader(wave_, &header, sizeof(WAVEHDR));
    waveOutClose(wave_);
    wave_ = nullptr;
}

int WinPlayer::run() {
    WNDCLASSW type{};
    type.lpfnWndProc = &WinPlayer::windowProc;
    type.hInstance = GetModuleHandleW(nullptr);
    type.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    type.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    type.lpszClassName = WindowClass;
    RegisterClassW(&type);
    window_ = CreateWindowExW(0, WindowClass, L"Verasco", WS_POPUP, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                              GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, type.hInstance, this);
    if (!window_)
        return 3;
    if (wave_)
        SetTimer(window_, SoundTimer, 10, nullptr);
    show(0);
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

LRESULT CALLBACK WinPlayer::windowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        auto* created = static_cast<WinPlayer*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        created->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, LONG_PTR(created));
    }
    auto* player = reinterpret_cast<WinPlayer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return player ? player->handle(message, w, l) : DefWindowProcW(window, message, w, l);
}

LRESULT WinPlayer::handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_PAINT:
        paint();
        onScreen();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_TIMER:
        if (w == SoundTimer) {
            feedSound();
            return 0;
        }
        if (w == FrameTimer || w == ChangeTimer) {
            InvalidateRect(window_, nullptr, FALSE);
            return 0;
        }
        KillTimer(window_, SlideTimer);
        clock_.timeUp();
        if (clock_.over())
            DestroyWindow(window_);
        else
            show(clock_.current());
        return 0;
    case WM_KEYDOWN:
        key(w);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window_, message, w, l);
    }
}

void WinPlayer::show(int index) {
    picture_ = PackedPicture(package_.pictureData(index), decode_, free_, decoded_);
    // A title slide's blurred fill is made of the picture after it.
    title_ = package_.isTitle(index);
    const bool blurred = extras_ && extras_->looks[std::size_t(index)].fill == ShowRules::Fill::Blur;
    bool byRuntime = false;
    backdrop_ = title_ && blurred ? PackedPicture(package_.pictureData(package_.titleBackdrop(index)),
                                                  decode_, free_, byRuntime)
                                  : SlidePicture{};
    const TSlideRecord& slide = package_.slides()[std::size_t(index)];
    const std::string named = RecordText(slide.AudioFile.str());
    audio_ = FolderFile(std::string(), named.substr(named.find_last_of("/\\") + 1));
    PcmSound sound;
    if (!audio_.empty() && mixer_ && ReadPcmWav(audio_, sound))
        mixer_->playSlide(std::move(sound));
    else if (!audio_.empty() && !mixer_)
        PlaySoundW(Wide(audio_).c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
    beginChange(index);
    shown_ = index;
    reported_ = false;
    motionT_ = 0;
    keepPicture();
    InvalidateRect(window_, nullptr, FALSE);
}

void WinPlayer::paint() {
    PAINTSTRUCT ps;
    const HDC screen = BeginPaint(window_, &ps);
    RECT area;
    GetClientRect(window_, &area);
    const HDC dc = CreateCompatibleDC(screen);
    const HBITMAP canvas = CreateCompatibleBitmap(screen, area.right, area.bottom);
    const HGDIOBJ oldCanvas = SelectObject(dc, canvas);
    // The caption lies on a band over the picture's foot (or top), or the screen's without a picture.
    const TSlideRecord* slide =
        shown_ >= 0 && !clock_.black() ? &package_.slides()[std::size_t(shown_)] : nullptr;
    drawFill(dc, area, slide != nullptr);
    const bool banded = slide && slide->ShowText && extras_;
    RECT box = area;
    RECT at = area;
    if (slide && !picture_.pixels.empty() && box.bottom > box.top)
        at = drawPicture(dc, box);
    if (banded)
        drawBand(dc, at, area.bottom - area.top, *slide);
    presentChange(screen, dc, area.right, area.bottom);
    SelectObject(dc, oldCanvas);
    // The frame is kept for a change that may start from it.
    if (lastFrame_)
        DeleteObject(lastFrame_);
    lastFrame_ = canvas;
    DeleteDC(dc);
    EndPaint(window_, &ps);
}

// The frame last drawn is kept for the change into slide `index`, where it makes one.
void WinPlayer::beginChange(int index) {
    const ShowRules::SlideChange change =
        std::size_t(index) < changes_.size() ? changes_[std::size_t(index)] : ShowRules::SlideChange{};
    changing_ = lastFrame_ && shown_ >= 0 && index != shown_ && change.ms > 0 &&
                change.kind != ShowRules::TransitionKind::Cut;
    if (!changing_)
        return;
    if (older_)
        DeleteObject(older_);
    older_ = std::exchange(lastFrame_, nullptr);
    change_ = change;
    changeStart_ = std::chrono::steady_clock::now();
    SetTimer(window_, ChangeTimer, 16, nullptr);
}

// The canvas in `dc` on the screen, through the change under way.
void WinPlayer::presentChange(HDC screen, HDC dc, int width, int height) {
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - changeStart_);
    const double progress = changing_ ? double(elapsed.count()) / double(change_.ms) : 1;
    if (!changing_ || progress >= 1) {
        changing_ = false;
        KillTimer(window_, ChangeTimer);
        BitBlt(screen, 0, 0, width, height, dc, 0, 0, SRCCOPY);
        return;
    }
    const HDC olderDc = CreateCompatibleDC(screen), mixedDc = CreateCompatibleDC(screen);
    const HGDIOBJ oldOlder = SelectObject(olderDc, older_);
    const HBITMAP mixed = CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ oldMixed = SelectObject(mixedDc, mixed);
    DrawChange(mixedDc, olderDc, dc, width, height,
               ShowRules::transitionAt(change_.kind, progress, width, height));
    BitBlt(screen, 0, 0, width, height, mixedDc, 0, 0, SRCCOPY);
    SelectObject(mixedDc, oldMixed);
    SelectObject(olderDc, oldOlder);
    DeleteObject(mixed);
    DeleteDC(mixedDc);
    DeleteDC(olderDc);
}

const ShowRules::Look& WinPlayer::look() const {
    static const ShowRules::Look plain;
    return extras_ && shown_ >= 0 ? extras_->looks[std::size_t(shown_)] : plain;
}

void WinPlayer::drawFill(HDC dc, const RECT& area, bool slide) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    static const std::vector<std::uint32_t> none;
    const std::vector<std::uint32_t>& fill =
        slide ? fill_.at(shown_, title_ ? backdrop_ : picture_, look(), width, height) : none;
    if (fill.empty()) {
        FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        return;
    }
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    SetDIBitsToDevice(dc, area.left, area.top, DWORD(width), DWORD(height), 0, 0, 0, UINT(height),
                      fill.data(), &info, DIB_RGB_COLORS);
}

const std::optional<PackageExtras::Motion>& WinPlayer::motion() const {
    static const std::optional<PackageExtras::Motion> none;
    return extras_ && shown_ >= 0 && !picture_.pixels.empty() ? extras_->motions[std::size_t(shown_)] : none;
}

void WinPlayer::keepPicture() {
    dropPicture();
    if (!motion())
        return;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), picture_.width, -picture_.height, 1, 32, BI_RGB};
    void* bits = nullptr;
    pictureBitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!pictureBitmap_)
        return;
    std::memcpy(bits, picture_.pixels.data(), std::size_t(picture_.width) * std::size_t(picture_.height) * 4);
    pictureDc_ = CreateCompatibleDC(nullptr);
    oldPicture_ = SelectObject(pictureDc_, pictureBitmap_);
}

void WinPlayer::dropPicture() {
    if (pictureDc_) {
        SelectObject(pictureDc_, oldPicture_);
        DeleteDC(pictureDc_);
    }
    if (pictureBitmap_)
        DeleteObject(pictureBitmap_);
    pictureDc_ = nullptr;
    pictureBitmap_ = nullptr;
}

RECT WinPlayer::drawPicture(HDC dc, const RECT& box) {
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    const std::optional<PackageExtras::Motion>& moving = motion();
    if (!moving || !pictureDc_) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), picture_.width, -picture_.height, 1, 32, BI_RGB};
        const RECT to = Fitted(box, picture_.width, picture_.height);
        StretchDIBits(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, 0, 0, picture_.width,
                      picture_.height, picture_.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
        return to;
    }
    if (timing_)
        motionT_ = ShowRules::motionProgress(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                 std::chrono::steady_clock::now() - motionStart_)
                                                 .count(),
                                             motionMs_);
    const PackageExtras::Frame f = ShowRules::frameAt(*moving, motionT_);
    const RECT to = FittedFrame(box, f.w * picture_.width, f.h * picture_.height);
    StretchBlt(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, pictureDc_,
               int(std::lround(f.x * picture_.width)), int(std::lround(f.y * picture_.height)),
               std::max(1, int(std::lround(f.w * picture_.width))),
               std::max(1, int(std::lround(f.h * picture_.height))), SRCCOPY);
    return to;
}

void WinPlayer::drawBand(HDC dc, const RECT& over, int screenHeight, const TSlideRecord& slide) {
    if (caption_.slide() != shown_)
        caption_.take(shown_, FolderFile(std::string(), extras_->captions[std::size_t(shown_)]));
    RECT area;
    GetClientRect(window_, &area);
    const int width = area.right - area.left;
    const bool atTop = look().captionPlace == ShowRules::CaptionPlace::Top;
    const CaptionPicture::Mask& mask = caption_.at(width, screenHeight,
                                                   title_  ? screenHeight
                                                   : atTop ? area.bottom - over.top
                                                           : over.bottom - area.top);
    if (mask.coverage.empty())
        return;
    // A title stands in the middle of the screen, without a band.
    const int top = title_  ? area.top + (screenHeight - mask.height) / 2
                    : atTop ? over.top
                            : over.bottom - mask.height;
    const RECT band{area.left, top, area.right, top + mask.height};
    // The band's rows across the screen into a bitmap of their own, darkened, the letters drawn on them.
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -mask.height, 1, 32, BI_RGB};
    void* bits = nullptr;
    const HBITMAP rows = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!rows)
        return;
    const HDC rowsDc = CreateCompatibleDC(dc);
    const HGDIOBJ old = SelectObject(rowsDc, rows);
    BitBlt(rowsDc, 0, 0, width, mask.height, dc, area.left, band.top, SRCCOPY);
    GdiFlush();
    const COLORREF colour = Colour(slide.FontColor);
    CaptionPicture::DrawBand(static_cast<std::uint32_t*>(bits), width, mask, caption_.outline(),
                             std::uint32_t(GetRValue(colour)) << 16 | std::uint32_t(GetGValue(colour)) << 8 |
                                 GetBValue(colour),
                             !title_);
    BitBlt(dc, area.left, band.top, width, mask.height, rowsDc, 0, 0, SRCCOPY);
    SelectObject(rowsDc, old);
    DeleteDC(rowsDc);
    DeleteObject(rows);
}

// The slide is on screen: its time starts, and the report tells of it.
void WinPlayer::onScreen() {
    if (reported_ || shown_ < 0)
        return;
    reported_ = true;
    if (report_)
        reportSlide();
    startTimer();
}

void WinPlayer::startTimer() {
    KillTimer(window_, SlideTimer);
    KillTimer(window_, FrameTimer);
    timing_ = false;
    if (mixer_)
        mixer_->setEnd(std::nullopt);
    if (clock_.paused())
        return;
    const TSlideRecord& slide = package_.slides()[std::size_t(shown_)];
    const int sound = slide.HoldForAudio && !audio_.empty() ? WavMilliseconds(audio_) : 0;
    slideMs_ = clock_.slideTime(package_.timeMs(shown_), slide.HoldForAudio, sound);
    motionMs_ = clock_.ownTime(package_.timeMs(shown_));
    const auto now = std::chrono::steady_clock::now();
    // After a pause the motion goes on from where it stood.
    motionStart_ = now - std::chrono::milliseconds(std::lround(motionT_ * motionMs_));
    timing_ = true;
    SetTimer(window_, SlideTimer, UINT(slideMs_), nullptr);
    if (motion())
        SetTimer(window_, FrameTimer, 16, nullptr);
    if (mixer_ && !(package_.options().loop && !report_))
        mixer_->setEnd(now + std::chrono::milliseconds(slideMs_ + package_.timeAfter(shown_, clock_)));
}

void WinPlayer::key(WPARAM key) {
    int digit = 0;
    const ShowKey pressed = keyOf(key,
                                  {{VK_RETURN, ShowKey::Enter},
                                   {'B', ShowKey::Black},
                                   {VK_OEM_PERIOD, ShowKey::Black},
                                   {VK_DECIMAL, ShowKey::Black},
                                   {VK_ESCAPE, ShowKey::Quit},
                                   {VK_SPACE, ShowKey::PlayPause},
                                   {VK_RIGHT, ShowKey::Next},
                                   {VK_NEXT, ShowKey::Next},
                                   {VK_LEFT, ShowKey::Previous},
                                   {VK_PRIOR, ShowKey::Previous},
                                   {VK_HOME, ShowKey::First},
                                   {VK_END, ShowKey::Last}},
                                  {'0', VK_NUMPAD0}, digit);
    const ShowClock::Outcome outcome = clock_.press(pressed, digit);
    if (clock_.over())
        DestroyWindow(window_);
    else if (outcome.moved)
        moved();
    else if (outcome.retimed)
        startTimer();
    else if (outcome.redrawn)
        InvalidateRect(window_, nullptr, FALSE);
}

// A key moved the show: the slide, and the music to where the show stands at its start.
void WinPlayer::moved() {
    show(clock_.current());
    if (mixer_)
        mixer_->moveMusicTo(package_.timeBefore(clock_.current(), clock_));
}

void WinPlayer::reportSlide() {
    const std::string line = package_.reportLine(shown_, picture_.width, picture_.height, decoded_, audio_);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), DWORD(line.size()), &written, nullptr);
    if (shown_ + 1 == int(package_.slides().size()))
        PostMessageW(window_, WM_CLOSE, 0, 0);
}
