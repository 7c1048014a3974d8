// SPDX-License-Identifier: MIT
#include "show_grid_view.h"

#include "ovc_table.h"
#include "show_document.h"
#include "show_file.h"
#include "show_grid.h"

#include <QLabel>

#include <algorithm>

namespace {
const QString CountPadding(24, QLatin1Char(' '));
} // namespace

QString imagesCountText(int count, int notFound) {
    const QString missing = notFound > 0 ? QStringLiteral(" (%1 not found)").arg(notFound) : QString();
    return QStringLiteral("Images: ") + QString::number(count) + missing + CountPadding;
}

QString pathTooLongText(const QString& path) {
    return QStringLiteral("Path too long: ") + ShowFile::fileNamePart(path);
}

ShowGridView::ShowGridView(ShowDocument& show, TOvcTable& grid, QLabel& countLabel)
    : QObject(&grid), show_(show), grid_(grid), countLabel_(countLabel) {
    grid_.setCellBitmapSupplier([this](int row, int col) -> const QImage* {
        const int index = ShowGrid::indexAt(row, col);
        return index >= 0 && index < show_.SlideCount ? &show_.thumbnail(index) : nullptr;
    });
    connect(&show_, &ShowDocument::changed, this, &ShowGridView::follow);
}

void ShowGridView::follow(const ShowChange& change) {
    if (change.countChanged()) {
        grid_.setRowLimit(ShowGrid::rowsFor(show_.SlideCount));
        showImagesCount();
    }
    grid_.InvalidateTable();
}

int ShowGridView::activeIndex() const {
    return ShowGrid::indexAt(grid_.ActiveRow(), grid_.ActiveCol());
}

void ShowGridView::showAnew(Rows view, int minimumRows) {
    grid_.setAllowRedraw(true);
    grid_.setActiveCell(0, 0);
    const int rows = std::max(ShowGrid::rowsFor(show_.SlideCount), minimumRows);
    grid_.setRowLimit(rows);
    const int visibleRows = grid_.fullyVisibleRows();
    grid_.setTopRow(view == Rows::Last && rows > visibleRows ? rows - visibleRows : 0);
    grid_.InvalidateTable();
}

void ShowGridView::showImagesCount(int notFound) {
    countLabel_.setText(imagesCountText(show_.SlideCount, notFound));
}

void ShowGridView::showPathTooLong(const QString& path) {
    countLabel_.setText(pathTooLongText(path));
}

void ShowGridView::showReadProgress(int done, int count) {
    countLabel_.setText(ShowFile::readingStatusText(done, count));
    countLabel_.repaint();
}
