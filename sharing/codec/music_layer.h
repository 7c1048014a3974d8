// SPDX-License-Identifier: MIT
#pragma once
// The show's music as the video's sound track carries it: its files decoded one after another, and
// again from the first, for as long as the track asks. A file that cannot be decoded is passed
// over, as the viewer passes it over; when none of them gives a sound the music is silent.

#include "sound_decoder.h"

#include <QString>

#include <memory>
#include <vector>

namespace sharing::codec {

class MusicLayer {
  public:
    explicit MusicLayer(std::vector<QString> paths) : paths_(std::move(paths)) {}
    // The next `frames` sample frames of the music into `out` (interleaved stereo), silence where
    // there is none.
    void read(float* out, int frames);

  private:
    // Opens the next file in turn; false when it cannot be decoded.
    bool openNext();

    std::vector<QString> paths_;
    std::size_t next_ = 0;
    std::unique_ptr<SoundDecoder> decoder_;
    bool heard_ = false;   // the open file has given a sound
    std::size_t idle_ = 0; // files in a row that gave none
};

} // namespace sharing::codec
