// SPDX-License-Identifier: MIT
// The player of a Linux package, on the X Window System alone (Wayland desktops run it through
// XWayland): the show of the folder it runs in, full screen on a black ground, each picture fitted
// to the screen with its caption over its foot on a dark band as the viewer's full screen draws it
// (the package carries the caption drawn, caption_picture.h), for its time at
// the speed the slide list asks for, looping where it asks for that, each slide's WAV sound played
// as it comes and the slide held for it where the slide asks. Esc (or closing the window) quits,
// Space pauses and plays, the arrow and page keys step, Home and End go to the first and the last
// slide, a number and Enter to that slide, B or . blacks the screen and brings it back. A package
// with the show's data beyond its records moves each picture as its slide asks (pan and zoom, at
// each frame) and changes into each slide by the change stored for it (x11_change.h). With
// the report switch each slide, once it is on screen, is also written to standard output as one line of
// tab-separated key=value fields, the show runs at the fastest speed without looping and the player quits
// after the last slide.
#pragma once

#include "caption_picture.h"
#include "package_extras.h"
#include "package_files.h"
#include "qpx_runtime.h"
#include "show_clock.h"
#include "show_transition.h"
#include "slide_picture.h"
#include "wav_sound.h"

#include <X11/Xlib.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The decoding run-time's functions; null where the run-time could not be loaded.
struct DecodingRuntime {
    QpxRunDecodeFunction decode = nullptr;
    QpxRunFreeFunction release = nullptr;
};

class X11Player {
  public:
    X11Player(const PackageFiles& package, DecodingRuntime runtime, bool report);
    ~X11Player();
    X11Player(const X11Player&) = delete;
    X11Player& operator=(const X11Player&) = delete;

    // Opens the window on `display` and plays until the show is over; returns the exit code.
    int run(Display* display);

  private:
    void openWindow();
    void makeCanvas();
    void handle(XEvent& event);
    void show(int index);
    void render();
    void beginChange(int index);
    void present();
    // Draws the picture, or the part of it in view, fitted into the top `bottom` rows; returns where
    // it went.
    struct Place {
        int x = 0, y = 0, width = 0, height = 0;
    };
    Place drawPicture(int width, int bottom);
    // The screen filled beside the picture by the slide's look (black without a slide).
    void drawFill(bool slide);
    // `pixels` (0xRRGGBB, `width` x `height`) onto the canvas at (left, top).
    void putPixels(const std::vector<std::uint32_t>& pixels, int left, int top, int width, int height);
    const ShowRules::Look& look() const;
    // The caption of the slide on screen at the screen's size, no higher than `room`: as high as
    // its band; empty for none.
    const CaptionPicture::Mask& band(int room);
    // Draws the caption over the foot (or the top) of `over` on a dark band, across the screen's width.
    void drawBand(const TSlideRecord& slide, const Place& over);
    // The slide on screen moves: its picture is drawn anew at each frame.
    bool moving() const;
    // When the show ends, as far as the slides' times tell from `now`; none for a show that loops.
    std::optional<std::chrono::steady_clock::time_point>
    showEnd(std::chrono::steady_clock::time_point now) const;
    void onScreen();
    void startTimer();
    void key(KeySym key);
    void moved();
    void reportSlide();

    const PackageFiles& package_;
    DecodingRuntime runtime_;
    bool report_;
    ShowClock clock_;
    WavSound sound_;
    Display* display_ = nullptr;
    Window window_ = 0;
    Pixmap canvas_ = 0;
    GC gc_ = nullptr;
    Atom closeAtom_ = 0;
    int width_ = 0, height_ = 0;
    bool mapped_ = false;
    int shown_ = -1;       // the slide whose picture is held
    bool reported_ = true; // the slide on screen has been reported and timed
    bool timing_ = false;
    std::chrono::steady_clock::time_point timeUp_;
    SlidePicture picture_;
    bool decoded_ = false;  // the picture came from the run-time
    bool title_ = false;    // the slide held is a title slide
    SlidePicture backdrop_; // the picture a title slide's blurred fill is made of
    std::string audio_;     // the sound file of the slide held, as found in the folder
    // The show's data beyond its records, with the members of the slides' captions.
    std::optional<PackageExtras::Extras> extras_;
    SlidePicture moving_; // a moving slide's picture at the size its frames need
    double motionT_ = 0;  // how far the slide's motion has gone, 0 to 1
    std::chrono::steady_clock::time_point motionStart_;
    int slideMs_ = 0;
    int motionMs_ = 0; // the slide's own time, over which its motion runs
    // With music, the show's sound goes through the mixer as one stream.
    std::unique_ptr<MixedSound> mixer_;
    CaptionPicture::Caption caption_; // the caption of the slide on screen
    // The change into each slide, and the one under way: from the screen as it was, kept in older_,
    // to the canvas, put together on mixed_.
    std::vector<ShowRules::SlideChange> changes_;
    ShowRules::SlideChange change_;
    bool changing_ = false;
    std::chrono::steady_clock::time_point changeStart_;
    Pixmap older_ = 0, mixed_ = 0;
    SlideFill fill_; // the fill beside the picture on screen
};
