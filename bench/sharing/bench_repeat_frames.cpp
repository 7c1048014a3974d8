// SPDX-License-Identifier: MIT
// A slide held on screen, three ways, for 12 pictures of 10 s each at 1280 x 720 and 25 frames a
// second, in MP4 (H.264) and WebM (VP9): the video's time to write and its size.
// - ours: the codec module, each picture encoded once and its repeats written without the encoder;
// - the encoder's own repeats: the same encoder and settings given every frame of the slide, which
//   it codes as frames that change nothing;
// - one frame for the whole slide: the picture encoded once, its packet lasting the slide's time
//   (a video of variable frame rate).
// The figure beside ours is the encoder's own repeats.
#include "bench_process.h"
#include "codec_module.h"
#include "ratio_reporter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <QApplication>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace {

constexpr int Pictures = 12;
constexpr int Fps = 25;
constexpr int SlideFrames = 10 * Fps;
const QSize Size(1280, 720);

QTemporaryDir* work;
std::vector<QImage> pictures;

// A picture with smooth and detailed parts, as a photograph has, different for each slide.
QImage makePicture(int n) {
    QImage image(Size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient ramp(0, 0, Size.width(), Size.height());
    ramp.setColorAt(0, QColor::fromHsv(n * 30 % 360, 200, 220));
    ramp.setColorAt(1, QColor::fromHsv((n * 30 + 120) % 360, 160, 60));
    painter.fillRect(image.rect(), ramp);
    painter.setPen(Qt::white);
    for (int i = 0; i < 400; ++i)
        painter.drawEllipse(QPoint((i * 97 + n * 13) % Size.width(), (i * 57 + n * 31) % Size.height()),
                            4 + i % 23, 3 + i % 17);
    return image;
}

qint64 fileSize(const QString& path) {
    return QFileInfo(path).size();
}

void OurRepeats(benchmark::State& state, sharing::VideoContainer container) {
    QString error;
    sharing::CodecBackend* codec = sharing::codecBackend(&error);
    if (!codec) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    const QString path = work->filePath(container == sharing::VideoContainer::Mp4 ? "ours.mp4" : "ours.webm");
    sharing::VideoSettings settings;
    settings.container = container;
    settings.size = Size;
    settings.fps = Fps;
    settings.frameCount = std::int64_t(Pictures) * SlideFrames;
    for (auto _ : state) {
        std::unique_ptr<sharing::VideoSink> sink = codec->openVideo(path, settings, &error);
        bool ok = sink != nullptr;
        for (const QImage& picture : pictures)
            ok = ok && sink->addFrame(picture, SlideFrames);
        if (!ok || !sink->finish()) {
            state.SkipWithError(qPrintable(sink ? sink->errorText() : error));
            return;
        }
    }
    state.counters["kB"] = double(fileSize(path)) / 1000.0;
}
BENCHMARK_CAPTURE(OurRepeats, mp4, sharing::VideoContainer::Mp4)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(OurRepeats, webm, sharing::VideoContainer::WebM)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// The encoder settings of the codec module, without what its own repeats need (CAVLC for H.264).
void setEncoderOptions(AVDictionary** options, bool mp4) {
    if (mp4) {
        av_dict_set(options, "preset", "veryfast", 0);
        av_dict_set(options, "tune", "stillimage", 0);
        av_dict_set(options, "crf", "20", 0);
        av_dict_set(options, "x264-params", "bframes=0:rc-lookahead=0:sync-lookahead=0:sliced-threads=1", 0);
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

// A video written with FFmpeg's libraries alone: every frame of a slide given to the encoder, or
// (`longFrames`) one frame a slide that lasts the slide's time.
class PlainWriter {
  public:
    ~PlainWriter() {
        sws_freeContext(converter_);
        av_frame_free(&frame_);
        av_packet_free(&packet_);
        avcodec_free_context(&encoder_);
        if (file_ && file_->pb)
            avio_closep(&file_->pb);
        avformat_free_context(file_);
    }

    bool write(const QString& path, bool mp4, bool longFrames) {
        if (!open(path, mp4))
            return false;
        std::int64_t pts = 0;
        for (const QImage& picture : pictures) {
            convert(picture);
            const int sends = longFrames ? 1 : SlideFrames;
            for (int i = 0; i < sends; ++i, ++pts) {
                frame_->pts = pts;
                frame_->pict_type = i == 0 ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
                if (!send(frame_, longFrames ? SlideFrames : 1))
                    return false;
            }
            if (longFrames)
                pts += SlideFrames - 1;
        }
        return send(nullptr, 1) && av_write_trailer(file_) >= 0 && avio_closep(&file_->pb) >= 0;
    }

  private:
    bool open(const QString& path, bool mp4) {
        const QByteArray name = QFile::encodeName(path);
        if (avformat_alloc_output_context2(&file_, nullptr, mp4 ? "mp4" : "webm", name.constData()) < 0)
            return false;
        const AVCodec* codec = avcodec_find_encoder_by_name(mp4 ? "libx264" : "libvpx-vp9");
        encoder_ = codec ? avcodec_alloc_context3(codec) : nullptr;
        if (!encoder_)
            return false;
        encoder_->width = Size.width();
        encoder_->height = Size.height();
        encoder_->time_base = AVRational{1, Fps};
        encoder_->framerate = AVRational{Fps, 1};
        encoder_->pix_fmt = AV_PIX_FMT_YUV420P;
        encoder_->gop_size = 10 * Fps;
        encoder_->max_b_frames = 0;
        encoder_->thread_count = 2;
        encoder_->thread_type = FF_THREAD_SLICE;
        if (file_->oformat->flags & AVFMT_GLOBALHEADER)
            encoder_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        AVDictionary* options = nullptr;
        setEncoderOptions(&options, mp4);
        const int opened = avcodec_open2(encoder_, codec, &options);
        av_dict_free(&options);
        stream_ = opened >= 0 ? avformat_new_stream(file_, nullptr) : nullptr;
        if (!stream_ || avcodec_parameters_from_context(stream_->codecpar, encoder_) < 0)
            return false;
        stream_->time_base = encoder_->time_base;
        converter_ = sws_getContext(Size.width(), Size.height(), AV_PIX_FMT_BGRA, Size.width(), Size.height(),
                                    AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr, nullptr, nullptr);
        packet_ = av_packet_alloc();
        return avio_open(&file_->pb, name.constData(), AVIO_FLAG_WRITE) >= 0 &&
               avformat_write_header(file_, nullptr) >= 0;
    }

    void convert(const QImage& picture) {
        av_frame_free(&frame_);
        frame_ = av_frame_alloc();
        frame_->width = Size.width();
        frame_->height = Size.height();
        frame_->format = AV_PIX_FMT_YUV420P;
        av_frame_get_buffer(frame_, 0);
        const uint8_t* source[] = {picture.constBits()};
        const int stride[] = {int(picture.bytesPerLine())};
        sws_scale(converter_, source, stride, 0, picture.height(), frame_->data, frame_->linesize);
    }

    bool send(const AVFrame* frame, std::int64_t duration) {
        int result = avcodec_send_frame(encoder_, frame);
        while (result >= 0) {
            result = avcodec_receive_packet(encoder_, packet_);
            if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
                return true;
            if (result < 0)
                break;
            packet_->duration = duration;
            av_packet_rescale_ts(packet_, encoder_->time_base, stream_->time_base);
            packet_->stream_index = stream_->index;
            result = av_interleaved_write_frame(file_, packet_);
        }
        return false;
    }

    AVFormatContext* file_ = nullptr;
    AVCodecContext* encoder_ = nullptr;
    AVStream* stream_ = nullptr;
    SwsContext* converter_ = nullptr;
    AVFrame* frame_ = nullptr;
    AVPacket* packet_ = nullptr;
};

void Plain(benchmark::State& state, bool mp4, bool longFrames) {
    const QString path = work->filePath(QStringLiteral("plain.") + (mp4 ? "mp4" : "webm"));
    for (auto _ : state) {
        PlainWriter writer;
        if (!writer.write(path, mp4, longFrames)) {
            state.SkipWithError("FFmpeg's libraries could not write the video");
            return;
        }
    }
    state.counters["kB"] = double(fileSize(path)) / 1000.0;
}
BENCHMARK_CAPTURE(Plain, EncoderRepeats_mp4, true, false)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(Plain, EncoderRepeats_webm, false, false)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(Plain, LongFrames_mp4, true, true)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(Plain, LongFrames_webm, false, true)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    preferOffscreenPlatform();
    QApplication app(argc, argv);
    av_log_set_level(AV_LOG_FATAL);
    QTemporaryDir dir;
    work = &dir;
    for (int n = 0; n < Pictures; ++n)
        pictures.push_back(makePicture(n));
    return runWithRatios(
        argc, argv,
        {{"OurRepeats/mp4", "Plain/EncoderRepeats_mp4"}, {"OurRepeats/webm", "Plain/EncoderRepeats_webm"}});
}
