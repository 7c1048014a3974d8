// SPDX-License-Identifier: MIT
#pragma once
// Size of the screen a window is on, in pixels. Windows that fit themselves to the screen ask here,
// so that tests can give them a screen of any size.

#include <QSize>

class QWidget;

// The forced size if one is set, otherwise the size of the widget's screen (the primary screen for
// a null widget); 1024 x 768 when there is no screen.
QSize ScreenSize(const QWidget* w);

// An empty size measures again.
void setForcedScreenSize(QSize size);
