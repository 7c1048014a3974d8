// SPDX-License-Identifier: MIT
#include "video_sink.h"

#include <QCoreApplication>

#include <algorithm>
#include <vector>

namespace sharing::codec {

namespace {

// Seconds between key frames while one picture is held, so that a player can seek into it.
constexpr int KeyIntervalSeconds = 10;

// The encoder's constant quality: x264's CRF 26, 20 and 16, VP9's 36, 30 and 24.
const char* constantQuality(VideoContainer container, VideoQuality quality) {
    const bool mp4 = container == VideoContainer::Mp4;
    switch (quality) {
    case VideoQuality::Smaller:
        return mp4 ? "26" : "36";
    case VideoQuality::Best:
        return mp4 ? "16" : "24";
    case VideoQuality::Balanced:
        break;
    }
    return mp4 ? "20" : "30";
}

// The encoders' usual options at a quick speed: moving pictures get B-frames, look-ahead and
// CABAC (x264), alternate reference frames (VP9).
void setEncoderOptions(AVDictionary** options, const VideoSettings& settings) {
    av_dict_set(options, "crf", constantQuality(settings.container, settings.quality), 0);
    if (settings.container == VideoContainer::Mp4) {
        av_dict_set(options, "preset", "veryfast", 0);
        av_dict_set(options, "forced-idr", "1", 0);
    } else {
        av_dict_set(options, "deadline", "good", 0);
        av_dict_set(options, "cpu-used", "5", 0);
        av_dict_set(options, "row-mt", "1", 0);
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
    bool opened = file_.create(mp4 ? "mp4" : "webm", path, &why) && openEncoder() && addStream() &&
                  sound_.open(file_.get(), mp4 ? "aac" : "libopus", mp4 ? 160000 : 128000, &why) &&
                  (!settings.subtitles || subtitles_.open(file_.get(), mp4, &why)) && file_.open(&why);
    if (opened) {
        addChapters(file_.get(), settings.captions);
        AVDictionary* options = nullptr;
        if (mp4)
            av_dict_set(&options, "movflags", "+faststart", 0); // playable while it downloads
        const int result = avformat_write_header(file_.get(), &options);
        av_dict_free(&options);
        opened = result >= 0 || (why = avErrorText(result), false);
        opened = opened && (!settings.subtitles || subtitles_.write(file_.get(), settings.captions, &why));
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
    return true;
}

// An encoder for a run of frames; each run starts with a key frame, and a held picture's key frame
// ends its run. Every run's encoder is made alike and gives the same stream parameters.
bool FfmpegVideoSink::openEncoder() {
    const char* name = settings_.container == VideoContainer::Mp4 ? "libx264" : "libvpx-vp9";
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
    c->thread_count = 0;
    c->color_range = AVCOL_RANGE_MPEG;
    c->colorspace = AVCOL_SPC_BT709;
    c->color_primaries = AVCOL_PRI_BT709;
    c->color_trc = AVCOL_TRC_BT709;
    if (file_.get()->oformat->flags & AVFMT_GLOBALHEADER)
        c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* options = nullptr;
    setEncoderOptions(&options, settings_);
    const int result = avcodec_open2(c, codec, &options);
    av_dict_free(&options);
    runStart_ = next_;
    runOffset_.reset();
    reorder_ = c->has_b_frames;
    return result >= 0 || fail(avErrorText(result));
}

// The video stream, with the first encoder's parameters; for H.264 those of the repeats too.
bool FfmpegVideoSink::addStream() {
    stream_ = avformat_new_stream(file_.get(), nullptr);
    if (!stream_)
        return fail(avErrorText(AVERROR(ENOMEM)));
    const AVCodecContext* c = encoder_.get();
    int result = avcodec_parameters_from_context(stream_->codecpar, c);
    if (result < 0)
        return fail(avErrorText(result));
    stream_->time_base = c->time_base;
    stream_->avg_frame_rate = c->framerate;
    if (settings_.container != VideoContainer::Mp4)
        return true;
    QByteArray header(reinterpret_cast<const char*>(c->extradata), c->extradata_size);
    h264_ = readH264Parameters(header);
    if (h264_ && h264_->cabac)
        header += h264RepeatParameterSet(header, &*h264_);
    auto* extradata =
        static_cast<uint8_t*>(av_mallocz(std::size_t(header.size()) + AV_INPUT_BUFFER_PADDING_SIZE));
    if (!extradata)
        return fail(avErrorText(AVERROR(ENOMEM)));
    std::copy(header.begin(), header.end(), extradata);
    av_freep(&stream_->codecpar->extradata);
    stream_->codecpar->extradata = extradata;
    stream_->codecpar->extradata_size = int(header.size());
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

// A packet timed in frames. With B-frames a frame is decoded before its time, by as many frames as
// the encoder says it may reorder: so is every frame, the repeats and each run's frames alike, so
// that one run's frames are decoded after the frames before it.
bool FfmpegVideoSink::writePacket() {
    packet_->duration = 1;
    av_packet_rescale_ts(packet_.get(), AVRational{1, settings_.fps}, stream_->time_base);
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
        if (!runOffset_)
            runOffset_ = runStart_ - packet_->dts - reorder_;
        packet_->dts += *runOffset_;
        if (!writePacket())
            return false;
    }
}

bool FfmpegVideoSink::encode(bool key) {
    if (!encoder_ && !openEncoder())
        return false;
    picture_->pts = next_;
    picture_->pict_type = key ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
    const int result = avcodec_send_frame(encoder_.get(), picture_.get());
    if (result < 0)
        return fail(avErrorText(result));
    ++next_;
    sinceKey_ = key ? 1 : sinceKey_ + 1;
    return receivePackets() && writeSoundUpTo(next_) && goOn();
}

// The encoder gives back every frame it holds and goes; the next frame starts a new run.
bool FfmpegVideoSink::endRun() {
    if (!encoder_)
        return true;
    const int result = avcodec_send_frame(encoder_.get(), nullptr);
    if (result < 0)
        return fail(avErrorText(result));
    const bool written = receivePackets();
    encoder_.reset();
    return written;
}

bool FfmpegVideoSink::writeRepeat() {
    const QByteArray bytes = h264_ ? h264RepeatPicture(*h264_, sinceKey_) : vp9RepeatFrame();
    int result = av_new_packet(packet_.get(), int(bytes.size()));
    if (result < 0)
        return fail(avErrorText(result));
    std::copy(bytes.begin(), bytes.end(), packet_->data);
    packet_->pts = next_;
    packet_->dts = next_ - reorder_;
    if (!writePacket())
        return false;
    ++next_;
    ++sinceKey_;
    return writeSoundUpTo(next_) && goOn();
}

bool FfmpegVideoSink::addFrame(const QImage& frame, std::int64_t count) {
    if (count < 1)
        return true;
    if (!convert(frame))
        return false;
    const bool repeats = h264_ || settings_.container == VideoContainer::WebM;
    if (count == 1 || !repeats) {
        for (std::int64_t i = 0; i < count; ++i)
            if (!encode(false))
                return false;
        return true;
    }
    // A held picture: a key frame that ends the encoder's run, then frames that repeat it, made
    // without the encoder, and a key frame again after a key interval.
    for (std::int64_t i = 0; i < count; ++i) {
        const bool ok = i == 0 || sinceKey_ >= keyInterval_ ? encode(true) && endRun() : writeRepeat();
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
    if (!endRun() || !writeSoundUpTo(end) || !sound_.finish(&error_))
        return false;
    if (const int result = av_write_trailer(file_.get()); result < 0)
        return fail(avErrorText(result));
    QString why;
    return file_.close(&why) || fail(why);
}

} // namespace sharing::codec
