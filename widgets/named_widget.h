// SPDX-License-Identifier: MIT
#pragma once
// Every control of a window carries its name from the window design as its objectName, so that
// tests, and anything that drives the program from outside, find it by that name.

#include <QRect>
#include <QWidget>

template <typename T> T* named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// The same, placed at a rectangle of its parent.
template <typename T> T* named(T* widget, const char* name, QRect place) {
    named(widget, name)->setGeometry(place);
    return widget;
}
