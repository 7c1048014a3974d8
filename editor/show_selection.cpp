// SPDX-License-Identifier: MIT
#include "show_selection.h"

#include "ovc_table.h"
#include "show_document.h"
#include "show_grid.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRubberBand>
#include <QScopedValueRollback>

#include <algorithm>

namespace {
bool movesTheActiveCell(int key) {
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}
} // namespace

ShowSelection::ShowSelection(ShowDocument& show, TOvcTable& grid)
    : QObject(&grid), show_(show), grid_(grid), viewport_(grid.viewport()) {
    grid_.setCellSelectedTest(
        [this](int row, int col) { return isSelected(ShowGrid::indexAt(row, col, grid_.ColumnCount())); });
    grid_.installEventFilter(this);
    viewport_->installEventFilter(this);
    connect(&show_, &ShowDocument::changed, this, &ShowSelection::follow);
}

std::vector<int> ShowSelection::slides() const {
    if (!selected_.empty())
        return {selected_.begin(), selected_.end()};
    const int active = activeIndex();
    return active < show_.SlideCount ? std::vector<int>{active} : std::vector<int>{};
}

void ShowSelection::select(const std::vector<int>& indexes) {
    std::set<int> selected;
    for (int index : indexes)
        if (index >= 0 && index < show_.SlideCount)
            selected.insert(index);
    setSelected(std::move(selected));
}

void ShowSelection::selectAll() {
    selectRun(0, show_.SlideCount - 1);
}

void ShowSelection::clear() {
    setSelected({});
}

int ShowSelection::activeIndex() const {
    return ShowGrid::indexAt(grid_.ActiveRow(), grid_.ActiveCol(), grid_.ColumnCount());
}

// The slide under a point of the grid, or -1 where there is none.
int ShowSelection::indexAt(const QPoint& pos) const {
    const TOvcCell cell = grid_.cellAt(pos);
    const int index = cell.isValid() ? ShowGrid::indexAt(cell.row, cell.col, grid_.ColumnCount()) : -1;
    return index < show_.SlideCount ? index : -1;
}

void ShowSelection::setSelected(std::set<int> selected) {
    if (selected == selected_)
        return;
    selected_ = std::move(selected);
    grid_.ownerSelectionChanged();
}

void ShowSelection::selectRun(int from, int to) {
    std::set<int> run;
    for (int index = std::max(0, std::min(from, to)); index <= std::max(from, to) && index < show_.SlideCount;
         ++index)
        run.insert(index);
    setSelected(std::move(run));
}

// The selection stays on its slides: those taken out leave it, and a show read or cleared has none.
void ShowSelection::follow(const ShowChange& change) {
    if (change.kind == ShowChange::Kind::Reset) {
        anchor_ = 0;
        clear();
        return;
    }
    std::set<int> after;
    for (int index : selected_) {
        const bool removed = change.kind == ShowChange::Kind::Removed && index >= change.first &&
                             index < change.first + change.count;
        if (!removed)
            after.insert(change.indexAfter(index));
    }
    anchor_ = change.indexAfter(anchor_);
    setSelected(std::move(after));
}

bool ShowSelection::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &grid_ && event->type() == QEvent::KeyPress && !relaying_)
        return keyPressed(static_cast<QKeyEvent*>(event));
    // Compared with the viewport kept at the start: while the grid is taken down, its events still
    // come here and the grid may no longer be asked for anything.
    if (watched != viewport_)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        pressed(*static_cast<QMouseEvent*>(event));
        break;
    case QEvent::MouseMove:
        moved(*static_cast<QMouseEvent*>(event));
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            released();
        break;
    default:
        break;
    }
    return false;
}

// The grid moves its active cell first; Shift then takes the run from the anchor to it, a plain key
// leaves the active cell alone, and Ctrl leaves the selection as it is.
bool ShowSelection::keyPressed(QKeyEvent* key) {
    if (key->matches(QKeySequence::SelectAll)) {
        selectAll();
        return true;
    }
    if (!movesTheActiveCell(key->key()))
        return false;
    {
        const QScopedValueRollback<bool> relaying(relaying_, true);
        QCoreApplication::sendEvent(&grid_, key);
    }
    const Qt::KeyboardModifiers modifiers = key->modifiers();
    const int active = std::min(activeIndex(), show_.SlideCount - 1);
    if (modifiers & Qt::ShiftModifier) {
        selectRun(anchor_, active);
    } else if (!(modifiers & Qt::ControlModifier)) {
        anchor_ = active;
        clear();
    }
    return true;
}

void ShowSelection::pressed(const QMouseEvent& press) {
    if (press.button() != Qt::LeftButton)
        return;
    const QPoint pos = press.position().toPoint();
    const int index = indexAt(pos);
    const Qt::KeyboardModifiers modifiers = press.modifiers();
    pressAt_ = pos + QPoint(0, scrolledPixels());
    dragged_ = clearAtRelease_ = banding_ = false;
    if (index < 0) {
        // A press beside the slides starts a rubber band.
        banding_ = true;
        bandBase_ = modifiers & Qt::ControlModifier ? selected_ : std::set<int>{};
        setSelected(bandBase_);
    } else if (modifiers & Qt::ShiftModifier) {
        selectRun(anchor_, index);
    } else if (modifiers & Qt::ControlModifier) {
        std::set<int> selected = selected_;
        const int active = activeIndex();
        if (selected.empty() && active < show_.SlideCount)
            selected.insert(active);
        if (selected.erase(index) == 0)
            selected.insert(index);
        anchor_ = index;
        setSelected(std::move(selected));
    } else {
        anchor_ = index;
        if (several() && isSelected(index))
            clearAtRelease_ = true;
        else
            clear();
    }
}

void ShowSelection::moved(const QMouseEvent& move) {
    if (!(move.buttons() & Qt::LeftButton))
        return;
    const QPoint pos = move.position().toPoint();
    if ((pos + QPoint(0, scrolledPixels()) - pressAt_).manhattanLength() < QApplication::startDragDistance())
        return;
    dragged_ = true;
    if (!banding_)
        return;
    if (!band_)
        band_ = new QRubberBand(QRubberBand::Rectangle, grid_.viewport());
    band_->setGeometry(QRect(pressAt_ - QPoint(0, scrolledPixels()), pos).normalized());
    band_->show();
    std::set<int> selected = bandBase_;
    selected.merge(slidesInBand(pos));
    setSelected(std::move(selected));
}

void ShowSelection::released() {
    if (band_)
        band_->hide();
    if (clearAtRelease_ && !dragged_)
        clear();
    banding_ = clearAtRelease_ = false;
}

std::set<int> ShowSelection::slidesInBand(const QPoint& pos) const {
    const QRect band = QRect(pressAt_, pos + QPoint(0, scrolledPixels())).normalized();
    std::set<int> touched;
    for (int index = 0; index < show_.SlideCount; ++index) {
        const QRect cell = grid_.cellRect(ShowGrid::rowOf(index, grid_.ColumnCount()),
                                          ShowGrid::columnOf(index, grid_.ColumnCount()));
        if (cell.translated(0, scrolledPixels()).intersects(band))
            touched.insert(index);
    }
    return touched;
}

int ShowSelection::scrolledPixels() const {
    return grid_.TopRow() * grid_.RowHeight();
}
