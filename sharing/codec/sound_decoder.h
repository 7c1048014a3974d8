// SPDX-License-Identifier: MIT
#pragma once
// A sound file decoded from its beginning into the track's layout (48 kHz stereo float), whatever
// its container, codec, rate and channels.

#include "av_support.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace sharing::codec {

class SoundDecoder {
  public:
    // How a mono sound is made stereo: on both sides 3 dB lower, as a centre channel, or on both at
    // its own level.
    enum class Mono { Centre, Whole };
    // False with *error when the file holds no sound this build decodes.
    bool open(const QString& path, QString* error, Mono mono = Mono::Centre);
    // The demuxer's and the decoder's names, and the length the file states (-1 when it states none).
    QString containerName() const;
    QString codecName() const;
    std::int64_t statedDurationMs() const;
    // Up to `frames` sample frames into `out` (interleaved, TrackChannels of them); fewer only at the
    // end of the sound or after a decoding error, which ends it.
    int read(float* out, int frames);

  private:
    bool openResampler(Mono mono, QString* error);
    bool decodeMore();
    void resample(const AVFrame* frame);

    InputFile file_; // declared first: it goes after the demuxer that reads it
    InputPtr input_;
    CodecContextPtr decoder_;
    ResamplerPtr resampler_;
    PacketPtr packet_;
    FramePtr frame_;
    int stream_ = -1;
    bool inputEnded_ = false;
    bool ended_ = false;
    std::vector<float> pending_; // resampled sample frames not read yet
    std::size_t pendingAt_ = 0;  // in floats
};

} // namespace sharing::codec
