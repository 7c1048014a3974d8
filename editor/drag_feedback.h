// SPDX-License-Identifier: MIT
#pragma once
// What a drag over the show grid shows the user: the dragged thumbnail under the pointer, and a mark
// on the border between two cells where the slide will land.

#include <QImage>
#include <QPoint>

class QLabel;
class QWidget;
class TOvcTable;

class DragFeedback {
  public:
    // The picture floats above every control of pictureLayer; the mark stands in the grid.
    DragFeedback(QWidget& pictureLayer, TOvcTable& showGrid);

    // The thumbnail, see-through, centred on the pointer (a global position).
    void showPicture(const QImage& thumbnail, const QPoint& globalPos);
    // The mark before the slide place index of a show of slideCount slides; the place after the last
    // slide of a full row is marked at that row's end.
    void markBefore(int index, int slideCount);
    // The mark after the slide place index.
    void markAfter(int index);
    void clearMark();
    // Neither picture nor mark.
    void hide();

  private:
    // The mark on the left border of column edge of row (edge 5 is the right border of the row).
    void markBorder(int row, int edge);

    QWidget& layer_;
    TOvcTable& grid_;
    QLabel* picture_;
    QWidget* mark_;
    qint64 pictureKey_ = 0;
};
