// SPDX-License-Identifier: MIT
// A show of 500 photographs in the real main window at 256-pixel thumbnails, its window 1400 x 1000:
// painting the show grid at every row while it scrolls from the first row to the last, beside Qt's
// QListView in icon mode showing the same 500 thumbnails in a view of the same size, scrolled row by
// row the same way (as many times; past its end it stays at its last row). The thumbnails are drawn before
// the timing starts.
#include "app_windows.h"
#include "bench_photos.h"
#include "bench_process.h"
#include "main_window.h"
#include "ovc_table.h"
#include "ratio_reporter.h"
#include "show_document.h"
#include "show_slides.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QListView>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {

constexpr int Photos = 500;
constexpr int Width = 256;
std::unique_ptr<AppWindows> windows;

TOvcTable& showGrid() {
    return *windows->MainFormverasco->findChild<TOvcTable*>(QStringLiteral("OvcTable2"));
}

void ScrollShowGrid(benchmark::State& state) {
    TOvcTable& grid = showGrid();
    for (auto _ : state) {
        for (int row = 0; row <= grid.maxTopRow(); ++row) {
            grid.setTopRow(row);
            grid.viewport()->repaint();
        }
    }
    state.counters["rows"] = grid.maxTopRow() + 1;
}

// The same thumbnails as icons, in a list view as large as the show grid, each item a cell as large.
std::unique_ptr<QListView> peerView() {
    const TOvcTable& grid = showGrid();
    const ShowDocument& show = windows->MainFormverasco->document();
    auto* model = new QStandardItemModel;
    for (int i = 0; i < show.SlideCount; ++i)
        model->appendRow(new QStandardItem(QIcon(QPixmap::fromImage(show.thumbnail(i))), QString()));
    auto view = std::make_unique<QListView>();
    model->setParent(view.get());
    view->setViewMode(QListView::IconMode);
    view->setMovement(QListView::Static);
    view->setResizeMode(QListView::Adjust);
    view->setUniformItemSizes(true);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setIconSize(show.thumbnail(0).deviceIndependentSize().toSize());
    view->setGridSize(QSize(grid.ColumnWidth(), grid.RowHeight()));
    view->setModel(model);
    view->resize(grid.size());
    view->show();
    return view;
}

void ScrollListView(benchmark::State& state) {
    const std::unique_ptr<QListView> view = peerView();
    const int rowHeight = showGrid().RowHeight();
    QScrollBar* bar = view->verticalScrollBar();
    QCoreApplication::processEvents();
    const int rows = showGrid().maxTopRow() + 1;
    for (auto _ : state) {
        for (int row = 0; row < rows; ++row) {
            bar->setValue(row * rowHeight);
            view->viewport()->repaint();
        }
    }
    state.counters["rows"] = rows;
}

BENCHMARK(ScrollShowGrid)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(ScrollListView)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// 500 slides at 256-pixel thumbnails, each drawn once.
bool fillShow(const QTemporaryDir& dir) {
    QStringList sources;
    for (const char* gradient : {"navy-orange", "darkgreen-khaki", "maroon-skyblue"}) {
        const QString path = dir.filePath(QStringLiteral("source-%1.jpg").arg(QLatin1String(gradient)));
        if (!makePhoto(path, QLatin1String(gradient), QSize(1600, 1200)))
            return false;
        sources.append(path);
    }
    const QStringList photos = linkPhotos(sources, dir.filePath(QStringLiteral("photos")), Photos);
    TMainFormverasco& main = *windows->MainFormverasco;
    main.resize(1400, 1000);
    main.show();
    main.setThumbnailSize(Width);
    main.DropFiles(photos);
    QDeadlineTimer deadline(600000);
    while (main.document().SlideCount < Photos && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    // The slides come with placeholders; each screen of them is shown until its pictures have arrived.
    auto& grid = *main.findChild<TOvcTable*>(QStringLiteral("OvcTable2"));
    for (int row = 0; row <= grid.maxTopRow(); row += grid.fullyVisibleRows()) {
        grid.setTopRow(row);
        grid.viewport()->repaint();
        while (main.slides().picturesOnTheirWay() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    grid.setTopRow(0);
    return main.document().SlideCount == Photos && !deadline.hasExpired();
}

} // namespace

int main(int argc, char** argv) {
    preferOffscreenPlatform();
    QTemporaryDir config; // the user's own settings stay untouched
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QApplication app(argc, argv);
    QTemporaryDir dir;
    windows.reset(createAppWindows());
    if (!fillShow(dir)) {
        std::fprintf(stderr, "cannot make the show of photographs (ImageMagick, hard links)\n");
        return 1;
    }
    const int result = runWithRatios(argc, argv, {{"ScrollShowGrid", "ScrollListView"}});
    windows.reset();
    return result;
}
