// SPDX-License-Identifier: MIT
#pragma once
// The video file: H.264 and AAC in MP4, or VP9 and Opus in WebM, at a constant frame rate. A held
// picture is encoded once as a key frame and then repeated with frames made without the encoder
// (see repeat_frames.h); pictures that follow one another without repeats (a cross-fade, a motion)
// are encoded as the frames of any video are, with the encoder's usual options. The encoder is
// made anew after each held picture, having given back all it held. The sound track is encoded
// along with the frames.

#include "audio_encoder.h"
#include "caption_track.h"
#include "codec_backend.h"
#include "repeat_frames.h"
#include "sound_track.h"

#include <memory>
#include <optional>

struct SwsContext;

namespace sharing::codec {

class FfmpegVideoSink : public VideoSink {
  public:
    ~FfmpegVideoSink() override;
    bool open(const QString& path, const VideoSettings& settings, QString* error);

    bool addFrame(const QImage& frame, std::int64_t count) override;
    bool finish() override;
    QString errorText() const override { return error_; }

  private:
    bool openEncoder();
    bool addStream();
    bool convert(const QImage& image);
    bool encode(bool key);
    bool endRun();
    bool receivePackets();
    bool writePacket();
    bool writeRepeat();
    bool writeSoundUpTo(std::int64_t frames);
    bool goOn();
    bool fail(const QString& text);

    VideoSettings settings_;
    OutputFile file_;
    CodecContextPtr encoder_;
    AVStream* stream_ = nullptr;
    SwsContext* converter_ = nullptr;
    FramePtr picture_; // the picture being shown, converted
    PacketPtr packet_;
    AudioEncoder sound_;
    SubtitleTrack subtitles_;
    std::unique_ptr<SoundTrack> track_;
    std::optional<H264Parameters> h264_;
    std::int64_t next_ = 0;          // the number of the next frame
    std::int64_t sinceKey_ = 0;      // frames since the last key frame
    std::int64_t keyInterval_ = 250; // the longest run of frames without a key frame
    std::int64_t runStart_ = 0;      // the number of the run's first frame
    // What the run's decoding times are moved by, known from its first packet.
    std::optional<std::int64_t> runOffset_;
    int reorder_ = 0; // frames a frame may be decoded before its time
    bool headerWritten_ = false;
    QString error_;
};

} // namespace sharing::codec
