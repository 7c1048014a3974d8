// SPDX-License-Identifier: MIT
#include "wav_sound.h"

#include <dlfcn.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// The mixer's frames written at a time: a fiftieth of a second.
constexpr std::size_t MixBlock = SoundMixer::Rate / 50;

// PulseAudio's simple interface, as its header declares it.
struct PaSampleFormat {
    int format;
    std::uint32_t rate;
    std::uint8_t channels;
};
using PaNew = void* (*)(const char*, const char*, int, const char*, const char*, const PaSampleFormat*,
                        const void*, const void*, int*);
using PaWrite = int (*)(void*, const void*, std::size_t, int*);
using PaLatency = std::uint64_t (*)(void*, int*);
using PaFree = void (*)(void*);
struct PaBufferAttributes {
    std::uint32_t maxLength, targetLength, prebuffer, minimumRequest, fragmentSize;
};

// ALSA's PCM interface, as its header declares it.
using AlsaOpen = int (*)(void**, const char*, int, int);
using AlsaSetParams = int (*)(void*, int, int, unsigned, unsigned, int, unsigned);
using AlsaWrite = long (*)(void*, const void*, unsigned long);
using AlsaRecover = int (*)(void*, int, int);
using AlsaClose = int (*)(void*);

using AlsaErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
using AlsaSetErrorHandler = int (*)(AlsaErrorHandler);

template <typename F> F Symbol(void* library, const char* name) {
    return library ? reinterpret_cast<F>(dlsym(library, name)) : nullptr;
}

// The library, loaded once and kept until the player ends; null where it is not installed.
void* Library(const char* name) {
    return dlopen(name, RTLD_NOW | RTLD_LOCAL);
}

// ALSA's messages of a machine without a sound card stay off the player's standard error.
void Quiet(const char*, int, const char*, int, const char*, ...) {}

void* LoadAlsa() {
    void* lib = Library("libasound.so.2");
    if (const auto set = Symbol<AlsaSetErrorHandler>(lib, "snd_lib_error_set_handler"))
        set(&Quiet);
    return lib;
}

