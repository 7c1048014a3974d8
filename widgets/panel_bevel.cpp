// SPDX-License-Identifier: MIT
#include "panel_bevel.h"

#include <QFrame>

void showFocusBevel(QFrame& panel, bool focused) {
    panel.setFrameShadow(focused ? QFrame::Raised : QFrame::Sunken);
    if (focused)
        return;
    QPalette palette = panel.palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    panel.setPalette(palette);
    panel.setAutoFillBackground(true);
}
