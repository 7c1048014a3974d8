// SPDX-License-Identifier: MIT
// The codec module's entry: the backend that sharing a show loads on first use.
#include "codec_backend.h"
#include "sound_decoder.h"
#include "video_sink.h"

namespace sharing::codec {

namespace {

// The decoded sound written by `encoder` at `bitRate` into a file of `container`, 48 kHz stereo.
bool writeEncoded(SoundDecoder& decoder, const char* container, const char* encoderName, int bitRate,
                  const QString& to, const std::atomic<bool>& cancel, QString* error) {
    OutputFile file;
    AudioEncoder encoder;
    if (!file.create(container, to, error) || !encoder.open(file.get(), encoderName, bitRate, error) ||
        !file.open(error))
        return false;
    int result = avformat_write_header(file.get(), nullptr);
    if (result < 0) {
        *error = avErrorText(result);
        return false;
    }
    std::vector<float> samples(std::size_t(encoder.frameSize()) * TrackChannels);
    for (;;) {
        if (cancel.load()) {
            *error = QStringLiteral("cancelled");
            return false;
        }
        const int got = decoder.read(samples.data(), encoder.frameSize());
        if (got > 0 && !encoder.write(samples.data(), got, error))
            return false;
        if (got < encoder.frameSize())
            break;
    }
    if (!encoder.finish(error))
        return false;
    if ((result = av_write_trailer(file.get())) < 0) {
        *error = avErrorText(result);
        return false;
    }
    return file.close(error);
}

class FfmpegBackend : public CodecBackend {
  public:
    FfmpegBackend() { av_log_set_level(AV_LOG_FATAL); }

    SoundFacts probeSound(const QString& path) override {
        SoundFacts facts;
        SoundDecoder decoder;
        if (!decoder.open(path, &facts.error))
            return facts;
        facts.readable = true;
        facts.container = decoder.containerName();
        facts.codec = decoder.codecName();
        facts.durationMs = decoder.statedDurationMs();
        if (facts.durationMs < 0) {
            // A file that states no length is measured by decoding it.
            std::vector<float> samples(4096 * TrackChannels);
            std::int64_t frames = 0;
            for (int got; (got = decoder.read(samples.data(), 4096)) > 0;)
                frames += got;
            facts.durationMs = frames * 1000 / TrackRate;
        }
        return facts;
    }

    // MP3, a sound every current browser plays.
    bool convertToMp3(const QString& from, const QString& to, const std::atomic<bool>& cancel,
                      QString* error) override {
        SoundDecoder decoder;
        return decoder.open(from, error) &&
               writeEncoded(decoder, "mp3", "libmp3lame", 192000, to, cancel, error);
    }

    bool convertToOgg(const QString& from, const QString& to, const std::atomic<bool>& cancel,
                      QString* error) override {
        // A mono song is heard on both sides as loud as it was, as the viewer plays it.
        SoundDecoder decoder;
        return decoder.open(from, error, SoundDecoder::Mono::Whole) &&
               writeEncoded(decoder, "ogg", "libvorbis", 128000, to, cancel, error);
    }

    std::unique_ptr<VideoSink> openVideo(const QString& path, const VideoSettings& settings,
                                         QString* error) override {
        auto sink = std::make_unique<FfmpegVideoSink>();
        if (!sink->open(path, settings, error))
            return nullptr;
        return sink;
    }
};

} // namespace

} // namespace sharing::codec

extern "C" Q_DECL_EXPORT sharing::CodecBackend* verascoCreateCodecBackend() {
    return new sharing::codec::FfmpegBackend;
}
