// SPDX-License-Identifier: MIT
#include "sound_track.h"

#include "music_level.h"

#include <algorithm>

namespace sharing::codec {

SoundTrack::SoundTrack(const VideoSettings& settings)
    : end_(settings.frameCount * TrackRate / std::max(1, settings.fps)),
      fadeMs_(double(settings.musicFadeMs)), level_(settings.musicLevel) {
    for (const SoundSpan& span : settings.sounds)
        spans_.push_back({span.path, span.startMs * TrackRate / 1000, span.endMs * TrackRate / 1000});
    if (!settings.music.empty())
        music_ = std::make_unique<MusicLayer>(settings.music);
}

void SoundTrack::mixMusic(float* out, std::int64_t from, int frames) {
    musicSamples_.resize(std::size_t(frames) * TrackChannels);
    music_->read(musicSamples_.data(), frames);
    for (int i = 0; i < frames; ++i) {
        const std::int64_t at = from + i;
        while (ducking_ < spans_.size() && spans_[ducking_].end <= at)
            ++ducking_;
        const bool ducked = ducking_ < spans_.size() && spans_[ducking_].start <= at;
        const float level =
            float(MusicLevel::at(ducked, double(end_ - at) * 1000.0 / TrackRate, fadeMs_, level_));
        for (int c = 0; c < TrackChannels; ++c)
            out[std::size_t(i) * TrackChannels + c] +=
                level * musicSamples_[std::size_t(i) * TrackChannels + c];
    }
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
    if (music_)
        mixMusic(out, end - frames, frames);
}

} // namespace sharing::codec
