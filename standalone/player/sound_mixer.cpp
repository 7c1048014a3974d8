// SPDX-License-Identifier: MIT
#include "sound_mixer.h"

#include "music_level.h"
#include "package_files.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#define STB_VORBIS_HEADER_ONLY
#include STB_VORBIS_FILE

namespace {

// Files of 2 GiB and more, on Windows too.
int SeekTo(std::FILE* file, std::int64_t at, int whence) {
#ifdef _WIN32
    return _fseeki64(file, at, whence);
#else
    return fseeko(file, off_t(at), whence);
#endif
}

std::int64_t Tell(std::FILE* file) {
#ifdef _WIN32
    return _ftelli64(file);
#else
    return ftello(file);
#endif
}

std::uint32_t Le(const unsigned char* p, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | p[i];
    return v;
}

// The sample of `channel` of frame `frame`, from -1 to 1.
double SampleAt(const PcmSound& pcm, std::size_t frame, unsigned channel) {
    const auto* p = reinterpret_cast<const unsigned char*>(pcm.data.data()) + frame * pcm.frameBytes() +
                    std::min(channel, pcm.channels - 1) * (pcm.bits / 8);
    switch (pcm.bits) {
    case 8:
        return (int(p[0]) - 128) / 128.0;
    case 16:
        return std::int16_t(Le(p, 2)) / 32768.0;
    case 24:
        return std::int32_t(Le(p, 3) << 8) / 2147483648.0;
    default:
        return std::int32_t(Le(p, 4)) / 2147483648.0;
    }
}

} // namespace

