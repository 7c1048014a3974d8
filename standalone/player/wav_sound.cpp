// SPDX-License-Identifier: MIT
#include "wav_sound.h"

#include <dlfcn.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

struct Pcm {
    unsigned channels = 0;
    unsigned rate = 0;
    unsigned bits = 0;
    std::vector<char> data;
    std::size_t frameBytes() const { return std::size_t(channels) * bits / 8; }
};

std::uint32_t Le(const unsigned char* p, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | p[i];
    return v;
}

// The format and samples of a PCM WAV file; false for any other file.
bool ReadWav(const std::string& path, Pcm& pcm) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
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
bool PlayPulse(const Pcm& pcm, const std::atomic<bool>& stopping) {
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

void PlayAlsa(const Pcm& pcm, const std::atomic<bool>& stopping) {
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

} // namespace

void WavSound::play(const std::string& path) {
    stop();
    Pcm pcm;
    if (!ReadWav(path, pcm))
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
