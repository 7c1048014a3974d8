// SPDX-License-Identifier: MIT
#include "cross_fade.h"

#include "wait_pumping.h"

#include <QPainter>

namespace {
constexpr int FrameMs = 16;
}

CrossFade::CrossFade(QWidget* area) : QWidget(area) {
    setObjectName(QStringLiteral("CrossFade"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
    frames_.setInterval(FrameMs);
    frames_.setTimerType(Qt::PreciseTimer);
    connect(&frames_, &QTimer::timeout, this, &CrossFade::nextFrame);
}

void CrossFade::begin(const QPixmap& before, int ms) {
    before_ = before;
    startMs_ = waitClock().nowMs();
    ms_ = ms;
    setGeometry(parentWidget()->rect());
    raise();
    show();
    frames_.start();
}

void CrossFade::stop() {
    frames_.stop();
    hide();
    before_ = QPixmap();
}

double CrossFade::opacity() const {
    const qint64 elapsed = waitClock().nowMs() - startMs_;
    return ms_ > 0 ? qBound(0.0, 1.0 - double(elapsed) / ms_, 1.0) : 0.0;
}

void CrossFade::nextFrame() {
    if (opacity() <= 0.0)
        stop();
    else
        update();
}

void CrossFade::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setOpacity(opacity());
    painter.drawPixmap(0, 0, before_);
}
