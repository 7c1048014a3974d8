// SPDX-License-Identifier: MIT
#pragma once
// The show written as a video: each slide for its time, its picture and caption drawn as a frame,
// the cross-fades, and the sound track as the viewer plays the slides' sounds. Slides are decoded
// and drawn on a second thread while the frames before them are encoded.

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
};

// The container a file name asks for: WebM for ".webm", MP4 otherwise.
VideoContainer containerForName(const QString& path);

ShareOutcome writeVideo(const VideoJob& job, const ShareControl& control);

} // namespace sharing
