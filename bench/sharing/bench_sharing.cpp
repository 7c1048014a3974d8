// SPDX-License-Identifier: MIT
// Sharing a show of 100 slides of 4000 x 3000 photographs at 3 s each (five minutes), beside peers
// measured in the same run:
// - the MP4 video at 1280 x 720 and 25 frames a second, beside ffmpeg making it from its concat
//   demuxer (duration lines, -c:v libx264 -preset veryfast -tune stillimage), the pictures fitted on
//   black as ours are; and how many times faster than real time ours is;
// - ten of those slides zooming in gently (from the whole picture to its middle 80 %), beside ffmpeg's
//   zoompan filter making the same video from the pictures fitted on black at twice the frame size;
// - a show of 10 of those slides, every other one zooming in, with cross-fades of 0.5 s, as an MP4
//   video at each size the video dialog offers, beside the same video at 1920 x 1080: times and sizes;
// - the web page, beside ImageMagick's convert -resize 1920x1920> of the same pictures one after
//   another.
#include "bench_photos.h"
#include "bench_process.h"
#include "peer_programs.h"
#include "ratio_reporter.h"
#include "show_motion.h"
#include "show_of_photos.h"
#include "video_export.h"
#include "web_page_export.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPalette>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

// 100 slides; VERASCO_BENCH_SLIDES may ask for fewer or more (a quicker run while working on it).
int BenchSlides = 100;
constexpr int SlideSeconds = 3;

QTemporaryDir* work;
QStringList photos; // one a slide
sharing::SharedShow show;

QString workPath(const QString& name) {
    return work->filePath(name);
}

void OurVideo(benchmark::State& state) {
    sharing::VideoJob job;
    job.show = show;
    job.target = workPath(QStringLiteral("ours.mp4"));
    double seconds = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        const sharing::ShareOutcome outcome = sharing::writeVideo(job, {});
        seconds = clock.elapsed() / 1000.0;
        if (outcome.result != sharing::ShareOutcome::Done) {
            state.SkipWithError(qPrintable(outcome.reason));
            break;
        }
    }
    state.counters["times_real_time"] = seconds > 0 ? BenchSlides * SlideSeconds / seconds : 0;
    QFile::remove(job.target);
}
BENCHMARK(OurVideo)->Unit(benchmark::kMillisecond)->Iterations(1);

void FfmpegConcat(benchmark::State& state) {
    const QByteArray ffmpeg = peerProgram(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty()) {
        state.SkipWithError("ffmpeg not installed");
        return;
    }
    // Each picture for its time; the last is named again, as the concat demuxer wants.
    QFile list(workPath(QStringLiteral("slides.txt")));
    if (!list.open(QIODevice::WriteOnly)) {
        state.SkipWithError("cannot write the list");
        return;
    }
    for (const QString& photo : photos)
        list.write(QStringLiteral("file '%1'\nduration %2\n").arg(photo).arg(SlideSeconds).toUtf8());
    list.write(QStringLiteral("file '%1'\n").arg(photos.last()).toUtf8());
    list.close();
    const QByteArray listPath = QFile::encodeName(list.fileName());
    const QByteArray out = QFile::encodeName(workPath(QStringLiteral("peer.mp4")));
    const QByteArray length = QByteArray::number(BenchSlides * SlideSeconds);
    char* argv[] = {const_cast<char*>("ffmpeg"),
                    const_cast<char*>("-v"),
                    const_cast<char*>("error"),
                    const_cast<char*>("-y"),
                    const_cast<char*>("-f"),
                    const_cast<char*>("concat"),
                    const_cast<char*>("-safe"),
                    const_cast<char*>("0"),
                    const_cast<char*>("-i"),
                    const_cast<char*>(listPath.constData()),
                    const_cast<char*>("-vf"),
                    const_cast<char*>("scale=1280:720:force_original_aspect_ratio=decrease,"
                                      "pad=1280:720:(ow-iw)/2:(oh-ih)/2,format=yuv420p"),
                    const_cast<char*>("-r"),
                    const_cast<char*>("25"),
                    const_cast<char*>("-t"),
                    const_cast<char*>(length.constData()),
                    const_cast<char*>("-c:v"),
                    const_cast<char*>("libx264"),
                    const_cast<char*>("-preset"),
                    const_cast<char*>("veryfast"),
                    const_cast<char*>("-tune"),
                    const_cast<char*>("stillimage"),
                    const_cast<char*>(out.constData()),
                    nullptr};
    for (auto _ : state) {
        if (!spawnAndWait(ffmpeg, argv)) {
            state.SkipWithError("ffmpeg failed");
            break;
        }
    }
    QFile::remove(QString::fromLocal8Bit(out));
}
BENCHMARK(FfmpegConcat)->Unit(benchmark::kMillisecond)->Iterations(1);

