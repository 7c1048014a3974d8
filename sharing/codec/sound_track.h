// SPDX-License-Identifier: MIT
#pragma once
// The video's one sound track: silence, and each sound span's file decoded from its beginning
// where the span lies, with the show's music under it all. Read in order, from the first sample to
// the last.

#include "codec_backend.h"
#include "music_layer.h"
#include "sound_decoder.h"

#include <cstdint>
#include <memory>

namespace sharing::codec {

class SoundTrack {
  public:
    explicit SoundTrack(const VideoSettings& settings);
    // The next `frames` sample frames into `out` (interleaved stereo).
    void read(float* out, int frames);

  private:
    // The music of the `frames` sample frames from `from` added to `out`, at its loudness there.
    void mixMusic(float* out, std::int64_t from, int frames);

    struct Span {
        QString path;
        std::int64_t start = 0; // sample frames
        std::int64_t end = 0;
    };
    std::vector<Span> spans_;
    std::size_t next_ = 0; // the first span not finished
    std::int64_t at_ = 0;
    std::unique_ptr<SoundDecoder> decoder_; // of spans_[next_] while it plays
    std::size_t failed_ = SIZE_MAX;         // the span whose file would not open
    std::unique_ptr<MusicLayer> music_;     // null for a show without music
    std::vector<float> musicSamples_;
    std::size_t ducking_ = 0; // the first span not over at the music's next sample
    std::int64_t end_ = 0;    // the track's length, where the music has faded out
    double fadeMs_ = 0;
    double level_ = 1.0; // the show's level for its music
};

} // namespace sharing::codec
