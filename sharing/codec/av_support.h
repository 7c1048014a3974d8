// SPDX-License-Identifier: MIT
#pragma once
// FFmpeg's C headers and owners for the objects they hand out, for the codec module.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <QFile>
#include <QString>

#include <memory>

namespace sharing::codec {

// The text FFmpeg gives for an error code.
QString avErrorText(int code);

struct InputCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct CodecContextFree {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct FrameFree {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketFree {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct ResamplerFree {
    void operator()(SwrContext* context) const { swr_free(&context); }
};

using InputPtr = std::unique_ptr<AVFormatContext, InputCloser>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextFree>;
using FramePtr = std::unique_ptr<AVFrame, FrameFree>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFree>;
using ResamplerPtr = std::unique_ptr<SwrContext, ResamplerFree>;

// A sound file as a demuxer reads it, by the rules of every file the program reads and did not
// write: opened only when it is a regular file (an open never waits for a FIFO's writer or a
// device), refused beyond the sound files' limit, and read no further than the size it reported
// (a procfs file reports 0 and may never end). Goes after the demuxer that reads it.
class InputFile {
  public:
    InputFile() = default;
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // False with *error when the file cannot be read so.
    bool open(const QString& path, QString* error);
    // What the demuxer reads it through, once it is open.
    AVIOContext* io() const { return io_; }

  private:
    static int read(void* opaque, uint8_t* buffer, int size);
    static int64_t seek(void* opaque, int64_t offset, int whence);

    QFile file_;
    qint64 size_ = 0;
    AVIOContext* io_ = nullptr;
};

// An output file: its muxer context, its file opened for writing, closed (and the context freed)
// when it goes.
class OutputFile {
  public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Makes the muxer `format` ("mp4", "webm", "mp3") for `path`; false with *error.
    bool create(const char* format, const QString& path, QString* error);
    // Opens the file, after the streams have been added; false with *error.
    bool open(QString* error);
    // Closes the file; false with *error when the last writes failed.
    bool close(QString* error);
    AVFormatContext* get() const { return context_; }

  private:
    AVFormatContext* context_ = nullptr;
};

// The sample layout every sound is turned into before it is encoded: 48 kHz stereo, interleaved
// 32-bit float.
inline constexpr int TrackRate = 48000;
inline constexpr int TrackChannels = 2;

} // namespace sharing::codec
