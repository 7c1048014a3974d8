// SPDX-License-Identifier: MIT
#include "editor_drags.h"

#include "folder_images.h"
#include "image_browser.h"
#include "shared_flags.h"
#include "show_document.h"
#include "show_grid.h"
#include "wait_pumping.h"

#include <QPointer>
#include <utility>

namespace {
// The drop area, in show grid coordinates: the columns (the scroll bar lies outside it), from the
// top (1 for a drop) to BottomMargin above the grid's lower edge.
int dropAreaRight(const TOvcTable& grid) {
    return grid.ColumnCount() * grid.ColumnWidth() - 3;
}
constexpr int BottomMargin = 6;
// The edge zones: above TopZone, and within BottomZone of the lower edge.
constexpr int TopZone = 10;
constexpr int BottomZone = 21;
// A slide dragged past this distance from the grid's right edge is over the scroll bar.
constexpr int RightMargin = 19;

int indexOf(const TOvcCell& cell, const TOvcTable& grid) {
    return ShowGrid::indexAt(cell.row, cell.col, grid.ColumnCount());
}
} // namespace

EditorDrags::EditorDrags(ShowDocument& show, ImageBrowser& browser, TOvcTable& showGrid, SharedFlags& flags,
                         QWidget& pictureLayer, AddSelected addSelected)
    : show_(show), browser_(browser), folderGrid_(browser.grid()), showGrid_(showGrid), flags_(flags),
      addSelected_(std::move(addSelected)), feedback_(pictureLayer, showGrid) {}

QPoint EditorDrags::toShowGrid(const QPoint& folderPos) const {
    return showGrid_.viewport()->mapFromGlobal(folderGrid_.viewport()->mapToGlobal(folderPos));
}

EditorDrags::Edge EditorDrags::scrollableEdge(const QPoint& showPos) const {
    const int top = showGrid_.TopRow();
    if (showPos.y() < TopZone && top > 0)
        return Edge::Top;
    if (showPos.y() > showGrid_.height() - BottomZone && top < showGrid_.RowLimit() - 2)
        return Edge::Bottom;
    return Edge::None;
}

void EditorDrags::autoScroll(Edge edge) {
    showGrid_.setTopRow(showGrid_.TopRow() + (edge == Edge::Top ? -1 : 1));
    showGrid_.viewport()->repaint();
    if (pauseDepth_ >= MaxNestedPauses)
        return;
    // The window may close during the pause, taking this object with it.
    const QPointer<QWidget> alive(&showGrid_);
    ++pauseDepth_;
    WaitPumping(AutoScrollPauseMs, flags_.WaitInterrupt, &showGrid_);
    if (alive)
        --pauseDepth_;
}

void EditorDrags::endPauses() {
    if (pauseDepth_ > 0)
        flags_.WaitInterrupt = true;
}

void EditorDrags::setDragPointer(TOvcTable& grid, bool& shown, bool drag, Qt::CursorShape shape) {
    shown = drag;
    if (drag)
        grid.viewport()->setCursor(shape);
    else
        grid.viewport()->unsetCursor();
}

// ---- folder drag ----

void EditorDrags::OvcTable1MouseDown(Qt::MouseButton button, bool doubleClick) {
    if (button != Qt::LeftButton || doubleClick || browser_.folder().count() == 0)
        return;
    setDragPointer(folderGrid_, folderPointer_, true, Qt::DragCopyCursor);
    FolderDragActive = true;
}

int EditorDrags::folderInsertIndex(const QPoint& showPos) const {
    const bool inArea = showPos.x() >= 0 && showPos.x() <= dropAreaRight(showGrid_) && showPos.y() >= 0 &&
                        showPos.y() <= showGrid_.height() - BottomMargin;
    if (!inArea)
        return -1;
    const TOvcCell cell = showGrid_.cellAt(showPos);
    return cell.isValid() ? qMin(indexOf(cell, showGrid_), show_.SlideCount) : show_.SlideCount;
}

void EditorDrags::showFolderFeedback(const QPoint& showPos) {
    const int index = folderInsertIndex(showPos);
    const int row = folderGrid_.ActiveRow();
    if (index < 0 || row < 0 || row >= browser_.folder().count()) {
        feedback_.hide();
        return;
    }
    feedback_.showPicture(browser_.shownThumbnail(row), showGrid_.viewport()->mapToGlobal(showPos));
    feedback_.markBefore(index, show_.SlideCount);
}

