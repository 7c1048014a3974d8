// SPDX-License-Identifier: MIT
#include "sound_decoder.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstring>

namespace sharing::codec {

namespace {

// The kinds of sound file the program plays: WAV, MP3, Ogg (Vorbis, Opus, FLAC), FLAC, Sun audio and
// the MPEG-4 family (M4A). Nothing else is opened, so that a playlist or a stream description given a
// sound's name (an HLS list or a concat script called x.mp3) is refused rather than followed.
constexpr char SoundFormats[] = "wav,mp3,ogg,flac,au,m4a";

// The demuxer opened on the file itself, never on other files or protocols its contents name.
int openInput(AVFormatContext** input, AVIOContext* io, const QString& path) {
    *input = avformat_alloc_context();
    if (!*input)
        return AVERROR(ENOMEM);
    (*input)->pb = io;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "format_whitelist", SoundFormats, 0);
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    // The name still tells the demuxers that look at it which kind of file this is.
    const QByteArray url = "file:" + QFile::encodeName(path);
    const int result = avformat_open_input(input, url.constData(), nullptr, &options);
    av_dict_free(&options);
    return result;
}

} // namespace

bool SoundDecoder::open(const QString& path, QString* error, Mono mono) {
    if (!file_.open(path, error))
        return false;
    AVFormatContext* input = nullptr;
    int result = openInput(&input, file_.io(), path);
    if (result < 0) {
        *error = result == AVERROR(EINVAL)
                     ? QCoreApplication::translate("ShareReasons", "not a sound file the program plays")
                     : avErrorText(result);
        return false;
    }
    input_.reset(input);
    if ((result = avformat_find_stream_info(input, nullptr)) < 0) {
        *error = avErrorText(result);
        return false;
    }
    const AVCodec* codec = nullptr;
    stream_ = av_find_best_stream(input, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
    if (stream_ < 0 || !codec) {
        *error = QCoreApplication::translate("ShareReasons", "no sound in the file");
        return false;
    }
    decoder_.reset(avcodec_alloc_context3(codec));
    if (!decoder_)
        result = AVERROR(ENOMEM);
    else if ((result = avcodec_parameters_to_context(decoder_.get(), input->streams[stream_]->codecpar)) >= 0)
        result = avcodec_open2(decoder_.get(), codec, nullptr);
    if (result < 0) {
        *error = avErrorText(result);
        return false;
    }
    return openResampler(mono, error);
}

bool SoundDecoder::openResampler(Mono mono, QString* error) {
    // av_channel_layout_copy frees what its target holds first: the target starts empty.
    AVChannelLayout from{};
    int result = 0;
    if (decoder_->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || decoder_->ch_layout.nb_channels == 0)
        av_channel_layout_default(&from, std::max(1, decoder_->ch_layout.nb_channels));
    else
        result = av_channel_layout_copy(&from, &decoder_->ch_layout);
    AVChannelLayout to{};
    av_channel_layout_default(&to, TrackChannels);
    SwrContext* resampler = nullptr;
    if (result >= 0)
        result = swr_alloc_set_opts2(&resampler, &to, AV_SAMPLE_FMT_FLT, TrackRate, &from,
                                     decoder_->sample_fmt, decoder_->sample_rate, 0, nullptr);
    // A mono sound is a centre channel to the resampler, which gives it to each side 3 dB lower.
    const double bothSides[2] = {1.0, 1.0};
    if (result >= 0 && mono == Mono::Whole && from.nb_channels == 1)
        result = swr_set_matrix(resampler, bothSides, 1);
    av_channel_layout_uninit(&from);
    av_channel_layout_uninit(&to);
    resampler_.reset(resampler);
    if (result < 0 || (result = swr_init(resampler)) < 0) {
        *error = avErrorText(result);
        return false;
    }
    packet_.reset(av_packet_alloc());
    frame_.reset(av_frame_alloc());
    return true;
}

QString SoundDecoder::containerName() const {
    return QString::fromLatin1(input_->iformat->name);
}

QString SoundDecoder::codecName() const {
    return QString::fromLatin1(decoder_->codec->name);
}

std::int64_t SoundDecoder::statedDurationMs() const {
    if (input_->duration != AV_NOPTS_VALUE && input_->duration > 0)
        return av_rescale(input_->duration, 1000, AV_TIME_BASE);
    const AVStream* stream = input_->streams[stream_];
    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
        return av_rescale_q(stream->duration, stream->time_base, AVRational{1, 1000});
    return -1;
}

void SoundDecoder::resample(const AVFrame* frame) {
    const int room = swr_get_out_samples(resampler_.get(), frame ? frame->nb_samples : 0);
    if (room <= 0)
        return;
    // Keep only what has not been read yet, then append.
    pending_.erase(pending_.begin(), pending_.begin() + std::ptrdiff_t(pendingAt_));
    pendingAt_ = 0;
    const std::size_t before = pending_.size();
    pending_.resize(before + std::size_t(room) * std::size_t(TrackChannels));
    auto* out = reinterpret_cast<uint8_t*>(pending_.data() + before);
    const int made = swr_convert(resampler_.get(), &out, room,
                                 frame ? const_cast<const uint8_t**>(frame->extended_data) : nullptr,
                                 frame ? frame->nb_samples : 0);
    pending_.resize(before + std::size_t(std::max(0, made)) * std::size_t(TrackChannels));
}

// Decodes the next frames into pending_; false once the sound has ended.
bool SoundDecoder::decodeMore() {
    for (;;) {
        const int received = avcodec_receive_frame(decoder_.get(), frame_.get());
        if (received == 0) {
            resample(frame_.get());
            av_frame_unref(frame_.get());
            return true;
        }
        if (received != AVERROR(EAGAIN)) {
            // The end, or a decoding error: what the resampler still holds comes out.
            resample(nullptr);
            ended_ = true;
            return false;
        }
        if (inputEnded_) {
            avcodec_send_packet(decoder_.get(), nullptr);
            continue;
        }
        const int read = av_read_frame(input_.get(), packet_.get());
        if (read < 0) {
            inputEnded_ = true;
            avcodec_send_packet(decoder_.get(), nullptr);
            continue;
        }
        if (packet_->stream_index == stream_)
            avcodec_send_packet(decoder_.get(), packet_.get());
        av_packet_unref(packet_.get());
    }
}

int SoundDecoder::read(float* out, int frames) {
    const std::size_t channels = std::size_t(TrackChannels);
    int done = 0;
    while (done < frames) {
        const std::size_t available = (pending_.size() - pendingAt_) / channels;
        if (available == 0) {
            if (ended_ || !decodeMore()) {
                if ((pending_.size() - pendingAt_) / channels == 0)
                    break;
            }
            continue;
        }
        const std::size_t take = std::min<std::size_t>(available, std::size_t(frames - done));
        std::memcpy(out + std::size_t(done) * channels, pending_.data() + pendingAt_,
                    take * channels * sizeof(float));
        pendingAt_ += take * channels;
        done += int(take);
    }
    return done;
}

} // namespace sharing::codec
