// SPDX-License-Identifier: MIT
// The player of a Windows package: the show of the folder it runs in, full screen on a black
// ground, each picture fitted to the screen with its caption beneath, for its time at the speed the
// slide list asks for, looping where it asks for that, each slide's WAV sound played as it comes.
// Esc quits, Space pauses and plays, the arrow and page keys step, Home and End go to the first and
// the last slide. With the report switch each
// slide, once it is on screen, is also written to standard output as one line of tab-separated
// key=value fields, the show runs at the fastest speed without looping and the player quits after
// the last slide.
#pragma once

#include "package_files.h"
#include "qpx_runtime.h"
#include "show_clock.h"

#include <windows.h>

#include <string>

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
    // Draws the caption at the foot of `area`; returns where its line begins.
    int drawCaption(HDC dc, const RECT& area, const TSlideRecord& slide);
    void onScreen();
    void startTimer();
    void key(WPARAM key);
    void reportSlide();

    const PackageFiles& package_;
    QpxRunDecodeFunction decode_ = nullptr;
    QpxRunFreeFunction free_ = nullptr;
    bool report_;
    ShowClock clock_;
    HWND window_ = nullptr;
    int shown_ = -1;       // the slide whose picture is held
    bool reported_ = true; // the slide on screen has been reported and timed
    QpxRunPicture picture_{};
    std::string audio_; // the sound file of the slide held, as found in the folder
};
