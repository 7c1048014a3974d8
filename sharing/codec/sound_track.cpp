// SPDX-License-Identifier: MIT
#include "sound_track.h"

#include <algorithm>

namespace sharing::codec {

SoundTrack::SoundTrack(const std::vector<SoundSpan>& spans) {
    for (const SoundSpan& span : spans)
        spans_.push_back({span.path, span.startMs * TrackRate / 1000, span.endMs * TrackRate / 1000});
}

void SoundTrack::read(float* out, int frames) {
    std::fill(out, out + std::size_t(frames) * TrackChannels, 0.0f);
    const std::int64_t end = at_ + frames;
    while (at_ < end) {
        while (next_ < spans_.size() && spans_[next_].end <= at_) {
            decoder_.reset();
            ++next_;
        }
        if (next_ == spans_.size() || spans_[next_].start >= end)
            break;
        const Span& span = spans_[next_];
        if (span.start > at_) {
            at_ = span.start; // silence up to the span
            continue;
        }
        if (!decoder_ && failed_ != next_) {
            auto decoder = std::make_unique<SoundDecoder>();
            QString ignored;
            if (decoder->open(span.path, &ignored))
                decoder_ = std::move(decoder);
            else
                failed_ = next_;
        }
        // A file that cannot be decoded after all leaves its span silent, as a sound that fails to
        // play in the viewer.
        if (!decoder_) {
            at_ = std::min(span.end, end);
            continue;
        }
        const int want = int(std::min(span.end, end) - at_);
        float* into = out + std::size_t(at_ - (end - frames)) * TrackChannels;
        const int got = decoder_->read(into, want);
        // A sound that ends before its span stays silent for the rest of it.
        at_ += got < want ? want : got;
    }
    at_ = end;
}

} // namespace sharing::codec
