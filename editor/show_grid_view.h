// SPDX-License-Identifier: MIT
#pragma once
// The show grid and the status line under it, following the show: after every change the grid
// repaints the cells of the slides that changed, its active cell stays on its slide, and once the
// number of slides changed it has the rows the slides need and Label7 says "Images: N", with how
// many of the show's pictures are not found or cannot be read. After Undo and Redo it selects and
// shows the slides the step touched, and takes the focus. What a command shows beyond that (the rows
// in view, a message) it asks for here. An empty show grid says how to fill it.

#include "ovc_table.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class QLabel;
class ShowDocument;
class ShowSelection;
class TOvcTable;
struct ShowChange;

// "Images: N", with how many of the show's pictures are not found and how many could not be read.
QString imagesCountText(int count, int notFound = 0, int notReadable = 0);
// What a screen reader says of slide `index`: its number, file name, display time and caption, with
// the file name as the description; nothing past the last slide.
TOvcTable::CellText slideCellText(const ShowDocument& show, int index);
// Label7 when a file is left out because its path is too long to be stored in a slide.
QString pathTooLongText(const QString& path);

class ShowGridView : public QObject {
  public:
    ShowGridView(ShowDocument& show, TOvcTable& grid, QLabel& countLabel);

    // After the show changed as a whole: cell (0, 0) active, at least minimumRows rows, the first row
    // at the top.
    void showAnew(int minimumRows = 0);
    // "Images: N", with how many of the show's pictures are not found or could not be read, and the
    // note about the show read, while its slides are the same.
    void showImagesCount();
    // Names a file that made no slide because its path is too long to be stored.
    void showPathTooLong(const QString& path);
    // "Images: N" followed by a note about the show just read.
    void showNote(const QString& note);
    // "Read i of N..." while a show is read.
    void showReadProgress(int done, int count);

    // The grid's columns; set anew, the slides flow into them in order and the active slide, the
    // first slide in view and the selection stay as they were.
    int columns() const { return grid_.ColumnCount(); }
    void setColumns(int columns);
    // Called with each slide whose cell is about to be painted, before its thumbnail is taken.
    void setBeforeThumbnailTaken(std::function<void(int index)> before) { beforeTaken_ = std::move(before); }

    ShowDocument& show() { return show_; }
    TOvcTable& grid() { return grid_; }
    QLabel& countLabel() { return countLabel_; }
    // The slide of the grid's active cell (past the last slide where the cell is empty).
    int activeIndex() const;
    // The slides selected besides the active cell.
    ShowSelection& selection() { return *selection_; }
    const ShowSelection& selection() const { return *selection_; }

  private:
    void follow(const ShowChange& change);
    // "Drag pictures here, or use > and >>" across the grid while the show is empty.
    void showEmptyHint();
    // A slide's picture not found, or there but not readable (its thumbnail says so).
    enum class Mark : std::uint8_t { None, Missing, Unreadable };
    Mark markOf(int index) const;
    void followMarks(const ShowChange& change);
    int marked(Mark mark) const;
    void repaintChanged(const ShowChange& change);
    void showWalked(const std::vector<int>& touched, int first);

    ShowDocument& show_;
    TOvcTable& grid_;
    QLabel& countLabel_;
    ShowSelection* selection_;
    std::vector<Mark> marks_; // by slide
    QString note_;            // about the show just read
    std::function<void(int index)> beforeTaken_;
};
