// SPDX-License-Identifier: MIT
// A folder of 500 JPEG photographs of 4000 x 3000 pixels in the real main window:
// - listing the folder until the grid shows its first screen of thumbnails (rows 0 to 4), beside
//   djpeg decoding those five files at 1/8 scale, one process each;
// - ">>" of all 500 into an empty show, with the first screen already drawn as the user saw it,
//   beside djpeg decoding the 500 files at 1/8 scale one after another.
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

// Lists the folder as the images field does and paints the grid's first screen.
bool listFolderToFirstScreen() {
    TMainFormverasco& main = mainWindow();
    main.findChild<QLineEdit*>("Edit1")->setText(folder);
    if (!main.browser().ScanImageFolder() || main.browser().folder().count() != Photos)
        return false;
    main.findChild<TOvcTable*>("OvcTable1")->viewport()->grab();
    // The pictures are decoded on other threads and arrive through the event loop.
    const bool& lastReady = main.browser().folder().FolderThumbnailReady[FirstScreenRows - 1];
    for (QDeadlineTimer deadline(60000); !lastReady && !deadline.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return lastReady;
}

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

void ScanFolderToFirstScreen(benchmark::State& state) {
    double longest = 0;
    for (auto _ : state) {
        WindowWaits waits;
        if (!listFolderToFirstScreen()) {
            state.SkipWithError("the folder did not list");
            return;
        }
        longest = std::max(longest, waits.longestMs());
    }
    state.counters["window_wait_ms"] = longest;
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

void AddAllFiveHundred(benchmark::State& state) {
    ShowDocument& show = mainWindow().document();
    double longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        show.clear();
        const bool listed = listFolderToFirstScreen();
        state.ResumeTiming();
        WindowWaits waits;
        mainWindow().BitBtn3Click();
        longest = std::max(longest, waits.longestMs());
        if (!listed || show.SlideCount != Photos) {
            state.SkipWithError("the show did not fill");
            return;
        }
    }
    state.counters["window_wait_ms"] = longest;
}

void DjpegFiveHundred(benchmark::State& state) {
    djpegEach(state, photos);
}

BENCHMARK(ScanFolderToFirstScreen)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(DjpegFirstScreen)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(AddAllFiveHundred)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(DjpegFiveHundred)->Unit(benchmark::kMillisecond)->Iterations(2);

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
        {{"ScanFolderToFirstScreen", "DjpegFirstScreen"}, {"AddAllFiveHundred", "DjpegFiveHundred"}});
    windows.reset();
    return result;
}
