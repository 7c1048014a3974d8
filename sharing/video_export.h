// SPDX-License-Identifier: MIT
#pragma once
// The show written as a video: each slide for its time, its picture and caption drawn as a frame,
// the cross-fades, and the sound track as the viewer plays the slides' sounds, with the show's music
// under them at the viewer's loudness (a video has an end, so the music starts again from its first
// file until the video has faded out). Slides are decoded and drawn on a second thread while the
// frames before them are encoded.

#include "codec_backend.h"
#include "share_work.h"
#include "shared_show.h"

namespace sharing {

struct VideoJob {
    SharedShow show;
    QString target;
    VideoContainer container = VideoContainer::Mp4;
    QSize size{1280, 720};
    int fps = 25;
    VideoQuality quality = VideoQuality::Balanced;
    bool subtitles = false; // the captions as a subtitle track, not drawn on the picture
};

// The container a file name asks for: WebM for ".webm", MP4 otherwise.
VideoContainer containerForName(const QString& path);

// The video's file name for a name typed in the save dialog with the filter of `chosen` selected.
// ".mp4" and ".webm" stay as typed (either case) and say the container. An extension of another
// video container (".avi", ".mkv", ".mov", ...) is replaced by the filter's: the program writes
// only these two, and the name then says what the file holds. Any other name (none, or a dot
// within it, as in "trip.2024") gets the filter's extension added.
QString videoFileName(const QString& typed, VideoContainer chosen);

ShareOutcome writeVideo(const VideoJob& job, const ShareControl& control);

} // namespace sharing