void EditorDrags::OvcTable1MouseMove(const QPoint& pos) {
    if (!FolderDragActive)
        return;
    const QPoint p = toShowGrid(pos);
    const bool overColumns = p.x() >= 0 && p.x() <= dropAreaRight(showGrid_);
    if (const Edge edge = scrollableEdge(p); overColumns && edge != Edge::None) {
        showFolderFeedback(p);
        autoScroll(edge);
        return;
    }
    setDragPointer(folderGrid_, folderPointer_, folderInsertIndex(p) >= 0, Qt::DragCopyCursor);
    showFolderFeedback(p);
}

void EditorDrags::OvcTable1MouseUp(Qt::MouseButton button, const QPoint& pos) {
    setDragPointer(folderGrid_, folderPointer_, false, Qt::DragCopyCursor);
    feedback_.hide();
    endPauses();
    if (!FolderDragActive || button != Qt::LeftButton)
        return;
    FolderDragActive = false;
    const QPoint p = toShowGrid(pos);
    if (p.y() < 1 || folderInsertIndex(p) < 0)
        return;
    TOvcCell cell = showGrid_.cellAt(p);
    if (indexOf(cell, showGrid_) < 0)
        cell = {ShowGrid::rowOf(show_.SlideCount, showGrid_.ColumnCount()),
                ShowGrid::columnOf(show_.SlideCount, showGrid_.ColumnCount())};
    if (cell.col == 0 && cell.row > showGrid_.RowLimit() - 1)
        showGrid_.setRowLimit(showGrid_.RowLimit() + 1);
    showGrid_.setActiveCell(cell.row, cell.col);
    addSelected_();
    showGrid_.setFocus();
}

// ---- reorder drag ----

void EditorDrags::OvcTable2MouseDown(Qt::MouseButton button, const QPoint& pos, bool doubleClick) {
    if (button != Qt::LeftButton || doubleClick)
        return;
    ReorderSourceCell = showGrid_.cellAt(pos);
    ReorderDragArmed = true;
}

void EditorDrags::showReorderFeedback(const QPoint& pos) {
    const int source = indexOf(ReorderSourceCell, showGrid_);
    if (!reorderPointer_ || !ReorderSourceCell.isValid() || source >= show_.SlideCount) {
        feedback_.hide();
        return;
    }
    feedback_.showPicture(show_.thumbnail(source), showGrid_.viewport()->mapToGlobal(pos));
    const TOvcCell cell = showGrid_.cellAt(pos);
    const int target = indexOf(cell, showGrid_);
    if (!cell.isValid() || target == source || target >= show_.SlideCount)
        feedback_.clearMark();
    else if (target > source)
        feedback_.markAfter(target);
    else
        feedback_.markBefore(target, show_.SlideCount);
}

void EditorDrags::OvcTable2MouseMove(const QPoint& pos) {
    if (!ReorderDragArmed)
        return;
    if (const Edge edge = scrollableEdge(pos); edge != Edge::None) {
        autoScroll(edge);
        return;
    }
    const int active =
        ShowGrid::indexAt(showGrid_.ActiveRow(), showGrid_.ActiveCol(), showGrid_.ColumnCount());
    if (show_.SlideCount == 0 || active >= show_.SlideCount) {
        ReorderDragArmed = false;
        feedback_.hide();
        return;
    }
    const bool overGrid = pos.x() >= 0 && pos.x() <= showGrid_.width() - RightMargin && pos.y() >= 0 &&
                          pos.y() <= showGrid_.height() - BottomMargin;
    setDragPointer(showGrid_, reorderPointer_, overGrid, Qt::DragMoveCursor);
    showReorderFeedback(pos);
}

void EditorDrags::OvcTable2MouseUp(const QPoint& pos) {
    feedback_.hide();
    endPauses();
    if (!ReorderDragArmed)
        return;
    const TOvcCell cell = showGrid_.cellAt(pos);
    // A press that was not on a cell has no slide to move.
    if (cell.isValid() && reorderPointer_ && ReorderSourceCell.isValid()) {
        const int target = indexOf(cell, showGrid_);
        const int source = indexOf(ReorderSourceCell, showGrid_);
        if (source < show_.SlideCount && target < show_.SlideCount) {
            if (moveSlides_) {
                const int at = moveSlides_(source, target);
                showGrid_.setActiveCell(ShowGrid::rowOf(at, showGrid_.ColumnCount()),
                                        ShowGrid::columnOf(at, showGrid_.ColumnCount()));
            } else {
                show_.move(source, target);
                showGrid_.setActiveCell(cell.row, cell.col);
            }
        }
    }
    setDragPointer(showGrid_, reorderPointer_, false, Qt::DragMoveCursor);
    ReorderDragArmed = false;
}
