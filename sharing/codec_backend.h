// SPDX-License-Identifier: MIT
#pragma once
// What sharing a show asks of the codec module: the facts of a sound file, a sound converted to MP3
// or Ogg Vorbis, and a video file written frame by frame with its sound track. The module (sharing/codec/) is
// built on FFmpeg's libraries and loaded on first use, so that the program does not load them at every start.
// Both sides are built from this header by the same build.

#include <QImage>
#include <QSize>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace sharing {

struct SoundFacts {
    bool readable = false; // a sound the module decodes
    std::int64_t durationMs = 0;
    QString container; // the demuxer's name: "wav", "mp3", "ogg", ...
    QString codec;     // the decoder's name: "pcm_s16le", "mp3", "vorbis", ...
    QString error;
};

// A sound file played from its beginning over [startMs, endMs) of the video.
struct SoundSpan {
    QString path;
    std::int64_t startMs = 0;
    std::int64_t endMs = 0;
};

// A slide's caption over its time on screen: a chapter of the video named by it, and where asked
// a subtitle.
struct VideoCaption {
    std::int64_t startMs = 0;
    std::int64_t endMs = 0;
    QString text;
    bool inPicture = false; // a title slide's title, drawn in the picture itself: a chapter, no subtitle
};

enum class VideoContainer { Mp4, WebM }; // H.264 and AAC, or VP9 and Opus

// How much of the picture's detail the video keeps, against its size: the encoder's constant quality.
enum class VideoQuality { Smaller, Balanced, Best };

struct VideoSettings {
    VideoContainer container = VideoContainer::Mp4;
    QSize size{1280, 720};
    int fps = 25;
    VideoQuality quality = VideoQuality::Balanced;
    std::int64_t frameCount = 0;   // the video's length; its sound track is exactly as long
    std::vector<SoundSpan> sounds; // in time order, not overlapping
    // The show's music under the whole track: its files one after another from the first moment,
    // and again from the first until the track ends; quieter while a sound span plays and fading
    // out over `musicFadeMs` before the end, as the viewer plays it.
    std::vector<QString> music;
    std::int64_t musicFadeMs = 0;
    double musicLevel = 1.0; // the show's level for its music, 0 to 1
    // A chapter for each captioned slide; with `subtitles` the captions as a subtitle track too
    // (MP4: mov_text, WebM: WebVTT).
    std::vector<VideoCaption> captions;
    bool subtitles = false;
    // Asked as the frames and their sound are written, with the number of frames written so far;
    // once it answers false the writing stops: addFrame and finish fail with "cancelled".
    std::function<bool(std::int64_t frames)> keepGoing;
};

// A video being written. Frames come in order; the sound track follows them.
class VideoSink {
  public:
    virtual ~VideoSink() = default;
    // `frame` (Format_RGB32, the video's size) shown for `count` frames (at least 1). A frame held
    // for more than one frame is stored once and repeated at almost no cost.
    virtual bool addFrame(const QImage& frame, std::int64_t count) = 0;
    // Writes the rest of the sound track and closes the file; false when anything failed.
    virtual bool finish() = 0;
    virtual QString errorText() const = 0;
};

class CodecBackend {
  public:
    virtual ~CodecBackend() = default;
    virtual SoundFacts probeSound(const QString& path) = 0;
    // Writes the sound of `from` as an MP3 file `to`; stops early with false when `cancel` is set.
    virtual bool convertToMp3(const QString& from, const QString& to, const std::atomic<bool>& cancel,
                              QString* error) = 0;
    // Writes the sound of `from` as an Ogg Vorbis file `to` (48 kHz stereo, about 128 kbit/s), as
    // a package's players decode it; stops early with false when `cancel` is set.
    virtual bool convertToOgg(const QString& from, const QString& to, const std::atomic<bool>& cancel,
                              QString* error) = 0;
    // Creates `path` (which exists, empty) as a video; null with *error when it cannot.
    virtual std::unique_ptr<VideoSink> openVideo(const QString& path, const VideoSettings& settings,
                                                 QString* error) = 0;
};

// The module's one exported function makes its backend; the caller owns it.
using CreateCodecBackend = CodecBackend* (*)();
inline constexpr char CreateCodecBackendName[] = "verascoCreateCodecBackend";
inline constexpr char CodecModuleName[] = "verasco_codec";

} // namespace sharing