constexpr int MovingSlides = 10;

// The video written at each iteration, its size in bytes counted.
void writeVideoOf(benchmark::State& state, const sharing::VideoJob& job) {
    for (auto _ : state) {
        const sharing::ShareOutcome outcome = sharing::writeVideo(job, {});
        if (outcome.result != sharing::ShareOutcome::Done) {
            state.SkipWithError(qPrintable(outcome.reason));
            break;
        }
    }
    state.counters["bytes"] = double(QFileInfo(job.target).size());
    QFile::remove(job.target);
}

void OurVideoWithMotion(benchmark::State& state) {
    sharing::VideoJob job;
    job.show = show;
    job.show.slides.resize(std::min<std::size_t>(job.show.slides.size(), MovingSlides));
    const auto zoom = ShowMotion::preset(ShowMotion::Kind::ZoomIn, {4000, 3000});
    for (sharing::SharedSlide& slide : job.show.slides)
        slide.motion = zoom;
    job.target = workPath(QStringLiteral("moving.mp4"));
    writeVideoOf(state, job);
}
BENCHMARK(OurVideoWithMotion)->Unit(benchmark::kMillisecond)->Iterations(1);

// The mixed show at one size.
void OurVideoAtSize(benchmark::State& state, QSize size) {
    sharing::VideoJob job;
    job.show = show;
    job.show.slides.resize(std::min<std::size_t>(job.show.slides.size(), MovingSlides));
    job.show.fadeMs = 500;
    const auto zoom = ShowMotion::preset(ShowMotion::Kind::ZoomIn, {4000, 3000});
    for (std::size_t i = 0; i < job.show.slides.size(); i += 2)
        job.show.slides[i].motion = zoom;
    job.size = size;
    job.target = workPath(QStringLiteral("sized.mp4"));
    writeVideoOf(state, job);
}

const QSize VideoSizes[] = {{1920, 1080}, {1280, 720},  {2560, 1440},
                            {3840, 2160}, {1080, 1920}, {1080, 1080}};

std::string sizeName(QSize size) {
    return "OurVideo_" + std::to_string(size.width()) + "x" + std::to_string(size.height());
}

