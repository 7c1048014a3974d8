// SPDX-License-Identifier: MIT
#include "video_export.h"

#include "codec_module.h"
#include "frame_queue.h"
#include "frame_renderer.h"
#include "target_files.h"

#include <QDir>
#include <QFileInfo>

#include <map>
#include <thread>

namespace sharing {

namespace {

// The length of each slide's sound (below 0 where it cannot be played), each file probed once.
std::vector<std::int64_t> soundLengths(CodecBackend& codec, const SharedShow& show,
                                       const ShareControl& control) {
    std::vector<std::int64_t> lengths(show.slides.size(), -1);
    std::map<QString, std::int64_t> known;
    for (std::size_t i = 0; i < show.slides.size() && !control.cancelled(); ++i) {
        const QString& audio = show.slides[i].audio;
        if (audio.isEmpty())
            continue;
        auto found = known.find(audio);
        if (found == known.end()) {
            const SoundFacts facts = codec.probeSound(audio);
            found = known.emplace(audio, facts.readable ? facts.durationMs : -1).first;
        }
        lengths[i] = found->second;
    }
    return lengths;
}

// A still slide's one frame, or a moving slide's frames, one a video frame, its motion over the
// slide's own time as the viewer runs it at the middle speed, then its motion's last frame, which
// the next slide changes in over as in the viewer. A moving picture that cannot be read is drawn
// still in each of them.
bool drawSlide(const FrameRenderer& renderer, const SharedSlide& slide, const SlideSpan& span, int fps,
               FrameQueue& frames) {
    if (!slide.motion)
        return frames.push(renderer.renderSlide(slide));
    const QImage picture = renderer.loadMoving(slide);
    const QImage still = picture.isNull() ? renderer.renderSlide(slide) : QImage();
    const QImage fill = picture.isNull() ? QImage() : renderer.fill(slide, picture);
    for (std::int64_t f = frameAt(span.startMs, fps); f < frameAt(span.endMs, fps); ++f) {
        const double middle = (double(f) + 0.5) * 1000.0 / fps;
        const ShowMotion::Frame frame = ShowMotion::frameAt(
            *slide.motion, ShowRules::motionProgress(std::int64_t(middle) - span.startMs, span.motionMs));
        if (!frames.push(still.isNull() ? renderer.renderMoving(slide, picture, frame, fill) : still))
            return false;
    }
    return frames.push(
        still.isNull() ? renderer.renderMoving(slide, picture, ShowMotion::frameAt(*slide.motion, 1), fill)
                       : still);
}

// The music files the video can play, in order; those it cannot go to `leftOut`.
std::vector<QString> playableMusic(CodecBackend& codec, const std::vector<QString>& music,
                                   std::vector<QString>* leftOut) {
    std::vector<QString> playable;
    for (const QString& file : music)
        (codec.probeSound(file).readable ? playable : *leftOut).push_back(file);
    return playable;
}

QString onTarget(const QString& target, const QString& reason) {
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(target), reason);
}

// Encodes the frames the drawing thread hands over, slide by slide.
class FrameWriter {
  public:
    FrameWriter(const VideoJob& job, const ShowTimeline& timeline, const ShareControl& control)
        : job_(job), timeline_(timeline), control_(control), total_(frameAt(timeline.totalMs, job.fps)) {}

    ShareOutcome run(VideoSink& sink, FrameQueue& frames) {
        const FrameRenderer renderer(job_.size);
        QImage previous;
        for (std::size_t i = 0; i < timeline_.slides.size(); ++i) {
            const SlideSpan& span = timeline_.slides[i];
            const QRect area = renderer.pictureArea(job_.show.slides[i]);
            const std::int64_t first = frameAt(span.startMs, job_.fps), last = frameAt(span.endMs, job_.fps);
            // A still slide is one frame held; a moving slide one frame a video frame.
            const bool moving = job_.show.slides[i].motion.has_value();
            QImage shown = previous;
            for (std::int64_t f = first; f < (moving ? last : first + 1); ++f) {
                std::optional<QImage> frame = frames.pop();
                if (!frame || control_.cancelled())
                    return {ShareOutcome::Cancelled, {}};
                if (!writeFrames(sink, span, previous, *frame, area, f, moving ? f + 1 : last))
                    return failure(sink);
                shown = std::move(*frame);
            }
            if (moving) {
                std::optional<QImage> end = frames.pop();
                if (!end || control_.cancelled())
                    return {ShareOutcome::Cancelled, {}};
                shown = std::move(*end);
            }
            previous = std::move(shown);
        }
        return sink.finish() ? ShareOutcome{} : failure(sink);
    }

    // What the sink asks as it writes: how far it is (shown once a second of video), and whether
    // to go on, so that Cancel takes effect within a long slide.
    bool keepGoing(std::int64_t frames) {
        if (frames > reported_ && (frames / job_.fps > reported_ / job_.fps || frames == total_)) {
            reported_ = frames;
            control_.report(frames, total_);
        }
        return !control_.cancelled();
    }

  private:
    ShareOutcome failure(const VideoSink& sink) const {
        if (control_.cancelled())
            return {ShareOutcome::Cancelled, {}};
        return ShareOutcome::failed(onTarget(job_.target, sink.errorText()));
    }

