// SPDX-License-Identifier: MIT
#pragma once
// The video file: H.264 and AAC in MP4, or VP9 and Opus in WebM, at a constant frame rate. Each
// picture is encoded once as a key frame and then repeated with frames made without the encoder
// (see repeat_frames.h); a picture that follows another without repeats (a cross-fade) is encoded
// as the frames of any video are. The sound track is encoded along with the frames.

#include "audio_encoder.h"
#include "codec_backend.h"
#include "repeat_frames.h"
#include "sound_track.h"

#include <memory>
#include <optional>
#include <utility>
#include <vector>

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
    bool openVideoEncoder();
    bool convert(const QImage& image);
    bool encode(bool key);
    bool receivePackets();
    bool writePacket();
    bool writeRepeat();
    bool writeRepeatPacket(std::int64_t number, const QByteArray& bytes);
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
    std::unique_ptr<SoundTrack> track_;
    std::optional<H264Parameters> h264_;
    std::int64_t next_ = 0;          // the number of the next frame
    std::int64_t sinceKey_ = 0;      // frames since the last key frame
    std::int64_t keyInterval_ = 250; // the longest run of frames without a key frame
    std::int64_t key_ = 0;           // the number of the last key frame
    std::int64_t returned_ = -1;     // the number of the last frame the encoder gave back
    // Repeats of a key frame that the encoder has not given back yet, by frame number.
    std::vector<std::pair<std::int64_t, QByteArray>> waiting_;
    std::int64_t waitingFor_ = 0; // the key frame they repeat
    bool lastWasRepeat_ = false;
    bool repeatable_ = false; // the frames since the last key frame are that frame and its repeats
    bool headerWritten_ = false;
    QString error_;
};

} // namespace sharing::codec
