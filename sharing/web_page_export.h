// SPDX-License-Identifier: MIT
#pragma once
// The show written as a web page: a folder that plays it in any current browser with nothing else
// installed and no request outside itself. index.html carries the player and the show's data; the
// pictures are JPEGs no larger than 1920 pixels on their long side (as the imaging loader gives
// them, so upright; for a file that is not there, the viewer's grey stand-in); WAV (PCM) and MP3
// sounds, the slides' (sounds/sound-N) and the show's music (sounds/music-N), are copied as they
// are and others converted to MP3, the one compressed sound every current browser plays; a music
// file that cannot be played is left out. Pictures and sounds are prepared on two threads. An earlier page in
// the target folder is replaced by the new one; files the user added to its folder stay.

#include "share_work.h"
#include "shared_show.h"

namespace sharing {

struct WebPageJob {
    SharedShow show;
    QString target; // the folder
};

// The pictures' longest side in the page.
inline constexpr int WebPictureLimit = 1920;

ShareOutcome writeWebPage(const WebPageJob& job, const ShareControl& control);

// Whether `folder` holds a web page written by this program, which a new page may replace.
bool isSharedWebPage(const QString& folder);

} // namespace sharing
