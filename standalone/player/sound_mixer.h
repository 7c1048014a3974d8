// SPDX-License-Identifier: MIT
// The sound of a package's show with music, mixed into one stream of 16-bit stereo at Rate: the
// show's music (Ogg Vorbis members, one after another and again from the first, each decoded as it
// plays), as loud as the viewer plays it, quieter while a slide's own sound plays and fading out
// before the show's end, and the slide's sound over it. Plain C++, shared by the players of Linux and
// Windows packages; the players feed its stream to their sound device.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

// A PCM WAV file's format and samples.
struct PcmSound {
    unsigned channels = 0;
    unsigned rate = 0;
    unsigned bits = 0;
    std::vector<char> data;
    std::size_t frameBytes() const { return std::size_t(channels) * bits / 8; }
    std::size_t frames() const { return frameBytes() ? data.size() / frameBytes() : 0; }
};

// A WAV file's format and where its samples lie, its chunks walked in turn: each one strictly after
// the one before, none past the file's end, whatever sizes they claim.
struct WavLayout {
    unsigned tag = 0, channels = 0, rate = 0, bits = 0;
    std::uint32_t bytesPerSecond = 0;
    std::int64_t dataAt = -1;    // where the samples start; -1 without a data chunk
    std::uint64_t dataBytes = 0; // no more than the file holds after dataAt
};
// False for a file that is no RIFF WAVE file or has no format chunk.
bool ReadWavLayout(std::FILE* file, WavLayout& layout);

// The format and samples of a PCM WAV file (8, 16, 24 or 32 bits); false for any other file.
bool ReadPcmWav(const std::string& path, PcmSound& pcm);

struct stb_vorbis;

// An Ogg Vorbis file read as it plays, a few thousand frames at a time.
class MusicStream {
  public:
    MusicStream() = default;
    ~MusicStream() { close(); }
    MusicStream(const MusicStream&) = delete;
    MusicStream& operator=(const MusicStream&) = delete;

    // False for a file that is no Ogg Vorbis.
    bool open(const std::string& path);
    void close();
    unsigned rate() const { return rate_; }
    // Its length in its own frames.
    std::int64_t frames() const { return frames_; }
    // Goes on from frame `at`; false when it cannot.
    bool seek(std::int64_t at);
    // Frame `n` as left and right (a mono file on both sides); null past the end. Holds the frame
    // before the one asked for too, so that two neighbours can be asked for from the later one.
    const float* frame(std::int64_t n);

  private:
    std::int64_t held() const { return std::int64_t(held_.size() / 2); }

    stb_vorbis* vorbis_ = nullptr;
    unsigned rate_ = 0;
    int channels_ = 0;
    std::int64_t frames_ = 0;
    std::vector<float> held_;    // decoded frames, left and right, from first_ on
    std::vector<float> decoded_; // the decoder's frames in the file's own channels
    std::int64_t first_ = 0;
    bool ended_ = false;
};

class SoundMixer {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr unsigned Rate = 48000;
    static constexpr unsigned Channels = 2;

    // The music's files in turn (those that cannot be read are passed over) and its fade-out.
    SoundMixer(std::vector<std::string> music, int fadeMs, double level = 1.0)
        : music_(std::move(music)), fadeMs_(fadeMs), level_(level) {}

    // The slide's sound (ReadPcmWav) from its start, in place of the one playing.
    void playSlide(PcmSound sound);
    // When the show ends (the music has faded out by then); none for a show that loops.
    void setEnd(std::optional<Clock::time_point> end);
    // The music goes on from where it stands `ms` into the show: its files one after another, and
    // again from the first.
    void moveMusicTo(std::int64_t ms);
    // The next `frames` sample frames of the stream (interleaved stereo), mixed at `now`.
    void mix(std::int16_t* out, std::size_t frames, Clock::time_point now);

  private:
    struct Playing {
        PcmSound pcm;
        double at = 0; // in the sound's own frames
        bool over() const { return at >= double(pcm.frames()); }
    };
    // Opens the next music file in turn; false when none of them can be read.
    bool nextMusic();
    // Adds up to `frames` of the sound's next frames at `gain`, stepping at its own rate; returns
    // how many it added (fewer only at its end).
    static std::size_t add(Playing& sound, double* out, std::size_t frames, double gain);
    std::size_t addMusic(double* out, std::size_t frames, double gain);

    std::vector<std::string> music_;
    std::vector<std::int64_t> musicMs_; // each file's length, once the music has been moved
    int fadeMs_;
    double level_; // the show's level for its music, 0 to 1
    std::size_t next_ = 0;
    MusicStream tune_;
    double tuneAt_ = 0; // in the file's own frames
    bool tuneOpen_ = false;
    Playing slide_;
    std::optional<Clock::time_point> end_;
};