// Each picture one input frame, zoompan making 3 s of frames from it, the zoom from 1 to 1.25.
void FfmpegZoompan(benchmark::State& state) {
    const QByteArray ffmpeg = peerProgram(QStringLiteral("ffmpeg"));
    QFile list(workPath(QStringLiteral("moving.txt")));
    if (ffmpeg.isEmpty() || !list.open(QIODevice::WriteOnly)) {
        state.SkipWithError("ffmpeg not installed, or the list cannot be written");
        return;
    }
    for (const QString& photo : photos.mid(0, MovingSlides))
        list.write(QStringLiteral("file '%1'\n").arg(photo).toUtf8());
    list.close();
    const QByteArray listFile = QFile::encodeName(list.fileName());
    const QByteArray outFile = QFile::encodeName(workPath(QStringLiteral("zoompan.mp4")));
    const char* listPath = listFile.constData();
    const char* out = outFile.constData();
    const QByteArray frames = QByteArray::number(SlideSeconds * 25);
    const QByteArray filterText =
        "scale=2560:1440:force_original_aspect_ratio=decrease,pad=2560:1440:(ow-iw)/2:(oh-ih)/2,"
        "zoompan=z='1+0.25*mod(on," +
        frames + ")/" + QByteArray::number(SlideSeconds * 25 - 1) +
        "':x='iw/2-(iw/zoom/2)':y='ih/2-(ih/zoom/2)':d=" + frames + ":s=1280x720:fps=25,format=yuv420p";
    const char* filter = filterText.constData();
    const char* args[] = {"ffmpeg", "-v",  "error", "-y",   "-f",      "concat",  "-safe",    "0", "-i",
                          listPath, "-vf", filter,  "-c:v", "libx264", "-preset", "veryfast", out};
    std::vector<char*> argv;
    for (const char* arg : args)
        argv.push_back(const_cast<char*>(arg));
    argv.push_back(nullptr);
    for (auto _ : state) {
        if (!spawnAndWait(ffmpeg, argv.data())) {
            state.SkipWithError("ffmpeg failed");
            break;
        }
    }
    QFile::remove(QString::fromLocal8Bit(outFile));
}
BENCHMARK(FfmpegZoompan)->Unit(benchmark::kMillisecond)->Iterations(1);

void OurWebPage(benchmark::State& state) {
    sharing::WebPageJob job{show, workPath(QStringLiteral("page"))};
    for (auto _ : state) {
        const sharing::ShareOutcome outcome = sharing::writeWebPage(job, {});
        if (outcome.result != sharing::ShareOutcome::Done) {
            state.SkipWithError(qPrintable(outcome.reason));
            break;
        }
    }
    QDir(job.target).removeRecursively();
}
BENCHMARK(OurWebPage)->Unit(benchmark::kMillisecond)->Iterations(1);

void ConvertResize(benchmark::State& state) {
    const QByteArray convert = QFile::encodeName(imageMagickConvert());
    const QByteArray out = QFile::encodeName(workPath(QStringLiteral("resized.jpg")));
    for (auto _ : state) {
        for (const QString& photo : photos) {
            const QByteArray in = QFile::encodeName(photo);
            char* argv[] = {const_cast<char*>("convert"),       const_cast<char*>(in.constData()),
                            const_cast<char*>("-resize"),       const_cast<char*>("1920x1920>"),
                            const_cast<char*>(out.constData()), nullptr};
            if (!spawnAndWait(convert, argv)) {
                state.SkipWithError("convert failed");
                return;
            }
        }
    }
    QFile::remove(QString::fromLocal8Bit(out));
}
BENCHMARK(ConvertResize)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    preferOffscreenPlatform();
    QApplication app(argc, argv);
    if (const int slides = qEnvironmentVariableIntValue("VERASCO_BENCH_SLIDES"); slides > 0)
        BenchSlides = slides;
    QTemporaryDir dir;
    work = &dir;
    photos = linkPhotos(makeLargePhotos(dir.path(), 6), dir.filePath(QStringLiteral("show")), BenchSlides);
    ShowDocument document;
    if (photos.isEmpty() || !appendPhotoSlides(document, photos, SlideSeconds)) {
        std::fprintf(stderr, "cannot make the photographs with ImageMagick\n");
        return 1;
    }
    show = sharing::readSharedShow(document, QApplication::palette());
    std::vector<std::pair<std::string, std::string>> pairs = {{"OurVideo", "FfmpegConcat"},
                                                              {"OurVideoWithMotion", "FfmpegZoompan"},
                                                              {"OurWebPage", "ConvertResize"}};
    for (const QSize size : VideoSizes) {
        benchmark::RegisterBenchmark(sizeName(size).c_str(), OurVideoAtSize, size)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
        if (size != VideoSizes[0])
            pairs.emplace_back(sizeName(size), sizeName(VideoSizes[0]));
    }
    return runWithRatios(argc, argv, pairs);
}
