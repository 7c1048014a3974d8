// SPDX-License-Identifier: MIT
#pragma once
// A caption on a translucent dark band across the frame at the foot (or the top) of the picture, as
// a large screen and a video show it. Its size follows the height of the screen or frame (a slide's
// font size is meant for a screen 600 pixels high), its lines wrap at the frame's width, and a caption
// too long for its room is drawn smaller until it fits: nothing of it is ever cut. Its letters are
// outlined so that they read on the band (frame_look.h).

#include "caption_scale.h"
#include "frame_look.h"

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
using ShowRules::CaptionPlace;

// The room of a caption over `picture` placed in `frame`: the frame's width, from the frame's top to
// the picture's foot (or from the picture's top to the frame's foot); the whole frame without a picture.
QRect room(const QRect& frame, const QRect& picture, CaptionPlace place = CaptionPlace::Bottom);
// Where the band lies at the bottom (or the top) of `room` (empty for no text).
QRect bandRect(const QRect& room, const QString& text, const QFont& slideFont, int screenHeight,
               CaptionPlace place = CaptionPlace::Bottom);
// The band and its outlined text in `room`; returns the band's rectangle (empty for no text).
QRect draw(QPainter& painter, const QRect& room, const QString& text, const QFont& slideFont,
           const QColor& colour, int screenHeight, CaptionPlace place = CaptionPlace::Bottom);
// The band of a screen `screen` filled by its picture as an 8-bit coverage mask: its text's letters
// as `draw` lays them out, without the band's black and the outline (null for no text).
QImage coverage(const QString& text, const QFont& slideFont, const QSize& screen);
// The same letters outlined in the colours `draw` gives them, on transparency (null for no text).
QImage outlined(const QString& text, const QFont& slideFont, const QColor& colour, const QSize& screen);

// A title slide's caption: larger, in the middle of `frame`, its letters outlined without a band
// (caption_scale.h). Returns where the letters lie (empty for no text).
QRect drawTitle(QPainter& painter, const QRect& frame, const QString& text, const QFont& slideFont,
                const QColor& colour, int screenHeight);
// The title of a screen `screen` as `coverage` and `outlined` give a caption: the letters' rectangle.
QImage titleCoverage(const QString& text, const QFont& slideFont, const QSize& screen);
QImage titleOutlined(const QString& text, const QFont& slideFont, const QColor& colour, const QSize& screen);

} // namespace CaptionBand

// The band drawn over the viewer's image area, lying over the whole area and letting the mouse
// through.
class CaptionBandView : public QWidget {
  public:
    explicit CaptionBandView(QWidget* area);
    // The caption in `room` (in the area's coordinates); an empty text hides the band.
    // A title slide's text stands in the middle of the whole area instead.
    void setCaption(const QString& text, const QFont& font, const QColor& colour, const QRect& room,
                    CaptionBand::CaptionPlace place, bool title = false);
    // The picture moved or came, or the controls: the band goes with its room.
    void setPicture(const QRect& room);
    const QRect& bandRect() const { return band_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString text_;
    QFont font_;
    QColor colour_;
    QRect picture_;
    QRect band_;
    CaptionBand::CaptionPlace place_ = CaptionBand::CaptionPlace::Bottom;
    bool title_ = false;
};
