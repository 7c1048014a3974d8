// SPDX-License-Identifier: MIT
#include "screen_depth.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

int forcedBits = 0;

int depthFromEnvironment() {
    bool ok = false;
    const int bits = qEnvironmentVariableIntValue("VERASCO_SCREEN_DEPTH", &ok);
    return ok && bits > 0 && bits <= 64 ? bits : 0;
}

} // namespace

int ScreenBitsPerPixel(const QWidget* w) {
    if (forcedBits > 0)
        return forcedBits;
    if (const int bits = depthFromEnvironment())
        return bits;
    const QScreen* screen = w ? w->screen() : nullptr;
    if (!screen && qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->depth() : 32;
}

void setForcedScreenBitsPerPixel(int bits) {
    forcedBits = bits > 0 ? bits : 0;
}
