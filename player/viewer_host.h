// SPDX-License-Identifier: MIT
#pragma once
// What the viewer needs from the program around it: the stored show switches and, in the full
// program, the preferences dialog and the main window. A program without them leaves hooks empty:
// the viewer then plays with the switches it was given and offers no Preferences button.

#include <functional>

class QScreen;
class QSize;
class TPhoto;

struct ShowSwitches {
    bool ShowSlideControls = true; // the control strip is shown
    bool LoopSlideShow = true;     // after the last slide the show starts again
    bool HideEditor = false;       // the main window is hidden, not disabled, while the viewer is open
    bool FullScreen = false;       // the viewer opens in full screen
    QScreen* Screen = nullptr;     // the screen the viewer opens on; none keeps the one it is on
    int CrossFadeMs = 0;           // slides change by a cross-fade of this length; 0 cuts
    bool ReduceMotion = false;     // motions show as still pictures of their end, slides change by cuts
};

struct ViewerHost {
    // The stored switches; read when a show starts and after the preferences dialog.
    std::function<ShowSwitches()> switches;
    // The preferences dialog, with the two window switches greyed out; on OK it gives every slide the
    // default time, hold-for-audio and caption switch.
    std::function<void()> editPreferences;
    // The viewer has opened: hide the main window, or make it take no input.
    std::function<void(bool hideEditor)> viewerOpened;
    // The viewer has closed: show the main window again or let it take input, and repaint its grids.
    std::function<void(bool hideEditor)> viewerClosed;
    // Puts the picture of a slide into the viewer's imaging control, decoded to cover at least `box`,
    // for a program whose slides are not files of their own. Left empty, the slide's image file is
    // loaded.
    std::function<void(int index, QSize box, TPhoto& photo)> loadPicture;
};