    // The slide's frames [from, to) showing `frame`. The change into it changes the picture area, the
    // whole frame: a caption on its band over the picture comes in with its picture, as in the
    // viewer's full screen.
    bool writeFrames(VideoSink& sink, const SlideSpan& span, const QImage& previous, const QImage& frame,
                     const QRect& area, std::int64_t from, std::int64_t to) {
        const std::int64_t first = frameAt(span.startMs, job_.fps);
        const std::int64_t last = frameAt(span.endMs, job_.fps);
        const std::int64_t fadeEnd =
            previous.isNull() ? first : std::min(last, frameAt(span.startMs + span.transitionMs, job_.fps));
        for (std::int64_t f = from; f < std::min(to, fadeEnd); ++f) {
            const double middle = (double(f) + 0.5) * 1000.0 / job_.fps;
            const double progress = (middle - double(span.startMs)) / double(span.transitionMs);
            const ShowRules::TransitionLook look =
                ShowRules::transitionAt(span.transition, progress, area.width(), area.height());
            if (!sink.addFrame(FrameRenderer::blend(previous, frame, look, area), 1))
                return false;
        }
        const std::int64_t held = to - std::max(from, fadeEnd);
        return held <= 0 || sink.addFrame(frame, held);
    }

    const VideoJob& job_;
    const ShowTimeline& timeline_;
    const ShareControl& control_;
    std::int64_t total_;
    std::int64_t reported_ = 0;
};

// The captions shown, each over its slide's time: the video's chapters and its subtitles.
std::vector<VideoCaption> videoCaptions(const SharedShow& show, const ShowTimeline& timeline) {
    std::vector<VideoCaption> captions;
    for (std::size_t i = 0; i < show.slides.size(); ++i) {
        const SharedSlide& slide = show.slides[i];
        if (slide.showText && !slide.caption.isEmpty())
            captions.push_back(
                {timeline.slides[i].startMs, timeline.slides[i].endMs, slide.caption, slide.title});
    }
    return captions;
}

// The slide as its frames are drawn: without its caption where the captions are subtitles, but for a
// title slide's title, which is the slide's picture.
SharedSlide drawn(SharedSlide slide, bool subtitles) {
    slide.showText = slide.showText && (!subtitles || slide.title);
    return slide;
}

} // namespace

VideoContainer containerForName(const QString& path) {
    return QFileInfo(path).suffix().compare(QLatin1String("webm"), Qt::CaseInsensitive) == 0
               ? VideoContainer::WebM
               : VideoContainer::Mp4;
}

QString videoFileName(const QString& typed, VideoContainer chosen) {
    static const QStringList ours = {QStringLiteral("mp4"), QStringLiteral("webm")};
    static const QStringList others = {"3g2", "3gp",  "asf", "avi", "f4v", "flv", "m2ts", "m4v", "mkv",
                                       "mov", "mpeg", "mpg", "mts", "ogv", "ts",  "vob",  "wmv"};
    const QString suffix = QFileInfo(typed).suffix();
    if (ours.contains(suffix, Qt::CaseInsensitive))
        return typed;
    const QString extension = chosen == VideoContainer::WebM ? QStringLiteral("webm") : QStringLiteral("mp4");
    if (others.contains(suffix, Qt::CaseInsensitive))
        return typed.left(typed.size() - suffix.size()) + extension;
    return typed.endsWith(QLatin1Char('.')) ? typed + extension : typed + QLatin1Char('.') + extension;
}

ShareOutcome writeVideo(const VideoJob& job, const ShareControl& control) {
    QString error;
    CodecBackend* codec = codecBackend(&error);
    if (!codec)
        return ShareOutcome::failed(error);
    const std::vector<std::int64_t> lengths = soundLengths(*codec, job.show, control);
    if (control.cancelled())
        return {ShareOutcome::Cancelled, {}};
    const ShowTimeline timeline = makeTimeline(slideTimings(job.show, lengths), job.show.fadeMs);

    VideoSettings settings;
    settings.container = job.container;
    settings.size = job.size;
    settings.fps = job.fps;
    settings.quality = job.quality;
    settings.frameCount = frameAt(timeline.totalMs, job.fps);
    for (const SoundPlay& play : timeline.sounds)
        settings.sounds.push_back({job.show.slides[std::size_t(play.slide)].audio, play.startMs, play.endMs});
    std::vector<QString> leftOut;
    settings.music = playableMusic(*codec, job.show.music, &leftOut);
    settings.musicFadeMs = job.show.musicFadeMs;
    settings.musicLevel = job.show.musicLevel;
    settings.captions = videoCaptions(job.show, timeline);
    settings.subtitles = job.subtitles;

    FrameWriter writer(job, timeline, control);
    settings.keepGoing = [&writer](std::int64_t frames) { return writer.keepGoing(frames); };
    WorkBesideTarget work(job.target, WorkBesideTarget::Kind::File);
    if (!work.create(&error))
        return ShareOutcome::failed(error);
    std::unique_ptr<VideoSink> sink = codec->openVideo(work.path(), settings, &error);
    if (!sink)
        return ShareOutcome::failed(onTarget(job.target, error));

    const FrameRenderer renderer(job.size);
    FrameQueue frames(2);
    std::thread drawer([&] {
        for (std::size_t i = 0; i < job.show.slides.size(); ++i)
            if (!drawSlide(renderer, drawn(job.show.slides[i], job.subtitles), timeline.slides[i], job.fps,
                           frames))
                return;
    });
    const ShareOutcome outcome = writer.run(*sink, frames);
    frames.stop();
    drawer.join();
    if (outcome.result != ShareOutcome::Done)
        return outcome;
    sink.reset();
    if (!work.commit(&error))
        return ShareOutcome::failed(error);
    return {ShareOutcome::Done, musicLeftOutNote(leftOut)};
}

} // namespace sharing
