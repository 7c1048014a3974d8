// SPDX-License-Identifier: MIT
// Building a slide's thumbnail from a 4000 x 3000 JPEG, against libjpeg's djpeg decoding the same file
// at 1/8 scale (process start included); reading shows of 100 and 500 of them into the main window
// until the show grid has drawn the pictures of the slides in view, with the desktop's shared
// thumbnail cache empty, against djpeg decoding as many pictures as the first such reading drew; the
// same for camera photographs that carry EXIF thumbnails; the show of 500 read again with its
// thumbnails in the cache, on a line of its own (no peer keeps such a cache); and the resident
// memory of a show of 500 slides. The cache is a temporary folder of the benchmark's own.

#include "app_windows.h"
#include "bench_photos.h"
#include "bench_process.h"
#include "image_loader.h"
#include "main_window.h"
#include "ovc_table.h"
#include "peer_programs.h"
#include "pictures_drawn.h"
#include "ratio_reporter.h"
#include "shared_flags.h"
#include "show_document.h"
#include "show_file.h"
#include "show_grid_view.h"
#include "show_of_photos.h"
#include "show_slides.h"
#include "thumbnails.h"
#include "tphoto.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>

namespace {
QTemporaryDir* workDir = nullptr;
QString bigJpeg;

void BuildSlideThumbnail4000x3000(benchmark::State& state) {
    ShowDocument show;
    SharedFlags flags;
    TPhoto photo;
    QImage work;
    ThumbnailBuilder builder(
        photo, work, [] { return 32; }, QString());
    TOvcTable grid;
    QLabel label;
    ShowGridView view(show, grid, label);
    ShowSlides slides(show, builder, view, flags);
    for (auto _ : state) {
        show.clear();
        if (!slides.AppendImageSlide(bigJpeg)) {
            state.SkipWithError("the picture did not load");
            return;
        }
    }
}

void DjpegScaleOneEighth(benchmark::State& state) {
    const Djpeg djpeg("1/8");
    for (auto _ : state) {
        if (!djpeg.decode(bigJpeg)) {
            state.SkipWithError("djpeg failed");
            return;
        }
    }
}
BENCHMARK(BuildSlideThumbnail4000x3000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(DjpegScaleOneEighth)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// Shows of 100 and 500 slides of 4000 x 3000 pictures (each slide a file of its own) read into the
// real main window, against djpeg decoding the same pictures one after another, one process each.
QString showOf100;
QString showOf500;
QString showOf500Cameras;

enum class Cache { Empty, Filled };

// Also gives the resident memory with the show read, in megabytes.
void readShow(benchmark::State& state, const QString& path, int slides, Cache cache = Cache::Empty) {
    std::unique_ptr<AppWindows> windows(createAppWindows());
    TMainFormverasco& main = *windows->MainFormverasco;
    // As a start with the show on its command line reads it.
    const auto read = [&] {
        main.processCommandLine({path});
        return main.document().SlideCount == slides && slidePicturesDrawn(main);
    };
    std::unique_ptr<QTemporaryDir> folder = emptyThumbnailCache();
    if (cache == Cache::Filled && !read()) {
        state.SkipWithError("the show did not read");
        return;
    }
    const quint64 decodedBefore = imaging::decodedImageCount();
    for (auto _ : state) {
        if (cache == Cache::Empty) {
            state.PauseTiming();
            folder = emptyThumbnailCache();
            state.ResumeTiming();
        }
        if (!read()) {
            state.SkipWithError("the show did not read");
            return;
        }
    }
    state.counters["resident_MB"] = residentKilobytes() / 1024.0;
    state.counters["decoded"] =
        double(imaging::decodedImageCount() - decodedBefore) / double(state.iterations());
}

void djpegTimes(benchmark::State& state, int times) {
    const Djpeg djpeg("1/8");
    for (auto _ : state)
        for (int i = 0; i < times; ++i)
            if (!djpeg.decode(bigJpeg)) {
                state.SkipWithError("djpeg failed");
                return;
            }
}

// How many pictures a first reading of a show draws: those of the slides in view.
int picturesInView = 0;

void ReadShowOf100Slides(benchmark::State& state) {
    readShow(state, showOf100, 100);
}
void ReadShowOf500Slides(benchmark::State& state) {
    readShow(state, showOf500, 500);
}
void DjpegScaleOneEighthInView(benchmark::State& state) {
    djpegTimes(state, picturesInView);
}
void ReadCachedShowOf500Slides(benchmark::State& state) {
    readShow(state, showOf500, 500, Cache::Filled);
}
void ReadShowOf500CameraPhotos(benchmark::State& state) {
    readShow(state, showOf500Cameras, 500);
}
BENCHMARK(ReadShowOf100Slides)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ReadShowOf500Slides)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(DjpegScaleOneEighthInView)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ReadShowOf500CameraPhotos)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ReadCachedShowOf500Slides)->Unit(benchmark::kMillisecond)->Iterations(3);

