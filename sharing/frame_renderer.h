// SPDX-License-Identifier: MIT
#pragma once
// A slide drawn as one frame of a video: the picture fitted on the slide's fill as the viewer fits it
// (at its own size when it is smaller than the area both ways, else scaled to the area keeping its
// proportions), and, when the slide shows text, its caption in its font and colour on a dark band
// across the frame at the foot (or top) of the picture, sized to the frame, as the viewer's full
// screen shows it. A picture whose
// file is not there is drawn as the viewer shows it: a grey area with its name. Safe to use on any thread.

#include "shared_show.h"

#include <QImage>
#include <QRect>
#include <QSize>

#include <algorithm>

class QPainter;

namespace sharing {

class FrameRenderer {
  public:
    explicit FrameRenderer(QSize frame) : frame_(frame) {}

    // The area the slide's picture is fitted into: the whole frame.
    QRect pictureArea(const SharedSlide& slide) const;
    // Where the slide's caption band lies over a picture of `stored` size (empty for none).
    QRect captionBand(const SharedSlide& slide, QSize stored) const;
    // Where a picture of `stored` size is drawn in `area`, by the viewer's rule.
    static QRect placePicture(QSize stored, const QRect& area);
    // The slide's frame; `picture` is null for a blank slide or a picture that could not be read,
    // and may be decoded reduced, as long as `stored` is its size as stored.
    QImage render(const SharedSlide& slide, const QImage& picture, QSize stored) const;
    // The slide loaded and drawn.
    QImage renderSlide(const SharedSlide& slide) const;
    // A moving slide's picture, decoded once as large as its smallest frame needs; null when it
    // cannot be read (the slide is then drawn still).
    QImage loadMoving(const SharedSlide& slide) const;
    // The part `frame` of a moving slide's picture, drawn as large as fits in the picture area, over
    // `fill` (the slide's fill for the picture, made once for all its frames by `fill`) where given.
    QImage renderMoving(const SharedSlide& slide, const QImage& picture, const ShowMotion::Frame& frame,
                        const QImage& fill = {}) const;
    QImage fill(const SharedSlide& slide, const QImage& picture) const;

    // A step of the change from `from` to `to` within `area`, where the pictures stand as `look`
    // says; outside the area, `to` as it is.
    static QImage blend(const QImage& from, const QImage& to, const ShowRules::TransitionLook& look,
                        const QRect& area);

  private:
    QImage renderTitle(const SharedSlide& slide) const;
    void drawCaption(QPainter& painter, const SharedSlide& slide, const QRect& area,
                     const QRect& place) const;
    // The frame's shorter side: text is sized by it, so that a vertical or square frame shows it
    // as large against its width as a wide frame does against its height.
    int textSide() const { return std::min(frame_.width(), frame_.height()); }
    double scale() const { return textSide() / 720.0; }
    // A font sized for the viewer's 1280 x 720 screen, sized for the frame.
    QFont scaledFont(QFont font) const;

    QSize frame_;
};

} // namespace sharing