bool ReadWavLayout(std::FILE* file, WavLayout& layout) {
    unsigned char head[40];
    const std::int64_t end = SeekTo(file, 0, SEEK_END) == 0 ? Tell(file) : -1;
    if (end < 12 || SeekTo(file, 0, SEEK_SET) != 0 || std::fread(head, 1, 12, file) != 12 ||
        std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVE", 4) != 0)
        return false;
    bool format = false;
    for (std::int64_t at = 12; layout.dataAt < 0 && at + 8 <= end;) {
        if (SeekTo(file, at, SEEK_SET) != 0 || std::fread(head, 1, 8, file) != 8)
            break;
        const std::uint32_t size = Le(head + 4, 4);
        const std::int64_t body = at + 8;
        const std::uint32_t known = std::min<std::uint32_t>(size, sizeof head); // the rest is skipped
        if (!std::memcmp(head, "fmt ", 4) && size >= 16 && std::fread(head, 1, known, file) == known) {
            layout.tag = Le(head, 2);
            layout.channels = Le(head + 2, 2);
            layout.rate = Le(head + 4, 4);
            layout.bytesPerSecond = Le(head + 8, 4);
            layout.bits = Le(head + 14, 2);
            format = true;
        } else if (!std::memcmp(head, "data", 4)) {
            layout.dataAt = body;
            layout.dataBytes = std::min<std::uint64_t>(size, std::uint64_t(end - body));
        }
        at = body + std::int64_t(size) + std::int64_t(size & 1);
    }
    return format;
}

bool ReadPcmWav(const std::string& path, PcmSound& pcm) {
    std::FILE* file = OpenFile(path);
    if (!file)
        return false;
    WavLayout wav;
    const bool found = ReadWavLayout(file, wav) && wav.dataAt >= 0;
    pcm.channels = wav.channels;
    pcm.rate = wav.rate;
    pcm.bits = wav.tag == 1 || wav.tag == 0xFFFE ? wav.bits : 0;
    const bool usable = found && (pcm.bits == 8 || pcm.bits == 16 || pcm.bits == 24 || pcm.bits == 32) &&
                        pcm.channels >= 1 && pcm.channels <= 8 && pcm.rate >= 1000 && pcm.rate <= 384000;
    if (usable && SeekTo(file, wav.dataAt, SEEK_SET) == 0) {
        pcm.data.resize(std::size_t(wav.dataBytes));
        pcm.data.resize(std::fread(pcm.data.data(), 1, pcm.data.size(), file));
        pcm.data.resize(pcm.data.size() / pcm.frameBytes() * pcm.frameBytes()); // whole frames only
    }
    std::fclose(file);
    return usable;
}

bool MusicStream::open(const std::string& path) {
    close();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    int error = 0;
    // The decoder closes the file when it goes, or at once when it cannot open
    // it.
    vorbis_ = file ? stb_vorbis_open_file(file, 1, &error, nullptr) : nullptr;
    if (!vorbis_)
        return false;
    const stb_vorbis_info info = stb_vorbis_get_info(vorbis_);
    rate_ = info.sample_rate;
    channels_ = info.channels;
    frames_ = stb_vorbis_stream_length_in_samples(vorbis_);
    if (rate_ < 1000 || rate_ > 384000 || channels_ < 1) {
        close();
        return false;
    }
    return true;
}

void MusicStream::close() {
    if (vorbis_)
        stb_vorbis_close(vorbis_);
    vorbis_ = nullptr;
    held_.clear();
    first_ = 0;
    ended_ = false;
}

bool MusicStream::seek(std::int64_t at) {
    held_.clear();
    first_ = at;
    ended_ = !vorbis_ || at < 0 || at > 0xFFFFFFFF || !stb_vorbis_seek(vorbis_, unsigned(at));
    return !ended_;
}

const float* MusicStream::frame(std::int64_t n) {
    constexpr int Block = 4096;
    while (n >= first_ + held() && !ended_) {
        // Keeps the frame before `n` and those after it, and decodes the next block
        // behind them.
        const std::int64_t keep = std::clamp<std::int64_t>(first_ + held() - (n - 1), 0, held());
        first_ += held() - keep;
        held_.erase(held_.begin(), held_.end() - std::ptrdiff_t(keep * 2));
        decoded_.resize(std::size_t(Block) * std::size_t(channels_));
        const int got = stb_vorbis_get_samples_float_interleaved(vorbis_, channels_, decoded_.data(),
                                                                 int(decoded_.size()));
        for (int i = 0; i < got; ++i) {
            const float* f = decoded_.data() + std::size_t(i) * std::size_t(channels_);
            held_.push_back(f[0]);
            held_.push_back(f[channels_ > 1 ? 1 : 0]);
        }
        ended_ = got <= 0;
    }
    return n >= first_ && n < first_ + held() ? held_.data() + (n - first_) * 2 : nullptr;
}

void SoundMixer::playSlide(PcmSound sound) {
    slide_ = Playing{std::move(sound), 0};
}

void SoundMixer::setEnd(std::optional<Clock::time_point> end) {
    end_ = end;
}

bool SoundMixer::nextMusic() {
    for (std::size_t tried = 0; tried < music_.size(); ++tried) {
        const std::string& path = music_[next_];
        next_ = (next_ + 1) % music_.size();
        if (tune_.open(path) && tune_.frames() > 0) {
            tuneAt_ = 0;
            return true;
        }
    }
    music_.clear(); // none of them plays: the music stays silent
    return false;
}

void SoundMixer::moveMusicTo(std::int64_t ms) {
    if (musicMs_.size() != music_.size()) {
        musicMs_.clear();
        MusicStream file;
        for (const std::string& path : music_)
            musicMs_.push_back(file.open(path) ? file.frames() * 1000 / file.rate() : 0);
    }
    std::int64_t total = 0;
    for (const std::int64_t length : musicMs_)
        total += length;
    if (total <= 0)
        return;
    std::int64_t left = std::max<std::int64_t>(ms, 0) % total;
    for (std::size_t i = 0; i < music_.size(); left -= musicMs_[i++]) {
        if (left >= musicMs_[i])
            continue;
        next_ = (i + 1) % music_.size();
        tuneOpen_ = tune_.open(music_[i]);
        const std::int64_t at = tuneOpen_ ? left * tune_.rate() / 1000 : 0;
        tuneOpen_ = tuneOpen_ && tune_.seek(at);
        tuneAt_ = double(at);
        return;
    }
}

std::size_t SoundMixer::add(Playing& sound, double* out, std::size_t frames, double gain) {
    const std::size_t count = sound.pcm.frames();
    const double step = double(sound.pcm.rate) / Rate;
    for (std::size_t i = 0; i < frames; ++i) {
        if (sound.at >= double(count))
            return i;
        // Between two of the sound's frames, each channel drawn on the straight
        // line between them.
        const std::size_t frame = std::size_t(sound.at);
        const std::size_t after = std::min(frame + 1, count - 1);
        const double share = sound.at - double(frame);
        for (unsigned c = 0; c < Channels; ++c) {
            const double a = SampleAt(sound.pcm, frame, c), b = SampleAt(sound.pcm, after, c);
            out[i * Channels + c] += gain * (a + (b - a) * share);
        }
        sound.at += step;
    }
    return frames;
}

std::size_t SoundMixer::addMusic(double* out, std::size_t frames, double gain) {
    const double step = double(tune_.rate()) / Rate;
    for (std::size_t i = 0; i < frames; ++i) {
        const auto frame = std::int64_t(tuneAt_);
        const float* after = tune_.frame(frame + 1); // first, so that `frame` stays held
        const float* at = tune_.frame(frame);
        if (!at)
            return i;
        if (!after)
            after = at;
        const double share = tuneAt_ - double(frame);
        for (unsigned c = 0; c < Channels; ++c)
            out[i * Channels + c] += gain * (at[c] + (after[c] - at[c]) * share);
        tuneAt_ += step;
    }
    return frames;
}

void SoundMixer::mix(std::int16_t* out, std::size_t frames, Clock::time_point now) {
    std::vector<double> sum(frames * Channels, 0.0);
    {
        const bool slideSound = !slide_.over();
        const double leftMs =
            end_ ? std::chrono::duration<double, std::milli>(*end_ - now).count() : MusicLevel::NoEnd;
        const double gain = MusicLevel::at(slideSound, leftMs, fadeMs_, level_);
        // Files in a row that gave nothing: a block never waits on music that plays
        // nothing.
        std::size_t silent = 0;
        for (std::size_t done = 0; done < frames && !music_.empty() && silent <= music_.size();) {
            const std::size_t added =
                tuneOpen_ ? addMusic(sum.data() + done * Channels, frames - done, gain) : 0;
            done += added;
            silent = added ? 0 : silent + 1;
            if (done < frames && !(tuneOpen_ = nextMusic()))
                break;
        }
        if (slideSound)
            add(slide_, sum.data(), frames, 1.0);
    }
    for (std::size_t i = 0; i < sum.size(); ++i)
        out[i] = std::int16_t(std::lround(std::clamp(sum[i], -1.0, 32767.0 / 32768) * 32768));
}
