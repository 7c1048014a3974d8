// SPDX-License-Identifier: MIT
#pragma once
// The two mouse drags of the editor, built from the grids' press, move and release notifications and
// the mouse capture a press gives: a folder thumbnail dragged onto the show grid is inserted at the cell
// it is dropped on, and a slide dragged inside the show grid moves to another place. Both scroll the
// show grid one row, and pause, when the pointer comes near its top or bottom edge.

#include "drag_feedback.h"
#include "ovc_table.h"

#include <QPoint>
#include <functional>

class ImageBrowser;
class QWidget;
class ShowDocument;
struct SharedFlags;

class EditorDrags {
  public:
    // Runs the add-selected command for a drop from the folder grid.
    using AddSelected = std::function<void()>;
    // Moves the slide dragged, and those that go with it, onto the slide at `target`; returns where
    // the dragged slide then stands.
    using MoveSlides = std::function<int(int source, int target)>;

    // The pause after each auto-scroll step; pointer moves and the release are handled during it.
    static constexpr int AutoScrollPauseMs = 4500;
    // Pauses nest when the pointer moves on during one; beyond this depth a step scrolls without a
    // pause of its own, so that a pointer kept moving at an edge cannot exhaust the stack.
    static constexpr int MaxNestedPauses = 16;

    EditorDrags(ShowDocument& show, ImageBrowser& browser, TOvcTable& showGrid, SharedFlags& flags,
                QWidget& pictureLayer, AddSelected addSelected);

    // In place of moving the dragged slide alone.
    void setMoveSlides(MoveSlides move) { moveSlides_ = std::move(move); }

    // Folder drag; positions in the folder grid's coordinates.
    void OvcTable1MouseDown(Qt::MouseButton button, bool doubleClick);
    void OvcTable1MouseMove(const QPoint& pos);
    void OvcTable1MouseUp(Qt::MouseButton button, const QPoint& pos);

    // Reorder drag; positions in the show grid's coordinates.
    void OvcTable2MouseDown(Qt::MouseButton button, const QPoint& pos, bool doubleClick);
    void OvcTable2MouseMove(const QPoint& pos);
    void OvcTable2MouseUp(const QPoint& pos);

    bool FolderDragActive = false;
    bool ReorderDragArmed = false;
    TOvcCell ReorderSourceCell;

  private:
    enum class Edge { None, Top, Bottom };
    // Folder grid coordinates to the show grid's.
    QPoint toShowGrid(const QPoint& folderPos) const;
    // The show grid's edge zone the point lies in, where the grid can still scroll that way.
    Edge scrollableEdge(const QPoint& showPos) const;
    // One row towards the edge, repainted, then the pause.
    void autoScroll(Edge edge);
    void setDragPointer(TOvcTable& grid, bool& shown, bool drag, Qt::CursorShape shape);
    // Where a folder image dropped at the point goes, or -1 outside the drop area.
    int folderInsertIndex(const QPoint& showPos) const;
    void showFolderFeedback(const QPoint& showPos);
    void showReorderFeedback(const QPoint& showPos);
    // A release ends the outstanding pauses at once.
    void endPauses();

    ShowDocument& show_;
    ImageBrowser& browser_;
    TOvcTable& folderGrid_;
    TOvcTable& showGrid_;
    SharedFlags& flags_;
    AddSelected addSelected_;
    MoveSlides moveSlides_;
    DragFeedback feedback_;
    bool folderPointer_ = false;
    bool reorderPointer_ = false;
    int pauseDepth_ = 0;
};
