// SPDX-License-Identifier: MIT
#pragma once
// A slide change as a cross-fade: the image area as it looked before the change lies over the new
// picture and fades out. Its opacity follows the program's wait clock, so the fade keeps to the
// show's time whatever the frame rate.

#include <QPixmap>
#include <QTimer>
#include <QWidget>

class CrossFade : public QWidget {
    Q_OBJECT
  public:
    // Lies over the whole of `area`; hidden until a fade begins.
    explicit CrossFade(QWidget* area);

    // Fades out `before` over `ms` milliseconds from now.
    void begin(const QPixmap& before, int ms);
    void stop();
    bool running() const { return isVisible(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    double opacity() const;
    void nextFrame();

    QPixmap before_;
    qint64 startMs_ = 0;
    int ms_ = 0;
    QTimer frames_;
};
