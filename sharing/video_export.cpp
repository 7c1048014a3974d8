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

QString onTarget(const QString& target, const QString& reason) {
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(target), reason);
}

// Encodes the frames the drawing thread hands over, slide by slide.
class FrameWriter {
  public:
    FrameWriter(VideoSink& sink, const VideoJob& job, const ShowTimeline& timeline,
                const ShareControl& control)
        : sink_(sink), job_(job), timeline_(timeline), control_(control),
          total_(frameAt(timeline.totalMs, job.fps)) {}

    ShareOutcome run(FrameQueue& frames) {
        QImage previous;
        for (const SlideSpan& span : timeline_.slides) {
            std::optional<QImage> frame = frames.pop();
            if (!frame || control_.cancelled())
                return {ShareOutcome::Cancelled, {}};
            if (!writeSlide(span, previous, *frame))
                return ShareOutcome::failed(onTarget(job_.target, sink_.errorText()));
            previous = std::move(*frame);
            control_.report(frameAt(span.endMs, job_.fps), total_);
        }
        return {};
    }

  private:
    bool writeSlide(const SlideSpan& span, const QImage& previous, const QImage& frame) {
        const std::int64_t first = frameAt(span.startMs, job_.fps);
        const std::int64_t last = frameAt(span.endMs, job_.fps);
        const std::int64_t fadeEnd =
            previous.isNull() ? first : std::min(last, frameAt(span.startMs + span.fadeMs, job_.fps));
        for (std::int64_t f = first; f < fadeEnd; ++f) {
            const double middle = (double(f) + 0.5) * 1000.0 / job_.fps;
            const double opacity = (middle - double(span.startMs)) / double(span.fadeMs);
            if (!sink_.addFrame(FrameRenderer::blend(previous, frame, opacity), 1))
                return false;
        }
        return sink_.addFrame(frame, last - std::max(first, fadeEnd));
    }

    VideoSink& sink_;
    const VideoJob& job_;
    const ShowTimeline& timeline_;
    const ShareControl& control_;
    std::int64_t total_;
};

} // namespace

VideoContainer containerForName(const QString& path) {
    return QFileInfo(path).suffix().compare(QLatin1String("webm"), Qt::CaseInsensitive) == 0
               ? VideoContainer::WebM
               : VideoContainer::Mp4;
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
    settings.frameCount = frameAt(timeline.totalMs, job.fps);
    for (const SoundPlay& play : timeline.sounds)
        settings.sounds.push_back({job.show.slides[std::size_t(play.slide)].audio, play.startMs, play.endMs});

    WorkBesideTarget work(job.target, WorkBesideTarget::Kind::File);
    if (!work.create(&error))
        return ShareOutcome::failed(error);
    std::unique_ptr<VideoSink> sink = codec->openVideo(work.path(), settings, &error);
    if (!sink)
        return ShareOutcome::failed(onTarget(job.target, error));

    const FrameRenderer renderer(job.size);
    FrameQueue frames(2);
    std::thread drawer([&] {
        for (const SharedSlide& slide : job.show.slides)
            if (!frames.push(renderer.renderSlide(slide)))
                return;
    });
    ShareOutcome outcome = FrameWriter(*sink, job, timeline, control).run(frames);
    frames.stop();
    drawer.join();
    if (outcome.result != ShareOutcome::Done)
        return outcome;
    if (!sink->finish())
        return ShareOutcome::failed(onTarget(job.target, sink->errorText()));
    sink.reset();
    if (!work.commit(&error))
        return ShareOutcome::failed(error);
    return {};
}

} // namespace sharing
