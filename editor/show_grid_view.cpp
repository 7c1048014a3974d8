// SPDX-License-Identifier: MIT
#include "show_grid_view.h"

#include "ovc_table.h"
#include "show_document.h"
#include "show_file.h"
#include "show_grid.h"
#include "show_selection.h"
#include "slide_badges.h"
#include "stored_path.h"
#include "thumbnails.h"
#include "title_slides.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLocale>

#include <algorithm>

namespace {
const QString CountPadding(24, QLatin1Char(' '));
} // namespace

QString imagesCountText(int count, int notFound, int notReadable) {
    QString text = QCoreApplication::translate("ShowGridView", "Images: %1").arg(count);
    if (notFound > 0)
        text += QCoreApplication::translate("ShowGridView", " (%1 not found)").arg(notFound);
    if (notReadable > 0)
        text += QCoreApplication::translate("ShowGridView", " (%1 could not be read)").arg(notReadable);
    return text + CountPadding;
}

TOvcTable::CellText slideCellText(const ShowDocument& show, int index) {
    if (index < 0 || index >= show.SlideCount)
        return {};
    const TSlideRecord& slide = show.slide(index);
    const QString file = TitleSlides::isTitle(show, index)
                             ? QCoreApplication::translate("ShowGridView", "title slide")
                         : show.isBlank(index) ? QCoreApplication::translate("ShowGridView", "blank slide")
                                               : ShowFile::fileNamePart(show.imagePath(index));
    QString name = QCoreApplication::translate("ShowGridView", "Slide %1: %2, %3 seconds")
                       .arg(index + 1)
                       .arg(file)
                       .arg(QLocale().toString(double(show.timeMs(index)) / 1000.0, 'g', 6));
    const QString caption = StoredPath::of(slide.Text).simplified();
    if (!caption.isEmpty())
        name += QCoreApplication::translate("ShowGridView", ", caption: %1").arg(caption);
    if (show.isMissing(index))
        name += QCoreApplication::translate("ShowGridView", ", picture not found");
    else if (isUnreadable(show.thumbnail(index)))
        name += QCoreApplication::translate("ShowGridView", ", picture not readable");
    return {name, file};
}

QString pathTooLongText(const QString& path) {
    return QCoreApplication::translate("ShowGridView", "Path too long: %1").arg(ShowFile::fileNamePart(path));
}

ShowGridView::ShowGridView(ShowDocument& show, TOvcTable& grid, QLabel& countLabel)
    : QObject(&grid), show_(show), grid_(grid), countLabel_(countLabel),
      selection_(new ShowSelection(show, grid)) {
    grid_.setColumnCount(ShowGrid::Columns);
    grid_.setCellBitmapSupplier([this](int row, int col) -> const QImage* {
        const int index = ShowGrid::indexAt(row, col, grid_.ColumnCount());
        if (index < 0 || index >= show_.SlideCount)
            return nullptr;
        if (beforeTaken_)
            beforeTaken_(index);
        return &show_.thumbnail(index);
    });
    grid_.setCellTextSupplier([this](int row, int col) {
        return slideCellText(show_, ShowGrid::indexAt(row, col, grid_.ColumnCount()));
    });
    grid_.setCellOverlay([this](QPainter& painter, const QRect& cell, int row, int col) {
        SlideBadges::paint(painter, cell, show_, ShowGrid::indexAt(row, col, grid_.ColumnCount()));
    });
    connect(&show_, &ShowDocument::changed, this, &ShowGridView::follow);
    connect(&show_, &ShowDocument::walked, this, &ShowGridView::showWalked);
    showEmptyHint();
}

void ShowGridView::showEmptyHint() {
    grid_.setEmptyText(show_.SlideCount == 0 ? QCoreApplication::translate(
                                                   "ShowGridView", "Drag pictures here, or use > and >>")
                                             : QString());
}

void ShowGridView::follow(const ShowChange& change) {
    const int active = activeIndex();
    const int unreadable = marked(Mark::Unreadable);
    followMarks(change);
    if (change.countChanged()) {
        note_.clear();
        grid_.setRowLimit(ShowGrid::rowsFor(show_.SlideCount, columns()));
        showEmptyHint();
    }
    if (change.countChanged() || marked(Mark::Unreadable) != unreadable)
        showImagesCount();
    // The active cell stays on its slide; slides inserted at the active cell take its place there.
    const bool insertedHere = change.kind == ShowChange::Kind::Inserted && change.first == active;
    const int following = insertedHere ? active : change.indexAfter(active);
    if (following != active)
        grid_.setActiveCell(ShowGrid::rowOf(following, columns()), ShowGrid::columnOf(following, columns()));
    repaintChanged(change);
}

ShowGridView::Mark ShowGridView::markOf(int index) const {
    if (show_.isMissing(index))
        return Mark::Missing;
    return isUnreadable(show_.thumbnail(index)) ? Mark::Unreadable : Mark::None;
}

int ShowGridView::marked(Mark mark) const {
    return int(std::count(marks_.begin(), marks_.end(), mark));
}

