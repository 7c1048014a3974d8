// SPDX-License-Identifier: MIT
#pragma once
// What a shared video or web page shows of each slide, read from the show document on the window
// thread, so that the work that follows runs on other threads without touching the document.

#include "frame_look.h"
#include "show_motion.h"
#include "show_timeline.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class QPalette;
class ShowDocument;

namespace sharing {

using ShowRules::frameAt;
using ShowRules::makeTimeline;
using ShowRules::ShowTimeline;
using ShowRules::SlideSpan;
using ShowRules::SlideTiming;
using ShowRules::SoundPlay;

struct SharedSlide {
    QString picture;            // the picture file; empty for a blank slide
    QString audio;              // the slide's playable audio (a file that exists); empty when it has none
    std::int64_t timeMs = 5000; // the slide's own time
    bool holdForAudio = false;
    bool showText = false;
    QString caption; // without blanks and control characters at either end
    QFont font;      // as the viewer draws the caption
    QColor colour;
    std::optional<ShowMotion::Motion> motion;        // pan and zoom over the slide's own time
    std::optional<ShowRules::Transition> transition; // the change into it as stored
    ShowRules::Look look;                            // its fill and its caption's place
    bool title = false; // a title slide: its caption large in the middle of the frame, on its fill
    QString backdrop;   // the picture a title slide's blurred fill is made of; empty for none
};

struct SharedShow {
    std::vector<SharedSlide> slides;
    bool loop = false;
    std::int64_t fadeMs = 0;      // the change between slides that store none: a cross-fade; 0 cuts
    std::vector<QString> music;   // the show's music files, played one after another under it
    std::int64_t musicFadeMs = 0; // the music's fade-out at the show's end
    double musicLevel = 1.0;      // the show's level for its music, 0 to 1
};

// The show's slides as the viewer plays them; system colours are taken from `palette`.
SharedShow readSharedShow(const ShowDocument& show, const QPalette& palette);

// The timing of the slides, with the length of each slide's sound: below 0 where it cannot be
// played. `audioMs` holds one entry a slide.
std::vector<SlideTiming> slideTimings(const SharedShow& show, const std::vector<std::int64_t>& audioMs);

// What an export that was written says of the music files it left out because they are not there
// or cannot be played: their names; empty when it left out none.
QString musicLeftOutNote(const std::vector<QString>& files);

} // namespace sharing
