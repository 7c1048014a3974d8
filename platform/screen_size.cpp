// SPDX-License-Identifier: MIT
#include "screen_size.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {
QSize forcedSize;
} // namespace

QSize ScreenSize(const QWidget* w) {
    if (!forcedSize.isEmpty())
        return forcedSize;
    const QScreen* screen = w ? w->screen() : nullptr;
    if (!screen && qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(1024, 768);
}

void setForcedScreenSize(QSize size) {
    forcedSize = size.isEmpty() ? QSize() : size;
}
