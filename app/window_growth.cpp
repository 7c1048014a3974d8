// SPDX-License-Identifier: MIT
#include "window_growth.h"

#include <QEvent>
#include <QWidget>

WindowGrowth::WindowGrowth(QWidget& client, QSize designSize)
    : QObject(&client), client_(client), designSize_(designSize) {
    client_.setMinimumSize(designSize_);
    client_.installEventFilter(this);
}

void WindowGrowth::follow(QWidget* control, Down down, bool across) {
    rules_.push_back({control, control->geometry(), down, across});
}

bool WindowGrowth::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &client_ && event->type() == QEvent::Resize)
        place();
    return false;
}

void WindowGrowth::place() {
    const int dx = std::max(0, client_.width() - designSize_.width()) / 2;
    const int dy = std::max(0, client_.height() - designSize_.height());
    for (const Rule& rule : rules_) {
        QRect r = rule.place;
        if (rule.across)
            r.translate(dx, 0);
        switch (rule.down) {
        case Down::Stay:
            break;
        case Down::Half:
            r.translate(0, dy / 2);
            break;
        case Down::Whole:
            r.translate(0, dy);
            break;
        case Down::Grow:
            r.setHeight(r.height() + dy);
            break;
        }
        rule.control->setGeometry(r);
    }
    if (afterPlacing_)
        afterPlacing_();
}
