// SPDX-License-Identifier: MIT
#include "music_layer.h"

#include <algorithm>

namespace sharing::codec {

bool MusicLayer::openNext() {
    const QString& path = paths_[next_];
    next_ = (next_ + 1) % paths_.size();
    auto decoder = std::make_unique<SoundDecoder>();
    QString ignored;
    if (!decoder->open(path, &ignored))
        return false;
    decoder_ = std::move(decoder);
    heard_ = false;
    return true;
}

void MusicLayer::read(float* out, int frames) {
    std::fill(out, out + std::size_t(frames) * TrackChannels, 0.0f);
    int done = 0;
    // Once every file in turn has given nothing, the music stays silent.
    while (done < frames && idle_ < paths_.size()) {
        if (!decoder_ && !openNext()) {
            ++idle_;
            continue;
        }
        const int want = frames - done;
        const int got = decoder_->read(out + std::size_t(done) * TrackChannels, want);
        done += got;
        if (got > 0) {
            heard_ = true;
            idle_ = 0;
        }
        if (got < want) {
            idle_ += heard_ ? 0 : 1;
            decoder_.reset();
        }
    }
}

} // namespace sharing::codec
