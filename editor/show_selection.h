// SPDX-License-Identifier: MIT
#pragma once
// The slides selected in the show grid besides its active cell, kept by their place in the show and
// following its changes. Ctrl+click adds a slide or takes it out, Shift+click and Shift with the
// moving keys take the run of slides from the anchor to the active cell, Ctrl+A takes every slide,
// and a rubber band drawn from a place without a slide takes the slides it touches (with Ctrl, in
// addition to those selected). A plain click or key leaves only the active cell, as before; a plain
// press on one of several selected slides keeps them for a drag until the release.

#include <QObject>
#include <QPoint>

#include <set>
#include <vector>

class QEvent;
class QKeyEvent;
class QMouseEvent;
class QRubberBand;
class ShowDocument;
class TOvcTable;
struct ShowChange;

class ShowSelection : public QObject {
  public:
    ShowSelection(ShowDocument& show, TOvcTable& grid);

    // The slides the editing commands act on, ascending: those selected, or else the slide of the
    // active cell; none when the active cell is past the last slide.
    std::vector<int> slides() const;
    bool isSelected(int index) const { return selected_.count(index) > 0; }
    // More than one slide is selected.
    bool several() const { return selected_.size() > 1; }
    void select(const std::vector<int>& indexes);
    void selectAll();
    void clear();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int activeIndex() const;
    int indexAt(const QPoint& pos) const;
    void setSelected(std::set<int> selected);
    void selectRun(int from, int to);
    void follow(const ShowChange& change);
    bool keyPressed(QKeyEvent* key);
    void pressed(const QMouseEvent& press);
    void moved(const QMouseEvent& move);
    void released();
    // The slides whose cells the band from the press to `pos` touches, in the grid's coordinates.
    std::set<int> slidesInBand(const QPoint& pos) const;
    // The rows scrolled away above the grid, in pixels: points kept across a scroll add these.
    int scrolledPixels() const;

    ShowDocument& show_;
    TOvcTable& grid_;
    QObject* viewport_; // the grid's viewport, whose mouse events select
    std::set<int> selected_;
    int anchor_ = 0; // where a Shift run starts
    bool relaying_ = false;
    // A press on one of several selected slides clears the others at the release, unless a drag
    // followed.
    bool clearAtRelease_ = false;
    bool dragged_ = false;
    QPoint pressAt_; // in the grid's coordinates, scrolled rows added
    bool banding_ = false;
    std::set<int> bandBase_; // selected before the band, and kept with Ctrl
    QRubberBand* band_ = nullptr;
};
