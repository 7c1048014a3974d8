// SPDX-License-Identifier: MIT
#pragma once
// What fills a frame beside its picture (frame_look.h), drawn through a QImage's pixels by the
// show's rules: black, one colour, or the picture blurred and darkened over the whole frame.

#include "frame_look.h"

#include <QImage>
#include <QWidget>

namespace FrameFill {

// The frame's fill for `picture` (null for none: then black for a blurred fill), `frame` sized.
QImage backdrop(const QImage& picture, QSize frame, const ShowRules::Look& look);
// The picture that fills a title slide's frame when its fill is blurred: the file at `path` decoded
// only as large as the blur needs; null when there is none or it cannot be read.
QImage backdropPicture(const QString& path);
// A slide in `frame` as the video draws it: its fill, its picture placed by the show's rules and
// its caption on the band, sized for the frame's height.
void drawSlide(QPainter& painter, const QRect& frame, const QImage& picture, const ShowRules::Look& look,
               const QString& text, const QFont& font, const QColor& colour);

} // namespace FrameFill

// The fill of the viewer's image area, lying under the picture.
class FrameFillView : public QWidget {
  public:
    explicit FrameFillView(QWidget* area);
    // The fill of `look` for `picture` over the whole area.
    void setFill(const QImage& picture, const ShowRules::Look& look);
    // The fill at the area's size; null for black.
    const QImage& drawn() const { return drawn_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage picture_;
    ShowRules::Look look_;
    QImage drawn_; // the fill at the size last painted
};
