// SPDX-License-Identifier: MIT
#pragma once
// Slide times fitted to the show's music: tenths of a second, within the limits of a slide's time, so
// that the show lasts as long as its music files one after another. A slide that waits for its own sound
// keeps its time; it lasts as long as its time or its sound, whichever is longer, and the other slides share
// what is left.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <vector>

class ShowDocument;

namespace sharing {

class CodecBackend;

// What the fit knows of one slide.
struct FitSlide {
    std::int64_t timeMs = 1000; // its own time
    std::int64_t heldMs = -1;   // the length of its own sound where it waits for it, or -1
};

// The length of each file in milliseconds (-1 for one that is not there or no sound), each measured
// once, on a thread of its own while the windows go on painting.
std::map<QString, std::int64_t> soundLengths(CodecBackend& codec, const QStringList& paths);

// The slides' new times in milliseconds, whole tenths of a second (held slides keep theirs), for
// music of `musicMs` milliseconds.
std::vector<std::int64_t> fittedSlideTimes(const std::vector<FitSlide>& slides, std::int64_t musicMs);

// Measures the music and the held slides' sounds with the codec, on a thread of its own while the
// windows go on painting, and gives the slides their fitted times as one step of the show's history
// ("Fit Slides to Music"). An empty text on success, or why nothing was changed.
QString fitSlidesToMusic(ShowDocument& show, CodecBackend& codec);

} // namespace sharing