// Which slides name a picture that is not there or cannot be read, kept along with the show so that
// the count can say so without looking at every file again.
void ShowGridView::followMarks(const ShowChange& change) {
    const auto marksOf = [this](int first, int count) {
        std::vector<Mark> marks;
        for (int i = first; i < first + count; ++i)
            marks.push_back(markOf(i));
        return marks;
    };
    const auto at = [this](int index) {
        return marks_.begin() + std::min<std::ptrdiff_t>(index, marks_.size());
    };
    switch (change.kind) {
    case ShowChange::Kind::Inserted: {
        const std::vector<Mark> added = marksOf(change.first, change.count);
        marks_.insert(at(change.first), added.begin(), added.end());
        break;
    }
    case ShowChange::Kind::Removed:
        marks_.erase(at(change.first), at(change.first + change.count));
        break;
    case ShowChange::Kind::Moved:
        if (change.first < change.to)
            std::rotate(at(change.first), at(change.first + 1), at(change.to + 1));
        else
            std::rotate(at(change.to), at(change.first), at(change.first + 1));
        break;
    case ShowChange::Kind::Changed:
        for (int i = change.first; i < change.first + change.count && i < int(marks_.size()); ++i)
            marks_[std::size_t(i)] = markOf(i);
        break;
    case ShowChange::Kind::Reset:
        marks_ = marksOf(0, show_.SlideCount);
        break;
    }
}

// The cells whose slides the change touched: those from the first inserted or taken out to the end
// of the show as it was or became, those between the two places of a move, those changed.
void ShowGridView::repaintChanged(const ShowChange& change) {
    int first = change.first;
    int last = first + change.count - 1;
    switch (change.kind) {
    case ShowChange::Kind::Inserted:
        last = show_.SlideCount - 1;
        break;
    case ShowChange::Kind::Removed:
        last = show_.SlideCount + change.count - 1;
        break;
    case ShowChange::Kind::Moved:
        first = std::min(change.first, change.to);
        last = std::max(change.first, change.to);
        break;
    case ShowChange::Kind::Changed:
        break;
    case ShowChange::Kind::Reset:
        grid_.InvalidateTable();
        return;
    }
    // Only the rows in view, and the one partly in view below them.
    const int top = grid_.TopRow();
    first = std::max(first, ShowGrid::indexAt(top, 0, columns()));
    last = std::min(last, ShowGrid::indexAt(top + grid_.fullyVisibleRows() + 1, 0, columns()) - 1);
    for (int index = first; index <= last; ++index)
        grid_.invalidateCell(ShowGrid::rowOf(index, columns()), ShowGrid::columnOf(index, columns()));
}

// Undo and Redo show what they did: the slides the step touched are selected, the first of them
// becomes the active one, and as many of them as the grid holds come into view. The grid takes the
// focus, so that the editing commands act on those slides.
void ShowGridView::showWalked(const std::vector<int>& touched, int first) {
    if (show_.SlideCount == 0)
        return;
    grid_.setFocus();
    selection_->select(touched);
    const int at = std::min(first, show_.SlideCount - 1);
    const int lastRow = ShowGrid::rowOf(touched.empty() ? at : touched.back(), columns());
    grid_.setActiveCell(ShowGrid::rowOf(at, columns()), ShowGrid::columnOf(at, columns()));
    const int visibleRows = std::max(1, grid_.fullyVisibleRows());
    if (lastRow >= grid_.TopRow() + visibleRows)
        grid_.setTopRow(std::min(ShowGrid::rowOf(at, columns()), lastRow - visibleRows + 1));
}

int ShowGridView::activeIndex() const {
    return ShowGrid::indexAt(grid_.ActiveRow(), grid_.ActiveCol(), columns());
}

void ShowGridView::showAnew(int minimumRows) {
    grid_.setAllowRedraw(true);
    grid_.setActiveCell(0, 0);
    grid_.setRowLimit(std::max(ShowGrid::rowsFor(show_.SlideCount, columns()), minimumRows));
    grid_.setTopRow(0);
}

void ShowGridView::setColumns(int columns) {
    if (columns == grid_.ColumnCount() || columns < 1)
        return;
    const int active = activeIndex();
    const int top = ShowGrid::indexAt(grid_.TopRow(), 0, grid_.ColumnCount());
    grid_.setColumnCount(columns);
    const int rows = show_.SlideCount > 0 ? ShowGrid::rowsFor(show_.SlideCount, columns) : grid_.RowLimit();
    grid_.setRowLimit(std::max(rows, ShowGrid::rowOf(active, columns) + 1));
    grid_.setActiveCell(ShowGrid::rowOf(active, columns), ShowGrid::columnOf(active, columns));
    grid_.setTopRow(ShowGrid::rowOf(top, columns));
    grid_.InvalidateTable();
}

void ShowGridView::showImagesCount() {
    const QString count = imagesCountText(show_.SlideCount, marked(Mark::Missing), marked(Mark::Unreadable));
    countLabel_.setText(note_.isEmpty() ? count : count.trimmed() + QStringLiteral(" - ") + note_);
}

void ShowGridView::showNote(const QString& note) {
    note_ = note;
    showImagesCount();
}

void ShowGridView::showPathTooLong(const QString& path) {
    countLabel_.setText(pathTooLongText(path));
}

void ShowGridView::showReadProgress(int done, int count) {
    countLabel_.setText(ShowFile::readingStatusText(done, count));
    countLabel_.repaint();
}
