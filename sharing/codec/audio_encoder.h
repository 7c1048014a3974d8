// SPDX-License-Identifier: MIT
#pragma once
// One sound stream of an output file: encodes track samples (48 kHz stereo float) with the named
// encoder and writes its packets into the file.

#include "av_support.h"

#include <cstdint>
#include <vector>

namespace sharing::codec {

class AudioEncoder {
  public:
    // Adds the stream to `file` (before its header is written); false with *error.
    bool open(AVFormatContext* file, const char* encoder, int bitRate, QString* error);
    // The number of sample frames each encoded frame takes.
    int frameSize() const { return frameSize_; }
    std::int64_t samplesWritten() const { return written_; }
    // Encodes `frames` sample frames (at most frameSize(); fewer only for the last one).
    bool write(const float* samples, int frames, QString* error);
    // Drains the encoder; false with *error.
    bool finish(QString* error);

  private:
    bool send(const AVFrame* frame, QString* error);
    void fill(AVFrame* frame, const float* samples, int frames) const;

    AVFormatContext* file_ = nullptr;
    AVStream* stream_ = nullptr;
    CodecContextPtr encoder_;
    FramePtr frame_;
    PacketPtr packet_;
    int frameSize_ = 1024;
    bool smallLastFrame_ = false;
    std::int64_t written_ = 0;
};

} // namespace sharing::codec