// Plays through PulseAudio; false when it is not there or no server takes the stream.
bool PlayPulse(const PcmSound& pcm, const std::atomic<bool>& stopping) {
    static void* const lib = Library("libpulse-simple.so.0");
    const auto open = Symbol<PaNew>(lib, "pa_simple_new");
    const auto write = Symbol<PaWrite>(lib, "pa_simple_write");
    const auto latency = Symbol<PaLatency>(lib, "pa_simple_get_latency");
    const auto close = Symbol<PaFree>(lib, "pa_simple_free");
    // U8, S16LE, S24LE (three bytes) and S32LE.
    const int format = pcm.bits == 8 ? 0 : pcm.bits == 16 ? 3 : pcm.bits == 24 ? 9 : 7;
    const PaSampleFormat sampleFormat{format, pcm.rate, std::uint8_t(pcm.channels)};
    int error = 0;
    void* stream = open && write && latency && close ? open(nullptr, "Verasco", 1, nullptr, "slide sound",
                                                            &sampleFormat, nullptr, nullptr, &error)
                                                     : nullptr;
    if (stream) {
        const std::size_t block = std::max<std::size_t>(pcm.frameBytes(), pcm.rate / 10 * pcm.frameBytes());
        for (std::size_t at = 0; at < pcm.data.size() && !stopping; at += block)
            if (write(stream, pcm.data.data() + at, std::min(block, pcm.data.size() - at), &error) < 0)
                break;
        // What the server holds plays out, unless the next slide's sound comes first.
        while (!stopping && latency(stream, &error) > 0 && error == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        close(stream);
    }
    return stream != nullptr;
}

void PlayAlsa(const PcmSound& pcm, const std::atomic<bool>& stopping) {
    static void* const lib = LoadAlsa();
    const auto open = Symbol<AlsaOpen>(lib, "snd_pcm_open");
    const auto setParams = Symbol<AlsaSetParams>(lib, "snd_pcm_set_params");
    const auto write = Symbol<AlsaWrite>(lib, "snd_pcm_writei");
    const auto recover = Symbol<AlsaRecover>(lib, "snd_pcm_recover");
    const auto drain = Symbol<AlsaClose>(lib, "snd_pcm_drain");
    const auto close = Symbol<AlsaClose>(lib, "snd_pcm_close");
    void* device = nullptr;
    // U8, S16_LE, S24_3LE and S32_LE; interleaved access; half a second of latency.
    const int format = pcm.bits == 8 ? 1 : pcm.bits == 16 ? 2 : pcm.bits == 24 ? 32 : 10;
    if (open && setParams && write && recover && drain && close && open(&device, "default", 0, 0) == 0) {
        if (setParams(device, format, 3, pcm.channels, pcm.rate, 1, 500000) == 0) {
            const std::size_t frames = pcm.data.size() / pcm.frameBytes();
            const std::size_t block = std::max(1u, pcm.rate / 10);
            for (std::size_t at = 0; at < frames && !stopping;) {
                const long n =
                    write(device, pcm.data.data() + at * pcm.frameBytes(), std::min(block, frames - at));
                if (n < 0 && recover(device, int(n), 1) < 0)
                    break;
                at += n > 0 ? std::size_t(n) : 0;
            }
            if (!stopping)
                drain(device);
        }
        close(device);
    }
}

// The mixer's next block at the stream's pace: never more than a fifth of a second ahead of the
// clock, so that a device that takes every frame at once (a file) still gets the show's time.
class PacedMixer {
  public:
    PacedMixer(SoundMixer& mixer, std::mutex& mutex)
        : mixer_(mixer), mutex_(mutex), start_(SoundMixer::Clock::now()) {}
    void next(std::int16_t* out) {
        const auto due = start_ + std::chrono::microseconds(written_ * 1000000 / SoundMixer::Rate) -
                         std::chrono::milliseconds(200);
        std::this_thread::sleep_until(due);
        const std::lock_guard<std::mutex> lock(mutex_);
        mixer_.mix(out, MixBlock, SoundMixer::Clock::now());
        written_ += MixBlock;
    }

  private:
    SoundMixer& mixer_;
    std::mutex& mutex_;
    SoundMixer::Clock::time_point start_;
    std::uint64_t written_ = 0;
};

// The mixer's stream through PulseAudio, a tenth of a second ahead; false when no server takes it.
bool StreamPulse(PacedMixer& paced, const std::atomic<bool>& stopping) {
    static void* const lib = Library("libpulse-simple.so.0");
    const auto open = Symbol<PaNew>(lib, "pa_simple_new");
    const auto write = Symbol<PaWrite>(lib, "pa_simple_write");
    const auto close = Symbol<PaFree>(lib, "pa_simple_free");
    const PaSampleFormat sampleFormat{3, SoundMixer::Rate, std::uint8_t(SoundMixer::Channels)};
    const PaBufferAttributes buffer{std::uint32_t(-1), SoundMixer::Rate / 10 * SoundMixer::Channels * 2,
                                    std::uint32_t(-1), std::uint32_t(-1), std::uint32_t(-1)};
    int error = 0;
    void* stream = open && write && close
                       ? open(nullptr, "Verasco", 1, nullptr, "show", &sampleFormat, nullptr, &buffer, &error)
                       : nullptr;
    if (!stream)
        return false;
    std::vector<std::int16_t> block(MixBlock * SoundMixer::Channels);
    while (!stopping) {
        paced.next(block.data());
        if (write(stream, block.data(), block.size() * 2, &error) < 0)
            break;
    }
    close(stream);
    return true;
}

void StreamAlsa(PacedMixer& paced, const std::atomic<bool>& stopping) {
    static void* const lib = LoadAlsa();
    const auto open = Symbol<AlsaOpen>(lib, "snd_pcm_open");
    const auto setParams = Symbol<AlsaSetParams>(lib, "snd_pcm_set_params");
    const auto write = Symbol<AlsaWrite>(lib, "snd_pcm_writei");
    const auto recover = Symbol<AlsaRecover>(lib, "snd_pcm_recover");
    const auto close = Symbol<AlsaClose>(lib, "snd_pcm_close");
    void* device = nullptr;
    if (!open || !setParams || !write || !recover || !close || open(&device, "default", 0, 0) != 0)
        return;
    // S16_LE, interleaved, a tenth of a second of latency.
    if (setParams(device, 2, 3, SoundMixer::Channels, SoundMixer::Rate, 1, 100000) == 0) {
        std::vector<std::int16_t> block(MixBlock * SoundMixer::Channels);
        while (!stopping) {
            paced.next(block.data());
            for (std::size_t at = 0; at < MixBlock && !stopping;) {
                const long n = write(device, block.data() + at * SoundMixer::Channels, MixBlock - at);
                if (n < 0 && recover(device, int(n), 1) < 0)
                    return void(close(device));
                at += n > 0 ? std::size_t(n) : 0;
            }
        }
    }
    close(device);
}

} // namespace

MixedSound::MixedSound(std::vector<std::string> music, int fadeMs, double level)
    : mixer_(std::move(music), fadeMs, level) {
    thread_ = std::thread([this] {
        PacedMixer paced(mixer_, mutex_);
        if (!StreamPulse(paced, stopping_))
            StreamAlsa(paced, stopping_);
    });
}

void MixedSound::playSlide(const std::string& path) {
    PcmSound sound;
    if (!ReadPcmWav(path, sound))
        return;
    const std::lock_guard<std::mutex> lock(mutex_);
    mixer_.playSlide(std::move(sound));
}

void MixedSound::setEnd(std::optional<SoundMixer::Clock::time_point> end) {
    const std::lock_guard<std::mutex> lock(mutex_);
    mixer_.setEnd(end);
}

void MixedSound::moveMusicTo(std::int64_t ms) {
    const std::lock_guard<std::mutex> lock(mutex_);
    mixer_.moveMusicTo(ms);
}

MixedSound::~MixedSound() {
    stopping_ = true;
    thread_.join();
}

void WavSound::play(const std::string& path) {
    stop();
    PcmSound pcm;
    if (!ReadPcmWav(path, pcm))
        return;
    stopping_ = false;
    thread_ = std::thread([this, pcm = std::move(pcm)] {
        if (!PlayPulse(pcm, stopping_))
            PlayAlsa(pcm, stopping_);
    });
}

void WavSound::stop() {
    stopping_ = true;
    if (thread_.joinable())
        thread_.join();
}
