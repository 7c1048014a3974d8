// SPDX-License-Identifier: MIT
#include "win_player.h"

#include <mmsystem.h>

#include <algorithm>

namespace {

const wchar_t WindowClass[] = L"VerascoShow";
constexpr UINT_PTR SlideTimer = 1;

std::wstring Wide(const std::string& utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring out(std::size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), out.data(), n);
    return out;
}

std::string Narrow(const std::wstring& text) {
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// The file of the working folder of that name, as the folder spells it; empty when there is none.
std::string FolderFile(const std::string& name) {
    if (name.empty() || name.find_first_of("/\\:") != std::string::npos)
        return {};
    WIN32_FIND_DATAW entry;
    const HANDLE find = FindFirstFileW(Wide(name).c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return {};
    FindClose(find);
    return Narrow(entry.cFileName);
}

COLORREF Colour(std::int32_t stored) {
    // A system colour has 0x80 in its top byte and its index in the lowest.
    return (stored >> 24 & 0xFF) == 0x80 ? GetSysColor(stored & 0xFF) : COLORREF(stored & 0xFFFFFF);
}

RECT Fitted(const RECT& box, int width, int height) {
    const int bw = box.right - box.left, bh = box.bottom - box.top;
    int w = width, h = height;
    if (w > bw || h > bh) {
        const bool wide = 1ll * width * bh > 1ll * height * bw;
        w = wide ? bw : int(1ll * width * bh / height);
        h = wide ? int(1ll * height * bw / width) : bh;
    }
    const int x = box.left + (bw - w) / 2, y = box.top + (bh - h) / 2;
    return {x, y, x + std::max(w, 1), y + std::max(h, 1)};
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
}

WinPlayer::~WinPlayer() {
    PlaySoundW(nullptr, nullptr, 0);
    if (free_)
        free_(&picture_);
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
    if (free_)
        free_(&picture_);
    const std::string_view data = package_.pictureData(index);
    char why[200] = {};
    if (!data.empty() && decode_ &&
        decode_(reinterpret_cast<const unsigned char*>(data.data()), data.size(), &picture_, why, sizeof why))
        picture_ = QpxRunPicture{};
    const TSlideRecord& slide = package_.slides()[std::size_t(index)];
    audio_ = FolderFile(RecordText(slide.AudioFile.str()));
    if (!audio_.empty())
        PlaySoundW(Wide(audio_).c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
    shown_ = index;
    reported_ = false;
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
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    // The caption takes its line under the picture, which is fitted into the rest.
    RECT box = area;
    if (shown_ >= 0 && package_.slides()[std::size_t(shown_)].ShowText)
        box.bottom = drawCaption(dc, area, package_.slides()[std::size_t(shown_)]);
    if (picture_.pixels && box.bottom > box.top) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), picture_.width, -picture_.height, 1, 32, BI_RGB};
        const RECT to = Fitted(box, picture_.width, picture_.height);
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchDIBits(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, 0, 0, picture_.width,
                      picture_.height, picture_.pixels, &info, DIB_RGB_COLORS, SRCCOPY);
    }
    BitBlt(screen, 0, 0, area.right, area.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(dc, oldCanvas);
    DeleteObject(canvas);
    DeleteDC(dc);
    EndPaint(window_, &ps);
}

int WinPlayer::drawCaption(HDC dc, const RECT& area, const TSlideRecord& slide) {
    const int points = slide.FontSize > 0 ? slide.FontSize : DefaultFontSize;
    const std::string name = RecordText(slide.FontName.str());
    const HFONT font =
        CreateFontW(-MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0,
                    (slide.FontStyle & FontBold) ? FW_BOLD : FW_NORMAL, slide.FontStyle & FontItalic,
                    slide.FontStyle & FontUnderline, slide.FontStyle & FontStrikeOut, DEFAULT_CHARSET, 0, 0,
                    ANTIALIASED_QUALITY, 0, Wide(name.empty() ? std::string(DefaultFontName) : name).c_str());
    const HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Colour(slide.FontColor));
    const std::wstring text = Wide(RecordText(slide.Text.str()));
    constexpr UINT Format = DT_CENTER | DT_SINGLELINE | DT_NOPREFIX;
    RECT line = {area.left + 8, 0, area.right - 8, 0};
    DrawTextW(dc, text.c_str(), int(text.size()), &line, Format | DT_CALCRECT);
    const int height = line.bottom - line.top;
    line = {area.left + 8, area.bottom - 8 - height, area.right - 8, area.bottom - 8};
    DrawTextW(dc, text.c_str(), int(text.size()), &line, Format | DT_BOTTOM);
    SelectObject(dc, old);
    DeleteObject(font);
    return line.top - 8;
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
    if (clock_.paused())
        return;
    const TSlideRecord& slide = package_.slides()[std::size_t(shown_)];
    const int sound = slide.HoldForAudio && !audio_.empty() ? WavMilliseconds(audio_) : 0;
    SetTimer(window_, SlideTimer, UINT(clock_.slideTime(slide.Delay, slide.HoldForAudio, sound)), nullptr);
}

void WinPlayer::key(WPARAM key) {
    switch (key) {
    case VK_ESCAPE:
        clock_.quit();
        DestroyWindow(window_);
        break;
    case VK_SPACE:
        clock_.togglePause();
        startTimer();
        break;
    case VK_RIGHT:
    case VK_NEXT:
        clock_.stepForward();
        show(clock_.current());
        break;
    case VK_LEFT:
    case VK_PRIOR:
        clock_.stepBack();
        show(clock_.current());
        break;
    case VK_HOME:
    case VK_END:
        clock_.goTo(key == VK_HOME ? 0 : clock_.count() - 1);
        show(clock_.current());
        break;
    default:
        break;
    }
}

void WinPlayer::reportSlide() {
    const std::string line =
        package_.reportLine(shown_, picture_.width, picture_.height, picture_.pixels != nullptr, audio_);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), DWORD(line.size()), &written, nullptr);
    if (shown_ + 1 == int(package_.slides().size()))
        PostMessageW(window_, WM_CLOSE, 0, 0);
}
