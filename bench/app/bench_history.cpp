// SPDX-License-Identifier: MIT
// The show's history and its views, each beside the way the program did it before, measured in the
// same run: the memory of 100 resets of a 500-slide show to the preferences' defaults, against the
// same steps kept as copies of every slide before and after; and the time to read a show of 500
// slides into the shown main window, against the same read with the whole grid repainted at each
// change.

#include "app_windows.h"
#include "bench_photos.h"
#include "bench_process.h"
#include "main_window.h"
#include "ovc_table.h"
#include "ratio_reporter.h"
#include "show_document.h"
#include "show_file.h"
#include "show_of_photos.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QUndoStack>

#include <cstdio>
#include <memory>
#include <vector>

namespace {
QTemporaryDir* workDir = nullptr;
QString showOf500;

// A show of 500 slides with thumbnails of the grid's size, as one read and drawn.
void fillWithDrawnSlides(ShowDocument& show) {
    QImage thumbnail(80, 70, QImage::Format_RGB32);
    thumbnail.fill(Qt::darkBlue);
    QList<ShowSlide> slides;
    for (int i = 0; i < ShowDocument::MaxSlides; ++i) {
        ShowSlide slide{show.freshRecord(), thumbnail.copy()};
        slide.record.ImageFile.assign("/home/someone/Pictures/holiday/photo.jpg");
        slides.append(slide);
    }
    show.insert(0, slides);
    show.markOpened();
}

void reportHistoryMemory() {
    ShowDocument show;
    fillWithDrawnSlides(show);
    const long before = residentKilobytes();
    for (int i = 0; i < 100; ++i)
        show.giveEverySlide(std::uint8_t(i % 2 ? 5 : 4), false, false);
    const long after = residentKilobytes();
    // Before, a reset kept every slide twice, as it was and as it became.
    std::vector<ShowSlide> whole;
    for (int i = 0; i < show.SlideCount; ++i)
        whole.push_back(show.at(i));
    std::vector<std::vector<ShowSlide>> copies;
    const long beforeCopies = residentKilobytes();
    for (int i = 0; i < 2 * 100; ++i)
        copies.push_back(whole);
    const long afterCopies = residentKilobytes();
    const double ours = (after - before) / 1024.0;
    const double today = (afterCopies - beforeCopies) / 1024.0;
    std::printf("memory %d history steps on a show of %d slides: %.1f MB kept, resident +%.1f MB; "
                "as whole copies before and after: resident +%.1f MB = %.3fx of that\n",
                show.history().count(), show.SlideCount, show.historyBytes() / 1048576.0, ours, today,
                today > 0 ? ours / today : 0.0);
}

// Reads the show as a start with it on its command line does, into the main window on screen; with
// `wholeGrid` the grid is repainted whole at each change of the show, as it was before.
void readIntoTheGrid(benchmark::State& state, bool wholeGrid) {
    std::unique_ptr<AppWindows> windows(createAppWindows());
    TMainFormverasco& main = *windows->MainFormverasco;
    main.show();
    QCoreApplication::processEvents();
    auto* grid = main.findChild<TOvcTable*>(QStringLiteral("OvcTable2"));
    if (wholeGrid)
        QObject::connect(&main.document(), &ShowDocument::changed, grid, [grid] { grid->InvalidateTable(); });
    // A first read fills the thumbnail cache, so that both ways read from it.
    main.processCommandLine({showOf500});
    for (auto _ : state) {
        main.processCommandLine({showOf500});
        QCoreApplication::processEvents();
        if (main.document().SlideCount != ShowDocument::MaxSlides) {
            state.SkipWithError("the show did not read");
            return;
        }
    }
}

void ReadShowOf500SlidesIntoTheGrid(benchmark::State& state) {
    readIntoTheGrid(state, false);
}
void ReadShowOf500SlidesRepaintingTheWholeGrid(benchmark::State& state) {
    readIntoTheGrid(state, true);
}
BENCHMARK(ReadShowOf500SlidesIntoTheGrid)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(ReadShowOf500SlidesRepaintingTheWholeGrid)->Unit(benchmark::kMillisecond)->Iterations(5);
} // namespace

int main(int argc, char** argv) {
    preferOffscreenPlatform();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    workDir = &dir;
    // The thumbnails come from a shared cache of the benchmark's own, filled by the first read.
    qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.filePath(QStringLiteral("cache"))));
    const QString photo = dir.filePath(QStringLiteral("photo.jpg"));
    if (!makePhoto(photo, QStringLiteral("navy-orange"), {640, 480})) {
        std::fprintf(stderr, "cannot make the test picture with ImageMagick\n");
        return 1;
    }
    ShowDocument show;
    appendPhotoSlides(show,
                      linkPhotos({photo}, dir.filePath(QStringLiteral("slides")), ShowDocument::MaxSlides));
    showOf500 = dir.filePath(QStringLiteral("show500.vrs"));
    if (!ShowFile::write(showOf500, show).ok) {
        std::fprintf(stderr, "cannot write the show\n");
        return 1;
    }
    reportHistoryMemory();
    return runWithRatios(argc, argv,
                         {{"ReadShowOf500SlidesIntoTheGrid", "ReadShowOf500SlidesRepaintingTheWholeGrid"}});
}
