// SPDX-License-Identifier: MIT
// The viewer with 4000 x 3000 photographs in an 800 x 600 image area:
// - switching to a slide whose picture was not decoded ahead, from the start of ShowCurrentSlide to
//   the picture painted, beside libjpeg's djpeg decoding the same file at 1/4 scale (process start
//   included); and, on a line of its own, switching between two slides whose pictures the viewer
//   holds decoded already;
// - with cross-fades, how long after its due time the next slide's first frame is on screen (its
//   picture decoded ahead while the slide before it shows), over 30 slides, beside the same djpeg;
// - the frames of slides moving (pan and zoom) and fading into each other, over 8 slides of 800 ms:
//   the mean time between frames and the share of frames that came later than one refresh interval
//   after the one before them missed, beside the same show with plain cross-fades, no motion;
// - a show of 30 slides of 200 ms each on the real clock, beside sleep(1) asked for the same 6 s;
// - the peak resident memory while 500 slides of those photographs play, beside djpeg decoding one
//   of them at full size, and against the 150 MB the viewer may use.

#include "bench_photos.h"
#include "bench_process.h"
#include "motion_view.h"
#include "peer_programs.h"
#include "ratio_reporter.h"
#include "shared_flags.h"
#include "show_document.h"
#include "show_form.h"
#include "show_motion.h"
#include "show_of_photos.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QSlider>
#include <QTemporaryDir>

#include <functional>

namespace {

constexpr QSize ImageArea(800, 600);
QTemporaryDir* workDir = nullptr;
QStringList photos; // distinct 4000 x 3000 photographs

// A viewer whose image area is 800 x 600, shown (offscreen) so that it paints.
struct Viewer {
    ShowDocument show;
    SharedFlags flags;
    TshowFrm window{show, flags};

