// SPDX-License-Identifier: MIT
// The player of a Windows package: the show of the folder it runs in, full screen on a black
// ground, each picture fitted to the screen with its caption over its foot on a dark band as the
// viewer's full screen draws it (the package carries the caption drawn, caption_picture.h), for its
// time at the speed the slide list asks for, looping where it asks for that, each slide's WAV sound
// played as it comes.
// Esc quits, Space pauses and plays, the arrow and page keys step, Home and End go to the first and
// the last slide, a number and Enter to that slide, B or . blacks the screen and brings it back.
// Pictures stand upright by a photograph's orientation tag. A package with the show's data beyond
// its records moves each picture as its slide asks (pan and zoom, at each frame), changes into each
// slide by the change stored for it (win_change.h) and plays the show's music under the slides'
// sounds in one stream. With the report switch each slide, once it is on
// screen, is also written to standard output as one line of tab-separated key=value fields, the show
// runs at the fastest speed without looping and the player quits after the last slide.
#pragma once

#include "caption_picture.h"
#include "package_extras.h"
#include "package_files.h"
#include "qpx_runtime.h"
#include "show_clock.h"
#include "show_transition.h"
#include "slide_picture.h"
#include "sound_mixer.h"

#include <windows.h>

#include <mmsystem.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class WinPlayer {
  public:
    WinPlayer(const PackageFiles& package, HMODULE runtime, bool report);
    ~WinPlayer();
    WinPlayer(const WinPlayer&) = delete;
    WinPlayer& operator=(const WinPlayer&) = delete;

    // Opens the window and plays until the show is over; returns the exit code.
    int run();

  private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT handle(UINT message, WPARAM w, LPARAM l);
    void show(int index);
    void paint();
    void beginChange(int index);
    void presentChange(HDC screen, HDC dc, int width, int height);
    // Draws the picture, or the part of it in view, fitted into `box`; returns where it went.
    RECT drawPicture(HDC dc, const RECT& box);
    // Draws the caption over the foot (or the top) of `over` on a dark band, across the screen's width.
    void drawBand(HDC dc, const RECT& over, int screenHeight, const TSlideRecord& slide);
    // Fills `area` beside the picture by the slide's look (black without a slide).
    void drawFill(HDC dc, const RECT& area, bool slide);
    const ShowRules::Look& look() const;
    // The slide's picture as a bitmap of its own, for the parts of it in view.
    void keepPicture();
    void dropPicture();
    const std::optional<PackageExtras::Motion>& motion() const;
    // The music's stream: opened once, its buffers filled by the mixer as they are played.
    void openSound(std::vector<std::string> music, int fadeMs, double level);
    void feedSound();
    void closeSound();
    void onScreen();
    void startTimer();
    void key(WPARAM key);
    void moved();
    void reportSlide();

    const PackageFiles& package_;
    QpxRunDecodeFunction decode_ = nullptr;
    QpxRunFreeFunction free_ = nullptr;
    bool report_;
    ShowClock clock_;
    HWND window_ = nullptr;
    int shown_ = -1;                              // the slide whose picture is held
    bool reported_ = true;                        // the slide on screen has been reported and timed
    SlidePicture picture_;                        // upright
    bool decoded_ = false;                        // the picture came from the run-time
    bool title_ = false;                          // the slide held is a title slide
    SlidePicture backdrop_;                       // the picture a title slide's blurred fill is made of
    std::string audio_;                           // the sound file of the slide held, as found in the folder
    std::optional<PackageExtras::Extras> extras_; // with the members of the slides' captions
    CaptionPicture::Caption caption_;             // the caption of the slide on screen
    SlideFill fill_;                              // the fill beside the picture on screen
    HDC pictureDc_ = nullptr;
    HBITMAP pictureBitmap_ = nullptr;
    HGDIOBJ oldPicture_ = nullptr;
    double motionT_ = 0; // how far the slide's motion has gone, 0 to 1
    std::chrono::steady_clock::time_point motionStart_;
    int slideMs_ = 0;
    int motionMs_ = 0; // the slide's own time, over which its motion runs
    bool timing_ = false;
    std::unique_ptr<SoundMixer> mixer_;
    HWAVEOUT wave_ = nullptr;
    std::vector<WAVEHDR> headers_;
    std::vector<std::vector<std::int16_t>> buffers_;
    // The change into each slide, and the one under way: from the frame shown before, kept in older_.
    std::vector<ShowRules::SlideChange> changes_;
    ShowRules::SlideChange change_;
    bool changing_ = false;
    std::chrono::steady_clock::time_point changeStart_;
    HBITMAP lastFrame_ = nullptr, older_ = nullptr;
};
