// SPDX-License-Identifier: MIT
#include "audio_encoder.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstring>

namespace sharing::codec {

namespace {

// The first of the encoder's sample formats that this writer fills.
AVSampleFormat chooseFormat(const AVCodec* codec) {
    for (const AVSampleFormat* f = codec->sample_fmts; f && *f != AV_SAMPLE_FMT_NONE; ++f)
        if (*f == AV_SAMPLE_FMT_FLTP || *f == AV_SAMPLE_FMT_FLT || *f == AV_SAMPLE_FMT_S16)
            return *f;
    return AV_SAMPLE_FMT_NONE;
}

} // namespace

bool AudioEncoder::open(AVFormatContext* file, const char* name, int bitRate, QString* error) {
    file_ = file;
    const AVCodec* codec = avcodec_find_encoder_by_name(name);
    const AVSampleFormat format = codec ? chooseFormat(codec) : AV_SAMPLE_FMT_NONE;
    if (format == AV_SAMPLE_FMT_NONE) {
        *error = QCoreApplication::translate("ShareReasons", "the sound encoder %1 is not available")
                     .arg(QLatin1String(name));
        return false;
    }
    encoder_.reset(avcodec_alloc_context3(codec));
    AVCodecContext* c = encoder_.get();
    c->sample_rate = TrackRate;
    c->sample_fmt = format;
    c->bit_rate = bitRate;
    c->time_base = AVRational{1, TrackRate};
    av_channel_layout_default(&c->ch_layout, TrackChannels);
    if (file->oformat->flags & AVFMT_GLOBALHEADER)
        c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int result = avcodec_open2(c, codec, nullptr);
    if (result < 0) {
        *error = avErrorText(result);
        return false;
    }
    stream_ = avformat_new_stream(file, nullptr);
    if (!stream_ || (result = avcodec_parameters_from_context(stream_->codecpar, c)) < 0) {
        *error = avErrorText(stream_ ? result : AVERROR(ENOMEM));
        return false;
    }
    stream_->time_base = c->time_base;
    frameSize_ = c->frame_size > 0 ? c->frame_size : 1024;
    smallLastFrame_ = codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME;
    frame_.reset(av_frame_alloc());
    packet_.reset(av_packet_alloc());
    return true;
}

void AudioEncoder::fill(AVFrame* frame, const float* samples, int frames) const {
    const int count = frame->nb_samples;
    switch (encoder_->sample_fmt) {
    case AV_SAMPLE_FMT_FLTP:
        for (int ch = 0; ch < TrackChannels; ++ch) {
            auto* plane = reinterpret_cast<float*>(frame->extended_data[ch]);
            for (int i = 0; i < count; ++i)
                plane[i] = i < frames ? samples[i * TrackChannels + ch] : 0.0f;
        }
        break;
    case AV_SAMPLE_FMT_FLT: {
        auto* out = reinterpret_cast<float*>(frame->data[0]);
        std::fill(out, out + count * TrackChannels, 0.0f);
        std::memcpy(out, samples, std::size_t(frames) * TrackChannels * sizeof(float));
        break;
    }
    default: {
        auto* out = reinterpret_cast<int16_t*>(frame->data[0]);
        for (int i = 0; i < count * TrackChannels; ++i) {
            const float v = i < frames * TrackChannels ? std::clamp(samples[i], -1.0f, 1.0f) : 0.0f;
            out[i] = int16_t(v * 32767.0f);
        }
    }
    }
}

bool AudioEncoder::write(const float* samples, int frames, QString* error) {
    AVFrame* frame = frame_.get();
    av_frame_unref(frame);
    // An encoder that needs whole frames gets the last one filled up with silence.
    frame->nb_samples = smallLastFrame_ ? frames : frameSize_;
    frame->format = encoder_->sample_fmt;
    frame->sample_rate = TrackRate;
    av_channel_layout_copy(&frame->ch_layout, &encoder_->ch_layout);
    const int result = av_frame_get_buffer(frame, 0);
    if (result < 0) {
        *error = avErrorText(result);
        return false;
    }
    fill(frame, samples, frames);
    frame->pts = written_;
    written_ += frames;
    return send(frame, error);
}

bool AudioEncoder::send(const AVFrame* frame, QString* error) {
    int result = avcodec_send_frame(encoder_.get(), frame);
    while (result >= 0) {
        result = avcodec_receive_packet(encoder_.get(), packet_.get());
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return true;
        if (result < 0)
            break;
        av_packet_rescale_ts(packet_.get(), encoder_->time_base, stream_->time_base);
        packet_->stream_index = stream_->index;
        result = av_interleaved_write_frame(file_, packet_.get());
    }
    *error = avErrorText(result);
    return false;
}

bool AudioEncoder::finish(QString* error) {
    return send(nullptr, error);
}

} // namespace sharing::codec
