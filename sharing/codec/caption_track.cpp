// SPDX-License-Identifier: MIT
#include "caption_track.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/mem.h>
}

#include <cstring>

namespace sharing::codec {

namespace {

constexpr AVRational Milliseconds{1, 1000};

// The subtitles' one style, white letters outlined at the foot, as the encoders read it.
constexpr char SubtitleHeader[] =
    "[Script Info]\r\nScriptType: v4.00+\r\nPlayResX: 384\r\nPlayResY: 288\r\n\r\n"
    "[V4+ Styles]\r\nFormat: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, "
    "BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, BorderStyle, Outline, "
    "Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\r\n"
    "Style: Default,Sans,16,&Hffffff,&Hffffff,&H0,&H0,0,0,0,0,100,100,0,0,1,1,0,2,10,10,10,0\r\n\r\n"
    "[Events]\r\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\r\n";

// A caption as an event of the subtitle format the encoders take: its lines broken as "\N", braces
// kept out of the way of the format's own.
QByteArray eventText(const QString& caption, int order) {
    QString text = caption;
    text.replace(QLatin1Char('{'), QLatin1Char('(')).replace(QLatin1Char('}'), QLatin1Char(')'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\\N"));
    return QStringLiteral("%1,0,Default,,0,0,0,,%2").arg(order).arg(text).toUtf8();
}

} // namespace

void addChapters(AVFormatContext* file, const std::vector<VideoCaption>& captions) {
    for (const VideoCaption& caption : captions) {
        auto* chapter = static_cast<AVChapter*>(av_mallocz(sizeof(AVChapter)));
        if (!chapter)
            return;
        chapter->id = std::int64_t(file->nb_chapters) + 1;
        chapter->time_base = Milliseconds;
        chapter->start = caption.startMs;
        chapter->end = caption.endMs;
        av_dict_set(&chapter->metadata, "title", caption.text.toUtf8().constData(), 0);
        int count = int(file->nb_chapters);
        av_dynarray_add(&file->chapters, &count, chapter);
        file->nb_chapters = unsigned(count);
    }
}

bool SubtitleTrack::open(AVFormatContext* file, bool mp4, QString* error) {
    const AVCodec* codec = avcodec_find_encoder(mp4 ? AV_CODEC_ID_MOV_TEXT : AV_CODEC_ID_WEBVTT);
    if (!codec)
        return *error = QStringLiteral("no subtitle encoder"), false;
    encoder_.reset(avcodec_alloc_context3(codec));
    AVCodecContext* c = encoder_.get();
    c->time_base = Milliseconds;
    c->subtitle_header = static_cast<uint8_t*>(av_memdup(SubtitleHeader, sizeof SubtitleHeader));
    c->subtitle_header_size = int(sizeof SubtitleHeader - 1);
    int result = avcodec_open2(c, codec, nullptr);
    stream_ = result >= 0 ? avformat_new_stream(file, nullptr) : nullptr;
    if (result >= 0 && !stream_)
        result = AVERROR(ENOMEM);
    if (result >= 0)
        result = avcodec_parameters_from_context(stream_->codecpar, c);
    if (result < 0)
        return *error = avErrorText(result), false;
    stream_->time_base = Milliseconds;
    return true;
}

bool SubtitleTrack::write(AVFormatContext* file, const std::vector<VideoCaption>& captions, QString* error) {
    std::vector<uint8_t> buffer(64 * 1024);
    int order = 0;
    for (const VideoCaption& caption : captions) {
        if (caption.inPicture)
            continue;
        QByteArray text = eventText(caption.text, order++);
        AVSubtitleRect rect{};
        rect.type = SUBTITLE_ASS;
        rect.ass = text.data();
        AVSubtitleRect* rects[] = {&rect};
        AVSubtitle subtitle{};
        subtitle.format = 1; // text
        subtitle.end_display_time = uint32_t(caption.endMs - caption.startMs);
        subtitle.num_rects = 1;
        subtitle.rects = rects;
        subtitle.pts = caption.startMs * 1000; // in AV_TIME_BASE
        const int size =
            avcodec_encode_subtitle(encoder_.get(), buffer.data(), int(buffer.size()), &subtitle);
        if (size < 0)
            return *error = avErrorText(size), false;
        PacketPtr packet(av_packet_alloc());
        int result = packet ? av_new_packet(packet.get(), size) : AVERROR(ENOMEM);
        if (result < 0)
            return *error = avErrorText(result), false;
        std::memcpy(packet->data, buffer.data(), std::size_t(size));
        packet->pts = packet->dts = caption.startMs;
        packet->duration = caption.endMs - caption.startMs;
        packet->stream_index = stream_->index;
        av_packet_rescale_ts(packet.get(), Milliseconds, stream_->time_base);
        result = av_interleaved_write_frame(file, packet.get());
        if (result < 0)
            return *error = avErrorText(result), false;
    }
    return true;
}

} // namespace sharing::codec
