// SPDX-License-Identifier: MIT
#pragma once
// A caption on a translucent dark band over the bottom of the picture, as a large screen and a video
// show it. Its size follows the height of the screen or frame (a slide's font size is meant for a
// screen 600 pixels high), its lines wrap at the picture's width, and a caption too long for the
// picture is drawn smaller until it fits: nothing of it is ever cut.

#include "caption_scale.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>

class QPainter;

namespace CaptionBand {

// The slide's font at the size a screen `screenHeight` pixels high gives it.
QFont scaledFont(const QFont& slideFont, int screenHeight);
// Where the band lies at the bottom of `picture` (empty for no text).
QRect bandRect(const QRect& picture, const QString& text, const QFont& slideFont, int screenHeight);
// The band and its text at the bottom of `picture`; returns the band's rectangle (empty for no text).
QRect draw(QPainter& painter, const QRect& picture, const QString& text, const QFont& slideFont,
           const QColor& colour, int screenHeight);
// The band of a screen `screen` filled by its picture as an 8-bit coverage mask: its text's letters
// as `draw` lays them out, without the band's black (null for no text).
QImage coverage(const QString& text, const QFont& slideFont, const QSize& screen);

} // namespace CaptionBand

// The band drawn over the viewer's image area, lying over the whole area and letting the mouse
// through.
class CaptionBandView : public QWidget {
  public:
    explicit CaptionBandView(QWidget* area);
    // The caption over `picture` (in the area's coordinates); an empty text hides the band.
    void setCaption(const QString& text, const QFont& font, const QColor& colour, const QRect& picture);
    // The picture moved or came: the band goes with it.
    void setPicture(const QRect& picture);
    const QRect& bandRect() const { return band_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString text_;
    QFont font_;
    QColor colour_;
    QRect picture_;
    QRect band_;
};
