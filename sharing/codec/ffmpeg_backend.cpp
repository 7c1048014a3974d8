// SPDX-License-Identifier: MIT
// The codec module's entry: the backend that sharing a show loads on first use.
#include "codec_backend.h"
#include "sound_decoder.h"
#include "video_sink.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace sharing::codec {

namespace {

// MP3 at 48 kHz stereo, a sound every current browser plays.
bool writeMp3(SoundDecoder& decoder, const QString& to, const std::atomic<bool>& cancel, QString* error) {
    OutputFile file;
    AudioEncoder encoder;
    if (!file.create("mp3", to, error) || !encoder.open(file.get(), "libmp3lame", 192000, error) ||
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

// The 44 bytes before a WAV file's samples: 16-bit PCM at `rate` with `channels`, `dataBytes` long.
QByteArray wavHeader(int rate, int channels, quint32 dataBytes) {
    QByteArray header(44, '\0');
    char* h = header.data();
    const auto put32 = [h](int at, quint32 v) { qToLittleEndian<quint32>(v, h + at); };
    const auto put16 = [h](int at, quint16 v) { qToLittleEndian<quint16>(v, h + at); };
    std::memcpy(h, "RIFF", 4);
    put32(4, 36 + dataBytes);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    put32(16, 16);
    put16(20, 1);
    put16(22, quint16(channels));
    put32(24, quint32(rate));
    put32(28, quint32(rate * channels * 2));
    put16(32, quint16(channels * 2));
    put16(34, 16);
    std::memcpy(h + 36, "data", 4);
    put32(40, dataBytes);
    return header;
}

// The decoded sound as 16-bit PCM WAV at its own rate and channels, cut where a WAV file's 32-bit
// sizes end.
bool writeWav(SoundDecoder& decoder, const QString& to, const std::atomic<bool>& cancel, QString* error) {
    QFile file(to);
    const int rate = decoder.rate(), channels = decoder.channels();
    if (!file.open(QIODevice::WriteOnly) || file.write(wavHeader(rate, channels, 0)) != 44) {
        *error = file.errorString();
        return false;
    }
    constexpr int Block = 4096;
    const quint64 mostBytes = 0xFFFFFFFFull - 36 - quint64(Block) * quint64(channels) * 2;
    std::vector<float> samples(std::size_t(Block) * std::size_t(channels));
    std::vector<qint16> pcm(samples.size());
    quint64 bytes = 0;
    for (int got = Block; got == Block && bytes < mostBytes;) {
        if (cancel.load()) {
            *error = QStringLiteral("cancelled");
            return false;
        }
        got = decoder.read(samples.data(), Block);
        const std::size_t n = std::size_t(got) * std::size_t(channels);
        for (std::size_t i = 0; i < n; ++i)
            pcm[i] = qToLittleEndian(qint16(std::lround(std::clamp(samples[i], -1.0f, 1.0f) * 32767)));
        const qint64 size = qint64(n * sizeof(qint16));
        if (file.write(reinterpret_cast<const char*>(pcm.data()), size) != size) {
            *error = file.errorString();
            return false;
        }
        bytes += quint64(size);
    }
    if (!file.seek(0) || file.write(wavHeader(rate, channels, quint32(bytes))) != 44 || !file.flush()) {
        *error = file.errorString();
        return false;
    }
    return true;
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

    bool convertToMp3(const QString& from, const QString& to, const std::atomic<bool>& cancel,
                      QString* error) override {
        SoundDecoder decoder;
        return decoder.open(from, error) && writeMp3(decoder, to, cancel, error);
    }

    bool convertToWav(const QString& from, const QString& to, const std::atomic<bool>& cancel,
                      QString* error) override {
        SoundDecoder decoder;
        return decoder.open(from, error, SoundDecoder::Layout::Source) &&
               writeWav(decoder, to, cancel, error);
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
