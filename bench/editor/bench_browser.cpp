// SPDX-License-Identifier: MIT
// A folder of 500 JPEG photographs of 4000 x 3000 pixels in the real main window, each first read
// with the desktop's shared thumbnail cache empty, beside the peer decoding the same pictures:
// - listing the folder until the grid shows its first screen of thumbnails (rows 0 to 4) with their
//   pictures drawn, beside djpeg decoding those five files at 1/8 scale, one process each;
// - ">>" of all 500 into an empty show, with the folder's first screen already drawn as the user saw
//   it, until the show grid shows the pictures of the slides in view, beside djpeg decoding the 500
//   files at 1/8 scale one after another.
// Each is also read again with its thumbnails in the cache, reported on a line of its own: no peer
// keeps such a cache.
// The folder holds 500 hard links to one photograph, so that it costs no disk space.
#include "app_windows.h"
#include "bench_photos.h"
#include "bench_process.h"
#include "file_list_box.h"
#include "folder_images.h"
#include "image_browser.h"
#include "main_window.h"
#include "ovc_table.h"
#include "peer_programs.h"
#include "pictures_drawn.h"
#include "ratio_reporter.h"
#include "show_document.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

constexpr int Photos = 500;
constexpr int FirstScreenRows = 5;
QString folder;
QStringList photos;
std::unique_ptr<AppWindows> windows;

TMainFormverasco& mainWindow() {
    return *windows->MainFormverasco;
}

// Lists the folder as the images field does, until the grid's first screen shows its pictures.
bool listFolderToFirstScreen() {
    TMainFormverasco& main = mainWindow();
    main.findChild<QLineEdit*>("Edit1")->setText(folder);
    if (!main.browser().ScanImageFolder() || main.browser().folder().count() != Photos)
        return false;
    QWidget* grid = main.findChild<TOvcTable*>("OvcTable1")->viewport();
    grid->grab();
    // The pictures are decoded on other threads and arrive through the event loop.
    const auto& ready = main.browser().folder().FolderThumbnailReady;
    const auto allReady = [&] {
        return std::all_of(ready.begin(), ready.begin() + FirstScreenRows, std::identity());
    };
    for (QDeadlineTimer deadline(60000); !allReady() && !deadline.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    grid->grab(); // with the pictures
    return allReady();
}

enum class Cache { Empty, Filled };

// The longest the window thread went without handling its timers while the work ran: a timer of
// 1 ms on that thread notes every gap between its turns.
class WindowWaits {
  public:
    WindowWaits() {
        QObject::connect(&timer_, &QTimer::timeout, [this] { turn(); });
        timer_.start(1);
        since_.start();
    }
    // In milliseconds, the wait up to now included.
    double longestMs() {
        turn();
        return double(longestNs_) / 1e6;
    }

  private:
    void turn() {
        longestNs_ = std::max(longestNs_, since_.nsecsElapsed());
        since_.restart();
    }
    QTimer timer_;
    QElapsedTimer since_;
    qint64 longestNs_ = 0;
};

void scanFolderToFirstScreen(benchmark::State& state, Cache cache) {
    std::unique_ptr<QTemporaryDir> cacheFolder = emptyThumbnailCache();
    if (cache == Cache::Filled && !listFolderToFirstScreen()) {
        state.SkipWithError("the folder did not list");
        return;
    }
    double longest = 0;
    for (auto _ : state) {
        if (cache == Cache::Empty) {
            state.PauseTiming();
            cacheFolder = emptyThumbnailCache();
            state.ResumeTiming();
        }
        WindowWaits waits;
        if (!listFolderToFirstScreen()) {
            state.SkipWithError("the folder did not list");
            return;
        }
        longest = std::max(longest, waits.longestMs());
    }
    state.counters["window_wait_ms"] = longest;
}

void ScanFolderToFirstScreen(benchmark::State& state) {
    scanFolderToFirstScreen(state, Cache::Empty);
}

void ScanCachedFolderToFirstScreen(benchmark::State& state) {
    scanFolderToFirstScreen(state, Cache::Filled);
}

// djpeg decoding `files` at 1/8 scale one after another.
void djpegEach(benchmark::State& state, const QStringList& files) {
    const Djpeg djpeg("1/8");
    for (auto _ : state) {
        for (const QString& file : files) {
            if (!djpeg.decode(file)) {
                state.SkipWithError("djpeg failed");
                return;
            }
        }
    }
}

void DjpegFirstScreen(benchmark::State& state) {
    djpegEach(state, photos.mid(0, FirstScreenRows));
}

// ">>" of the folder listed as the user saw it, the cache emptied after the listing (or holding the
// slides' pictures from the ">>" before).
void addAllFiveHundred(benchmark::State& state, Cache cache) {
    ShowDocument& show = mainWindow().document();
    const auto addAll = [] {
        mainWindow().BitBtn3Click();
        return slidePicturesDrawn(mainWindow());
    };
    std::unique_ptr<QTemporaryDir> cacheFolder = emptyThumbnailCache();
    show.clear();
    if (cache == Cache::Filled && (!listFolderToFirstScreen() || !addAll())) {
        state.SkipWithError("the show did not fill");
        return;
    }
    double longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        show.clear();
        const bool listed = listFolderToFirstScreen();
        if (cache == Cache::Empty)
            cacheFolder = emptyThumbnailCache();
        state.ResumeTiming();
        WindowWaits waits;
        const bool drawn = addAll();
        longest = std::max(longest, waits.longestMs());
        if (!listed || !drawn || show.SlideCount != Photos) {
            state.SkipWithError("the show did not fill");
            return;
        }
    }
    state.counters["window_wait_ms"] = longest;
}

void AddAllFiveHundred(benchmark::State& state) {
    addAllFiveHundred(state, Cache::Empty);
}

void AddAllFiveHundredCached(benchmark::State& state) {
    addAllFiveHundred(state, Cache::Filled);
}

void DjpegFiveHundred(benchmark::State& state) {
    djpegEach(state, photos);
}

BENCHMARK(ScanFolderToFirstScreen)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(DjpegFirstScreen)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(ScanCachedFolderToFirstScreen)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(AddAllFiveHundred)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(DjpegFiveHundred)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(AddAllFiveHundredCached)->Unit(benchmark::kMillisecond)->Iterations(1);

bool makeFolder(const QTemporaryDir& dir) {
    folder = dir.filePath(QStringLiteral("photos"));
    photos = linkPhotos(makeLargePhotos(dir.path(), 1), folder, Photos);
    return photos.size() == Photos;
}

} // namespace

int main(int argc, char** argv) {
    preferOffscreenPlatform();
    QTemporaryDir config; // the user's own settings stay untouched
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QApplication app(argc, argv);
    QTemporaryDir dir;
    if (!makeFolder(dir)) {
        std::fprintf(stderr, "cannot make the folder of photographs (ImageMagick, hard links)\n");
        return 1;
    }
    windows.reset(createAppWindows());
    mainWindow().show();
    const int result = runWithRatios(
        argc, argv,
        {{"ScanFolderToFirstScreen", "DjpegFirstScreen"}, {"AddAllFiveHundred", "DjpegFiveHundred"}},
        {"ScanCachedFolderToFirstScreen", "AddAllFiveHundredCached"});
    windows.reset();
    return result;
}
