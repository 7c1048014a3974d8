// SPDX-License-Identifier: MIT
#pragma once
// A slide's pan and zoom in the viewer: lies over the image area and draws, at each refresh of the
// screen, the part of the picture the slide's motion has in view at that moment. The picture is the
// one decoded for the slide (large enough for the motion's smallest frame), turned into a pixmap
// once; the moment follows the program's wait clock, so the motion keeps to the slide's time
// whatever the frame rate.

#include "show_motion.h"

#include <QPixmap>
#include <QTimer>
#include <QWidget>

class MotionView : public QWidget {
    Q_OBJECT
  public:
    // Lies over the contents of `area`; hidden until a motion begins.
    explicit MotionView(QWidget* area);

    // Moves over `picture` from the motion's first frame to its last in `ms` milliseconds from now.
    void begin(const QImage& picture, const ShowMotion::Motion& motion, int ms);
    // The same picture decoded anew (for another size of the area): the motion goes on where it is.
    void setPicture(const QImage& picture);
    void stop();
    // What fills the area beside the picture (null for the area's own colour).
    void setFill(const QImage& fill);
    bool running() const { return isVisible(); }
    // The frame in view now, in fractions of the picture.
    ShowMotion::Frame frameNow() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void nextFrame();

    QPixmap picture_;
    QImage fill_;
    ShowMotion::Motion motion_;
    qint64 startMs_ = 0;
    int ms_ = 1;
    QTimer frames_;
};

// The time between two refreshes of the screen `widget` is on, in milliseconds (60 Hz when unknown).
int refreshIntervalMs(const QWidget& widget);
