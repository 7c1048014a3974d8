// SPDX-License-Identifier: MIT
#include "motion_view.h"

#include "wait_pumping.h"

#include <QPainter>
#include <QScreen>

#include <cmath>

MotionView::MotionView(QWidget* area) : QWidget(area) {
    setObjectName(QStringLiteral("MotionView"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Every pixel is drawn each frame: nothing beneath is painted again with it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
    frames_.setTimerType(Qt::PreciseTimer);
    connect(&frames_, &QTimer::timeout, this, &MotionView::nextFrame);
}

void MotionView::begin(const QImage& picture, const ShowMotion::Motion& motion, int ms) {
    motion_ = motion;
    startMs_ = waitClock().nowMs();
    ms_ = qMax(1, ms);
    setPicture(picture);
    show();
    frames_.setInterval(refreshIntervalMs(*this));
    frames_.start();
}

void MotionView::setPicture(const QImage& picture) {
    picture_ = QPixmap::fromImage(picture);
    setGeometry(parentWidget()->contentsRect());
    update();
}

void MotionView::stop() {
    frames_.stop();
    hide();
    picture_ = QPixmap();
}

void MotionView::setFill(const QImage& fill) {
    fill_ = fill;
    update();
}

ShowMotion::Frame MotionView::frameNow() const {
    return ShowMotion::frameAt(motion_, double(waitClock().nowMs() - startMs_) / ms_);
}

void MotionView::nextFrame() {
    update();
    // Once the last frame is on screen nothing moves until the next slide.
    if (waitClock().nowMs() - startMs_ > ms_)
        frames_.stop();
}

void MotionView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (fill_.size() == size())
        painter.drawImage(0, 0, fill_);
    else
        painter.fillRect(rect(), palette().window());
    if (picture_.isNull())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF source = ShowMotion::sourceRect(frameNow(), QSizeF(picture_.size()));
    painter.drawPixmap(ShowMotion::fittedRect(source.size(), QRectF(rect())), picture_, source);
}

int refreshIntervalMs(const QWidget& widget) {
    const QScreen* screen = widget.screen();
    const qreal rate = screen ? screen->refreshRate() : 0;
    return rate >= 1 ? qMax(1, int(std::floor(1000 / rate))) : 16;
}