// The pictures a first reading of the show draws.
int picturesDrawnAtFirstReading(const QString& show) {
    const auto cache = emptyThumbnailCache();
    std::unique_ptr<AppWindows> windows(createAppWindows());
    const quint64 before = imaging::decodedImageCount();
    windows->MainFormverasco->processCommandLine({show});
    if (!slidePicturesDrawn(*windows->MainFormverasco))
        return 0;
    return int(imaging::decodedImageCount() - before);
}

// A show of `slides` photographs, each a file of its own (links to `photo`), so that the cache holds
// an entry for each.
QString writeShowOf(int slides, const QString& photo, const QString& name) {
    ShowDocument show;
    appendPhotoSlides(show, linkPhotos({photo}, workDir->filePath(name), slides));
    const QString path = workDir->filePath(name + QStringLiteral(".vrs"));
    ShowFile::write(path, show);
    return path;
}

// The photograph as a camera stores it: a 160 x 120 picture of it in its EXIF data.
QString cameraPhoto() {
    const QString photo = workDir->filePath(QStringLiteral("camera.jpg"));
    const QString small = workDir->filePath(QStringLiteral("small.jpg"));
    if (!QFile::copy(bigJpeg, photo) ||
        QProcess::execute(imageMagickConvert(),
                          {bigJpeg, QStringLiteral("-resize"), QStringLiteral("160x120"), small}) != 0 ||
        QProcess::execute(QStringLiteral("exiftool"),
                          {QStringLiteral("-q"), QStringLiteral("-overwrite_original"),
                           QStringLiteral("-ThumbnailImage<=") + small, photo}) != 0)
        return {};
    return photo;
}

// Five hundred slides of 640 x 480 pictures in the real main window.
void reportShowMemory() {
    const long before = residentKilobytes();
    std::unique_ptr<AppWindows> windows(createAppWindows());
    const QString picture = workDir->filePath(QStringLiteral("slide.jpg"));
    makePhoto(picture, QStringLiteral("navy-orange"), {640, 480});
    const QStringList paths = linkPhotos({picture}, workDir->filePath(QStringLiteral("slides")), 500);
    windows->MainFormverasco->DropFiles(paths);
    const long after = residentKilobytes();
    std::printf("memory show of %d slides: resident %.1f MB (process before the windows: %.1f MB), "
                "target 80 MB = %.2fx of the target\n",
                windows->MainFormverasco->document().SlideCount, after / 1024.0, before / 1024.0,
                after / 1024.0 / 80.0);
}
} // namespace

int main(int argc, char** argv) {
    preferOffscreenPlatform();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    workDir = &dir;
    bigJpeg = workDir->filePath(QStringLiteral("big.jpg"));
    if (!makeLargePhoto(bigJpeg, QStringLiteral("navy-orange"))) {
        std::fprintf(stderr, "cannot make the test picture with ImageMagick\n");
        return 1;
    }
    const QString camera = cameraPhoto();
    if (camera.isEmpty()) {
        std::fprintf(stderr, "cannot give the test picture an EXIF thumbnail with exiftool\n");
        return 1;
    }
    showOf100 = writeShowOf(100, bigJpeg, QStringLiteral("show100"));
    showOf500 = writeShowOf(500, bigJpeg, QStringLiteral("show500"));
    showOf500Cameras = writeShowOf(500, camera, QStringLiteral("cameras500"));
    {
        const auto cache = emptyThumbnailCache();
        reportShowMemory();
    }
    picturesInView = picturesDrawnAtFirstReading(showOf500);
    if (picturesInView <= 0) {
        std::fprintf(stderr, "a first reading of the show drew no picture\n");
        return 1;
    }
    std::printf("a first reading draws %d pictures\n", picturesInView);
    return runWithRatios(argc, argv,
                         {{"BuildSlideThumbnail4000x3000", "DjpegScaleOneEighth"},
                          {"ReadShowOf100Slides", "DjpegScaleOneEighthInView"},
                          {"ReadShowOf500Slides", "DjpegScaleOneEighthInView"},
                          {"ReadShowOf500CameraPhotos", "DjpegScaleOneEighthInView"}},
                         {"ReadCachedShowOf500Slides"});
}
