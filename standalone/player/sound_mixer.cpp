// SPDX-License-Identifier: MIT
#include "sound_mixer.h"

#include "music_level.h"
#include "package_files.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

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

bool ReadPcmWav(const std::string& path, PcmSound& pcm) {
    std::FILE* file = OpenFile(path);
    if (!file)
        return false;
    unsigned char head[40];
    bool found = false;
    if (std::fread(head, 1, 12, file) == 12 && !std::memcmp(head, "RIFF", 4) &&
        !std::memcmp(head + 8, "WAVE", 4))
        while (!found && std::fread(head, 1, 8, file) == 8) {
            const std::uint32_t size = Le(head + 4, 4);
            if (!std::memcmp(head, "fmt ", 4) && size >= 16 && size <= 40 &&
                std::fread(head, 1, size, file) == size) {
                const unsigned tag = Le(head, 2);
                pcm.channels = Le(head + 2, 2);
                pcm.rate = Le(head + 4, 4);
                pcm.bits = tag == 1 || tag == 0xFFFE ? Le(head + 14, 2) : 0;
                std::fseek(file, long(size & 1), SEEK_CUR);
            } else if (!std::memcmp(head, "data", 4)) {
                // No more than the file holds, whatever the chunk claims.
                const long at = std::ftell(file);
                std::fseek(file, 0, SEEK_END);
                const long end = std::ftell(file);
                std::fseek(file, at, SEEK_SET);
                pcm.data.resize(std::min<std::size_t>(size, std::size_t(std::max(0l, end - at))));
                pcm.data.resize(std::fread(pcm.data.data(), 1, pcm.data.size(), file));
                found = true;
            } else if (std::fseek(file, long(size + (size & 1)), SEEK_CUR) != 0) {
                break;
            }
        }
    std::fclose(file);
    const bool usable = (pcm.bits == 8 || pcm.bits == 16 || pcm.bits == 24 || pcm.bits == 32) &&
                        pcm.channels >= 1 && pcm.channels <= 8 && pcm.rate >= 1000 && pcm.rate <= 384000;
    if (usable)
        pcm.data.resize(pcm.data.size() / pcm.frameBytes() * pcm.frameBytes()); // whole frames only
    return found && usable;
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
        Playing tune;
        if (ReadPcmWav(path, tune.pcm) && tune.pcm.frames() > 0) {
            tune_ = std::move(tune);
            return true;
        }
    }
    music_.clear(); // none of them plays: the music stays silent
    return false;
}

std::size_t SoundMixer::add(Playing& sound, double* out, std::size_t frames, double gain) {
    const std::size_t count = sound.pcm.frames();
    const double step = double(sound.pcm.rate) / Rate;
    for (std::size_t i = 0; i < frames; ++i) {
        if (sound.at >= double(count))
            return i;
        // Between two of the sound's frames, each channel drawn on the straight line between them.
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

void SoundMixer::mix(std::int16_t* out, std::size_t frames, Clock::time_point now) {
    std::vector<double> sum(frames * Channels, 0.0);
    {
        const bool slideSound = !slide_.over();
        const double leftMs =
            end_ ? std::chrono::duration<double, std::milli>(*end_ - now).count() : MusicLevel::NoEnd;
        const double gain = MusicLevel::at(slideSound, leftMs, fadeMs_);
        for (std::size_t done = 0; done < frames && !music_.empty();) {
            if (!tuneOpen_ || tune_.over()) {
                tuneOpen_ = nextMusic();
                if (!tuneOpen_)
                    break;
            }
            done += add(tune_, sum.data() + done * Channels, frames - done, gain);
        }
        if (slideSound)
            add(slide_, sum.data(), frames, 1.0);
    }
    for (std::size_t i = 0; i < sum.size(); ++i)
        out[i] = std::int16_t(std::lround(std::clamp(sum[i], -1.0, 32767.0 / 32768) * 32768));
}
