// SPDX-License-Identifier: MIT
#include "video_sink.h"

#include <QCoreApplication>

#include <vector>

namespace sharing::codec {

namespace {

// Seconds between key frames while one picture is held, so that a player can seek into it.
constexpr int KeyIntervalSeconds = 10;

void setEncoderOptions(AVDictionary** options, VideoContainer container) {
    if (container == VideoContainer::Mp4) {
        av_dict_set(options, "preset", "veryfast", 0);
        av_dict_set(options, "tune", "stillimage", 0);
        av_dict_set(options, "crf", "20", 0);
        av_dict_set(options, "forced-idr", "1", 0);
        // Frames come back in the order they were given, and soon; CAVLC, as the repeated pictures
        // are written with it.
        av_dict_set(options, "x264-params",
                    "bframes=0:rc-lookahead=0:sync-lookahead=0:sliced-threads=1:cabac=0", 0);
    } else {
        av_dict_set(options, "deadline", "realtime", 0);
        av_dict_set(options, "cpu-used", "8", 0);
        av_dict_set(options, "row-mt", "1", 0);
        av_dict_set(options, "lag-in-frames", "0", 0);
        av_dict_set(options, "auto-alt-ref", "0", 0);
        av_dict_set(options, "crf", "30", 0);
        av_dict_set(options, "b", "0", 0);
    }
}

} // namespace

FfmpegVideoSink::~FfmpegVideoSink() {
    sws_freeContext(converter_);
}

bool FfmpegVideoSink::fail(const QString& text) {
    if (error_.isEmpty())
        error_ = text;
    return false;
}

bool FfmpegVideoSink::goOn() {
    return !settings_.keepGoing || settings_.keepGoing(next_) || fail(QStringLiteral("cancelled"));
}

bool FfmpegVideoSink::open(const QString& path, const VideoSettings& settings, QString* error) {
    settings_ = settings;
    const bool mp4 = settings.container == VideoContainer::Mp4;
    QString why;
    bool opened = file_.create(mp4 ? "mp4" : "webm", path, &why) && openVideoEncoder() &&
                  sound_.open(file_.get(), mp4 ? "aac" : "libopus", mp4 ? 160000 : 128000, &why) &&
                  file_.open(&why);
    if (opened) {
        AVDictionary* options = nullptr;
        if (mp4)
            av_dict_set(&options, "movflags", "+faststart", 0); // playable while it downloads
        const int result = avformat_write_header(file_.get(), &options);
        av_dict_free(&options);
        opened = result >= 0 || (why = avErrorText(result), false);
    }
    if (!opened) {
        *error = error_.isEmpty() ? why : error_;
        return false;
    }
    headerWritten_ = true;
    const int w = settings.size.width(), h = settings.size.height();
    converter_ = sws_getContext(w, h, AV_PIX_FMT_BGRA, w, h, AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr,
                                nullptr, nullptr);
    // Full-range picture in, limited-range BT.709 out, as the stream says.
    sws_setColorspaceDetails(converter_, sws_getCoefficients(SWS_CS_ITU709), 1,
                             sws_getCoefficients(SWS_CS_ITU709), 0, 0, 1 << 16, 1 << 16);
    packet_.reset(av_packet_alloc());
    track_ = std::make_unique<SoundTrack>(settings);
    if (mp4)
        h264_ = readH264Parameters(QByteArrayView(encoder_->extradata, encoder_->extradata_size));
    return true;
}

bool FfmpegVideoSink::openVideoEncoder() {
    const bool mp4 = settings_.container == VideoContainer::Mp4;
    const char* name = mp4 ? "libx264" : "libvpx-vp9";
    const AVCodec* codec = avcodec_find_encoder_by_name(name);
    if (!codec)
        return fail(QCoreApplication::translate("ShareReasons", "the video encoder %1 is not available")
                        .arg(QLatin1String(name)));
    encoder_.reset(avcodec_alloc_context3(codec));
    AVCodecContext* c = encoder_.get();
    c->width = settings_.size.width();
    c->height = settings_.size.height();
    c->time_base = AVRational{1, settings_.fps};
    c->framerate = AVRational{settings_.fps, 1};
    c->pix_fmt = AV_PIX_FMT_YUV420P;
    keyInterval_ = std::int64_t(KeyIntervalSeconds) * settings_.fps;
    c->gop_size = int(keyInterval_);
    c->max_b_frames = 0;
    c->thread_count = 2;
    // Threads that share each frame, not frames in flight: a frame in flight comes back late.
    c->thread_type = FF_THREAD_SLICE;
    c->color_range = AVCOL_RANGE_MPEG;
    c->colorspace = AVCOL_SPC_BT709;
    c->color_primaries = AVCOL_PRI_BT709;
    c->color_trc = AVCOL_TRC_BT709;
    if (file_.get()->oformat->flags & AVFMT_GLOBALHEADER)
        c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* options = nullptr;
    setEncoderOptions(&options, settings_.container);
    int result = avcodec_open2(c, codec, &options);
    av_dict_free(&options);
    if (result < 0)
        return fail(avErrorText(result));
    stream_ = avformat_new_stream(file_.get(), nullptr);
    if (!stream_)
        return fail(avErrorText(AVERROR(ENOMEM)));
    if ((result = avcodec_parameters_from_context(stream_->codecpar, c)) < 0)
        return fail(avErrorText(result));
    stream_->time_base = c->time_base;
    stream_->avg_frame_rate = c->framerate;
    return true;
}

bool FfmpegVideoSink::convert(const QImage& image) {
    const QImage rgb = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
                           ? image
                           : image.convertToFormat(QImage::Format_RGB32);
    if (rgb.size() != settings_.size)
        return fail(QCoreApplication::translate("ShareReasons", "a frame of the wrong size"));
    // A new buffer for every picture: the encoder may still hold the one before.
    picture_.reset(av_frame_alloc());
    AVFrame* f = picture_.get();
    f->width = settings_.size.width();
    f->height = settings_.size.height();
    f->format = AV_PIX_FMT_YUV420P;
    f->color_range = AVCOL_RANGE_MPEG;
    f->colorspace = AVCOL_SPC_BT709;
    f->color_primaries = AVCOL_PRI_BT709;
    f->color_trc = AVCOL_TRC_BT709;
    const int result = av_frame_get_buffer(f, 0);
    if (result < 0)
        return fail(avErrorText(result));
    const uint8_t* source[] = {rgb.constBits()};
    const int stride[] = {int(rgb.bytesPerLine())};
    sws_scale(converter_, source, stride, 0, rgb.height(), f->data, f->linesize);
    return true;
}

bool FfmpegVideoSink::writePacket() {
    if (packet_->duration == 0)
        packet_->duration = 1;
    av_packet_rescale_ts(packet_.get(), encoder_->time_base, stream_->time_base);
    packet_->stream_index = stream_->index;
    const int result = av_interleaved_write_frame(file_.get(), packet_.get());
    return result >= 0 || fail(avErrorText(result));
}

bool FfmpegVideoSink::receivePackets() {
    for (;;) {
        const int result = avcodec_receive_packet(encoder_.get(), packet_.get());
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return true;
        if (result < 0)
            return fail(avErrorText(result));
        returned_ = packet_->pts;
        if (!writePacket())
            return false;
        // The repeats of a key frame follow it as soon as the encoder has given it back.
        if (!waiting_.empty() && returned_ >= waitingFor_) {
            for (const auto& [number, bytes] : waiting_)
                if (!writeRepeatPacket(number, bytes))
                    return false;
            waiting_.clear();
        }
    }
}

bool FfmpegVideoSink::encode(bool key) {
    picture_->pts = next_;
    picture_->pict_type = key ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
    const int result = avcodec_send_frame(encoder_.get(), picture_.get());
    if (result < 0)
        return fail(avErrorText(result));
    if (key)
        key_ = next_;
    ++next_;
    sinceKey_ = key ? 1 : sinceKey_ + 1;
    lastWasRepeat_ = false;
    repeatable_ = key;
    return receivePackets() && writeSoundUpTo(next_) && goOn();
}

bool FfmpegVideoSink::writeRepeatPacket(std::int64_t number, const QByteArray& bytes) {
    const int result = av_new_packet(packet_.get(), int(bytes.size()));
    if (result < 0)
        return fail(avErrorText(result));
    std::copy(bytes.begin(), bytes.end(), packet_->data);
    packet_->pts = packet_->dts = number;
    return writePacket();
}

bool FfmpegVideoSink::writeRepeat() {
    const QByteArray bytes = h264_ ? h264RepeatPicture(*h264_, sinceKey_) : vp9RepeatFrame();
    // An encoder gives a frame back a frame or so late: the repeats wait for their key frame.
    if (returned_ >= key_) {
        if (!writeRepeatPacket(next_, bytes))
            return false;
    } else {
        waitingFor_ = key_;
        waiting_.emplace_back(next_, bytes);
    }
    ++next_;
    ++sinceKey_;
    lastWasRepeat_ = true;
    return writeSoundUpTo(next_) && goOn();
}

bool FfmpegVideoSink::addFrame(const QImage& frame, std::int64_t count) {
    if (count < 1)
        return true;
    if (!convert(frame))
        return false;
    // The encoder's pictures refer to its own earlier pictures, which repeats are not: after a repeat,
    // and before repeats, it starts afresh with a key frame.
    const bool key = lastWasRepeat_ || count > 1 || sinceKey_ >= keyInterval_ || next_ == 0;
    if (!encode(key))
        return false;
    const bool repeats = (h264_ || settings_.container == VideoContainer::WebM);
    for (std::int64_t i = 1; i < count; ++i) {
        const bool ok = !repeats || sinceKey_ >= keyInterval_ || !repeatable_
                            ? encode(sinceKey_ >= keyInterval_ || lastWasRepeat_)
                            : writeRepeat();
        if (!ok)
            return false;
    }
    return true;
}

bool FfmpegVideoSink::writeSoundUpTo(std::int64_t frames) {
    const std::int64_t target = frames * TrackRate / settings_.fps;
    const int size = sound_.frameSize();
    std::vector<float> samples(std::size_t(size) * TrackChannels);
    while (sound_.samplesWritten() < target) {
        if (!goOn())
            return false;
        const int count = int(std::min<std::int64_t>(size, target - sound_.samplesWritten()));
        // Whole encoder frames until the end of the video, where the last one may be shorter.
        if (count < size && frames < settings_.frameCount)
            return true;
        track_->read(samples.data(), count);
        if (!sound_.write(samples.data(), count, &error_))
            return false;
    }
    return true;
}

bool FfmpegVideoSink::finish() {
    if (!headerWritten_)
        return false;
    const std::int64_t end = std::max(next_, settings_.frameCount);
    settings_.frameCount = end;
    int result = avcodec_send_frame(encoder_.get(), nullptr);
    if (result < 0)
        return fail(avErrorText(result));
    if (!receivePackets() || !writeSoundUpTo(end) || !sound_.finish(&error_))
        return false;
    if ((result = av_write_trailer(file_.get())) < 0)
        return fail(avErrorText(result));
    QString why;
    return file_.close(&why) || fail(why);
}

} // namespace sharing::codec
