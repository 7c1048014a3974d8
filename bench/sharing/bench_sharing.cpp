// SPDX-License-Identifier: MIT
// Sharing a show of 100 slides of 4000 x 3000 photographs at 3 s each (five minutes), beside peers
// measured in the same run:
// - the MP4 video at 1280 x 720 and 25 frames a second, beside ffmpeg making it from its concat
//   demuxer (duration lines, -c:v libx264 -preset veryfast -tune stillimage), the pictures fitted on
//   black as ours are; and how many times faster than real time ours is;
// - the web page, beside ImageMagick's convert -resize 1920x1920> of the same pictures one after
//   another.
#include "bench_photos.h"
#include "bench_process.h"
#include "peer_programs.h"
#include "ratio_reporter.h"
#include "show_of_photos.h"
#include "video_export.h"
#include "web_page_export.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPalette>
#include <QTemporaryDir>

#include <cstdio>

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
    return runWithRatios(argc, argv, {{"OurVideo", "FfmpegConcat"}, {"OurWebPage", "ConvertResize"}});
}
