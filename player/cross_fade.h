// SPDX-License-Identifier: MIT
#pragma once
// A slide change as the show's rules draw it (show_transition.h): the image area as it looked
// before the change lies over the new picture and gives way to it, faded, wiped, pushed or zoomed.
// Where the new picture moves or grows, the area's other contents are drawn into the change at each
// frame, so that a moving slide keeps moving through it. Its progress follows the program's wait
// clock, so the change keeps to the show's time whatever the frame rate.

#include "show_transition.h"

#include <QPixmap>
#include <QTimer>
#include <QWidget>

class CrossFade : public QWidget {
    Q_OBJECT
  public:
    // Lies over the whole of `area`; hidden until a change begins.
    explicit CrossFade(QWidget* area);

    // Changes from `before` to what lies under over `ms` milliseconds from now.
    void begin(const QPixmap& before, int ms,
               ShowRules::TransitionKind kind = ShowRules::TransitionKind::Fade);
    void stop();
    bool running() const { return isVisible(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    double progress() const;
    void nextFrame();
    // The area's contents but this change, as they are now.
    QPixmap grabUnder() const;

    QPixmap before_;
    qint64 startMs_ = 0;
    int ms_ = 0;
    ShowRules::TransitionKind kind_ = ShowRules::TransitionKind::Fade;
    QTimer frames_;
};
