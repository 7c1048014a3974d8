// SPDX-License-Identifier: MIT
#pragma once
// Where the preview window goes for a picture: its client size, its place on the screen and the
// scroll bars of its imaging control. Plain arithmetic, so every rule can be checked without a screen.

#include <QPoint>
#include <QSize>

struct PreviewPlacement {
    QSize client;   // the client area
    QPoint topLeft; // the window's outer top-left corner
    int scrollBars; // 0 none, 1 horizontal, 2 vertical, 3 both
};

// picture: the picture's size; screen: the screen's size; frame: the window's outer size minus its
// client size.
PreviewPlacement fitPreview(QSize picture, QSize screen, QSize frame);
