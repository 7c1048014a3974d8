// SPDX-License-Identifier: MIT
#pragma once
// A sound file decoded from its beginning into the track's layout (48 kHz stereo float), or into
// the file's own rate with at most two channels, whatever its container, codec, rate and channels.

#include "av_support.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace sharing::codec {

class SoundDecoder {
  public:
    enum class Layout { Track, Source };
    // False with *error when the file holds no sound this build decodes.
    bool open(const QString& path, QString* error, Layout layout = Layout::Track);
    // What read() gives: sample frames a second, and samples in each.
    int rate() const { return rate_; }
    int channels() const { return channels_; }
    // The demuxer's and the decoder's names, and the length the file states (-1 when it states none).
    QString containerName() const;
    QString codecName() const;
    std::int64_t statedDurationMs() const;
    // Up to `frames` sample frames into `out` (interleaved, channels() of them); fewer only at the
    // end of the sound or after a decoding error, which ends it.
    int read(float* out, int frames);

  private:
    bool openResampler(Layout layout, QString* error);
    bool decodeMore();
    void resample(const AVFrame* frame);

    InputFile file_; // declared first: it goes after the demuxer that reads it
    InputPtr input_;
    CodecContextPtr decoder_;
    ResamplerPtr resampler_;
    PacketPtr packet_;
    FramePtr frame_;
    int stream_ = -1;
    int rate_ = TrackRate;
    int channels_ = TrackChannels;
    bool inputEnded_ = false;
    bool ended_ = false;
    std::vector<float> pending_; // resampled sample frames not read yet
    std::size_t pendingAt_ = 0;  // in floats
};

} // namespace sharing::codec
