// SPDX-License-Identifier: MIT
#pragma once
// The slides' captions in the video file: a chapter for each, named by it, and where asked a subtitle
// track that players show or hide (mov_text in MP4, WebVTT in WebM).

#include "av_support.h"
#include "codec_backend.h"

#include <vector>

namespace sharing::codec {

// Gives the file its chapters; before its header is written.
void addChapters(AVFormatContext* file, const std::vector<VideoCaption>& captions);

class SubtitleTrack {
  public:
    // Adds the subtitle stream; before the file's header is written.
    bool open(AVFormatContext* file, bool mp4, QString* error);
    // Writes every caption as a subtitle; after the header.
    bool write(AVFormatContext* file, const std::vector<VideoCaption>& captions, QString* error);

  private:
    CodecContextPtr encoder_;
    AVStream* stream_ = nullptr;
};

} // namespace sharing::codec