    explicit Viewer(const QStringList& images, int delay = 1, int crossFadeMs = 0) {
        appendPhotoSlides(show, images, delay);
        ViewerHost host;
        host.switches = [crossFadeMs] {
            return ShowSwitches{.ShowSlideControls = true,
                                .LoopSlideShow = false,
                                .HideEditor = false,
                                .CrossFadeMs = crossFadeMs};
        };
        window.setHost(host);
        window.StartShow(false);
        QWidget* area = window.findChild<QWidget*>(QStringLiteral("Panel6"));
        window.resize(window.size() + ImageArea - area->size());
        QCoreApplication::processEvents();
    }
    bool areaIsRight() { return window.findChild<QWidget*>(QStringLiteral("Panel6"))->size() == ImageArea; }
};

// Runs the event loop until the condition holds, a minute at most; whether it holds.
bool waitFor(const std::function<bool()>& condition) {
    for (QDeadlineTimer deadline(60000); !condition() && !deadline.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return condition();
}

// Photographs each with a blank slide after it, so that the viewer decodes none ahead (it skips a
// blank slide): each switch to the next photograph decodes its picture from its file.
void OurNextSlide4000x3000(benchmark::State& state) {
    constexpr int Switches = 20;
    QStringList slides;
    for (const QString& photo : linkPhotos(photos, workDir->filePath(QStringLiteral("next")), Switches + 1))
        slides << photo << QStringLiteral("BLANK");
    Viewer viewer(slides);
    auto* picture = viewer.window.findChild<QWidget*>(QStringLiteral("Photo10"));
    if (!viewer.areaIsRight() || !waitFor([&] { return picture->isVisible(); })) {
        state.SkipWithError("the image area is not 800 x 600, or the first picture did not come");
        return;
    }
    int shown = 0;
    for (auto _ : state) {
        shown += 2;
        viewer.flags.CurrentSlide = shown;
        viewer.window.ShowCurrentSlide();
        if (!waitFor([&] { return picture->isVisible(); })) {
            state.SkipWithError("the picture did not come");
            return;
        }
        picture->repaint();
    }
}
BENCHMARK(OurNextSlide4000x3000)->Unit(benchmark::kMillisecond)->Iterations(20);

// Back and forth between two slides, whose pictures the viewer keeps decoded.
void OurNextSlideDecodedAlready(benchmark::State& state) {
    Viewer viewer(photos.mid(0, 2));
    if (!viewer.areaIsRight()) {
        state.SkipWithError("the image area is not 800 x 600");
        return;
    }
    int next = 0;
    for (auto _ : state) {
        next = 1 - next;
        viewer.flags.CurrentSlide = next;
        viewer.window.ShowCurrentSlide();
    }
}
BENCHMARK(OurNextSlideDecodedAlready)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void DjpegScaleOneQuarter(benchmark::State& state) {
    const Djpeg djpeg("1/4");
    if (!djpeg.installed()) {
        state.SkipWithError("djpeg not installed");
        return;
    }
    for (auto _ : state) {
        if (!djpeg.decode(photos[0])) {
            state.SkipWithError("djpeg failed");
            return;
        }
    }
}
BENCHMARK(DjpegScaleOneQuarter)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

// Thirty slides of 400 ms (delay 1 at speed 16) with 200 ms cross-fades. Each slide's due time is
// 400 ms after the one before it; the time reported is the mean lateness of the first frame of slides
// 2 to 30, the worst and the number within 20 ms are counters.
void OurCrossFadeFirstFrame4000x3000(benchmark::State& state) {
    constexpr int Slides = 30, SlideMs = 400;
    Viewer viewer(linkPhotos(photos, workDir->filePath(QStringLiteral("fade")), Slides), 1, 200);
    if (!viewer.areaIsRight()) {
        state.SkipWithError("the image area is not 800 x 600");
        return;
    }
    viewer.window.findChild<QSlider*>(QStringLiteral("TrackBar1"))->setValue(16);
    QElapsedTimer clock;
    std::vector<double> shownMs;
    QObject::connect(&viewer.window, &TshowFrm::slideShown,
                     [&] { shownMs.push_back(clock.nsecsElapsed() / 1e6); });
    double worstMs = 0;
    int within20 = 0, late = 0;
    for (auto _ : state) {
        shownMs.clear();
        viewer.flags.CurrentSlide = 0;
        clock.start();
        viewer.window.PlayShow();
        double sumMs = 0;
        for (std::size_t k = 1; k < shownMs.size(); ++k) {
            const double lateMs = qMax(0.0, shownMs[k] - double(k * SlideMs));
            sumMs += lateMs;
            worstMs = qMax(worstMs, lateMs);
            ++(lateMs <= 20.0 ? within20 : late);
        }
        state.SetIterationTime(sumMs / 1000.0 / double(qMax<std::size_t>(1, shownMs.size() - 1)));
    }
    state.counters["worst_ms"] = worstMs;
    state.counters["within_20ms"] = within20;
    state.counters["later"] = late;
}
BENCHMARK(OurCrossFadeFirstFrame4000x3000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(2);

// Paint times of one widget of the viewer, as frames of the slide on screen: a new slide starts a
// new run of frames.
class FrameTimes : public QObject {
  public:
    FrameTimes(TshowFrm& window, const char* widget) {
        window.findChild<QWidget*>(QLatin1String(widget))->installEventFilter(this);
        QObject::connect(&window, &TshowFrm::slideShown, this, [this] { lastMs_ = -1; });
        clock_.start();
    }
    std::vector<double> intervalsMs;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Paint)
            return false;
        const double now = clock_.nsecsElapsed() / 1e6;
        if (lastMs_ >= 0)
            intervalsMs.push_back(now - lastMs_);
        lastMs_ = now;
        return false;
    }

  private:
    QElapsedTimer clock_;
    double lastMs_ = -1;
};

// Eight slides of 800 ms (delay 1 at speed 12) with 200 ms cross-fades, with or without gentle
// motion; the time reported is the mean time between two frames of `widget`, the share of frames
// that came more than one refresh interval late (one or more frames missed) a counter.
void frameTimes(benchmark::State& state, bool motion, const char* widget) {
    constexpr int Slides = 8;
    Viewer viewer(linkPhotos(photos, workDir->filePath(motion ? "motion" : "still"), Slides), 1, 200);
    if (!viewer.areaIsRight()) {
        state.SkipWithError("the image area is not 800 x 600");
        return;
    }
    if (motion) {
        const auto motions = ShowMotion::gentleMotions(std::vector<QSizeF>(Slides, QSizeF(4000, 3000)));
        for (int i = 0; i < Slides; ++i)
            viewer.show.replace(
                i, {viewer.show.slide(i), {}, ShowMotion::withMotion({}, motions[std::size_t(i)])});
    }
    viewer.window.findChild<QSlider*>(QStringLiteral("TrackBar1"))->setValue(12);
    const double refreshMs = refreshIntervalMs(viewer.window) + 1.0;
    FrameTimes frames(viewer.window, widget);
    for (auto _ : state) {
        frames.intervalsMs.clear();
        viewer.flags.CurrentSlide = 0;
        viewer.window.PlayShow();
        double sum = 0;
        int late = 0;
        for (double ms : frames.intervalsMs) {
            sum += ms;
            late += ms > 2 * refreshMs ? 1 : 0;
        }
        const double count = double(qMax<std::size_t>(1, frames.intervalsMs.size()));
        state.SetIterationTime(sum / 1000.0 / count);
        state.counters["frames"] = double(frames.intervalsMs.size());
        state.counters["late_share"] = late / count;
    }
}

void OurMotionFrames4000x3000(benchmark::State& state) {
    frameTimes(state, true, "MotionView");
}
BENCHMARK(OurMotionFrames4000x3000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(2);

void PlainCrossFadeFrames4000x3000(benchmark::State& state) {
    frameTimes(state, false, "CrossFade");
}
BENCHMARK(PlainCrossFadeFrames4000x3000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(2);

// Thirty slides with delay 1 at speed 18: 200 ms each, 6.0 s in all.
void OurShowOf30SlidesAt200ms(benchmark::State& state) {
    const QString small = workDir->filePath(QStringLiteral("small.png"));
    QImage(160, 120, QImage::Format_RGB32).save(small);
    Viewer viewer(QStringList(30, small));
    viewer.window.findChild<QSlider*>(QStringLiteral("TrackBar1"))->setValue(18);
    double worstMs = 0;
    for (auto _ : state) {
        viewer.flags.CurrentSlide = 0;
        QElapsedTimer clock;
        clock.start();
        viewer.window.PlayShow();
        worstMs = qMax(worstMs, clock.nsecsElapsed() / 1e6);
    }
    // How far the slowest run came from the 6.0 s the show asks for, in per cent.
    state.counters["worst_off_6s_pct"] = (worstMs - 6000.0) / 60.0;
}
BENCHMARK(OurShowOf30SlidesAt200ms)->Unit(benchmark::kMillisecond)->Iterations(3);

void SleepSixSeconds(benchmark::State& state) {
    const QByteArray program = peerProgram(QStringLiteral("sleep"));
    char* argv[] = {const_cast<char*>("sleep"), const_cast<char*>("6.0"), nullptr};
    for (auto _ : state) {
        if (!spawnAndWait(program, argv)) {
            state.SkipWithError("sleep failed");
            return;
        }
    }
}
BENCHMARK(SleepSixSeconds)->Unit(benchmark::kMillisecond)->Iterations(3);

// Peak resident memory of djpeg decoding one photograph at full size, in kilobytes.
long djpegFullDecodeKilobytes() {
    rusage usage{};
    return Djpeg().decode(photos[0], &usage) ? usage.ru_maxrss : -1;
}

// Before anything else has run in this process, so that its peak is the show's.
void reportMemoryOf500Slides() {
    // Each slide its own file name, as in a real show.
    const QStringList slides =
        linkPhotos(photos, workDir->filePath(QStringLiteral("slides")), ShowDocument::MaxSlides);
    const long before = residentKilobytes();
    long peak = 0;
    {
        Viewer viewer(slides);
        viewer.window.findChild<QSlider*>(QStringLiteral("TrackBar1"))->setValue(20);
        QObject::connect(&viewer.window, &TshowFrm::slideShown,
                         [&peak] { peak = qMax(peak, residentKilobytes()); });
        viewer.window.PlayShow();
    }
    const long djpeg = djpegFullDecodeKilobytes();
    std::printf("memory playing %lld slides of 4000 x 3000: peak resident %.1f MB (%.1f MB before the viewer)"
                " vs djpeg decoding one at full size %.1f MB = %.2fx; %.2fx of the 150 MB allowed\n",
                static_cast<long long>(slides.size()), peak / 1024.0, before / 1024.0, djpeg / 1024.0,
                djpeg > 0 ? double(peak) / double(djpeg) : 0.0, peak / 1024.0 / 150.0);
}

} // namespace

int main(int argc, char** argv) {
    preferOffscreenPlatform();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    workDir = &dir;
    photos = makeLargePhotos(dir.path(), 3);
    if (photos.isEmpty()) {
        std::fprintf(stderr, "bench_player: ImageMagick could not make the photographs\n");
        return 1;
    }
    reportMemoryOf500Slides();
    return runWithRatios(argc, argv,
                         {{"OurNextSlide4000x3000", "DjpegScaleOneQuarter"},
                          {"OurCrossFadeFirstFrame4000x3000", "DjpegScaleOneQuarter"},
                          {"OurMotionFrames4000x3000", "PlainCrossFadeFrames4000x3000"},
                          {"OurShowOf30SlidesAt200ms", "SleepSixSeconds"}},
                         {"OurNextSlideDecodedAlready"});
}
