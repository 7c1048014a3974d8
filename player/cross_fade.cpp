// SPDX-License-Identifier: MIT
#include "cross_fade.h"

#include "slide_transition.h"
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

void CrossFade::begin(const QPixmap& before, int ms, ShowRules::TransitionKind kind) {
    before_ = before;
    startMs_ = waitClock().nowMs();
    ms_ = ms;
    kind_ = kind;
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

double CrossFade::progress() const {
    const qint64 elapsed = waitClock().nowMs() - startMs_;
    return ms_ > 0 ? qBound(0.0, double(elapsed) / ms_, 1.0) : 1.0;
}

void CrossFade::nextFrame() {
    if (progress() >= 1.0)
        stop();
    else
        update();
}

QPixmap CrossFade::grabUnder() const {
    const qreal ratio = devicePixelRatioF();
    QPixmap under(size() * ratio);
    under.setDevicePixelRatio(ratio);
    under.fill(parentWidget()->palette().color(parentWidget()->backgroundRole()));
    for (QObject* child : parentWidget()->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && widget != this && widget->isVisible())
            widget->render(&under, widget->pos());
    }
    return under;
}

void CrossFade::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const ShowRules::TransitionLook look = ShowRules::transitionAt(kind_, progress(), width(), height());
    if (!look.newInPlace()) {
        painter.fillRect(rect(), Qt::black);
        SlideTransition::paint(painter, rect(), before_, grabUnder(), look);
        return;
    }
    // The new picture lies under in its place: the old one covers it outside the new one's part,
    // and over it as much as the new one is not yet there.
    const ShowRules::Rect& clip = look.newClip;
    const QRegion shown(clip.x, clip.y, clip.width, clip.height);
    painter.setClipRegion(QRegion(rect()).subtracted(shown));
    painter.drawPixmap(0, 0, before_);
    painter.setClipRegion(shown);
    painter.setOpacity(1.0 - look.newOpacity);
    painter.drawPixmap(0, 0, before_);
}
