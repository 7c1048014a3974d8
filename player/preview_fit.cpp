// SPDX-License-Identifier: MIT
#include "preview_fit.h"

namespace {
constexpr int ScrollBarRoom = 16;
constexpr int MinClientWidth = 100;
constexpr int MinClientHeight = 20;
} // namespace

PreviewPlacement fitPreview(QSize picture, QSize screen, QSize frame) {
    const int w = picture.width(), h = picture.height();
    const int sw = screen.width(), sh = screen.height();
    const bool tooWide = w > sw;
    const bool tooHigh = h > sh;

    // Room for the scroll bar that the other direction needs.
    QSize client(tooHigh ? w + ScrollBarRoom : w, tooWide ? h + ScrollBarRoom : h);
    const int scrollBars = (tooWide ? 1 : 0) | (tooHigh ? 2 : 0);

    // The window stays on the screen; one that comes within 10 pixels of its height takes all of it.
    if (client.width() + frame.width() > sw)
        client.setWidth(sw - frame.width());
    if (client.height() + frame.height() > sh - 10)
        client.setHeight(sh - frame.height());
    if (w < MinClientWidth)
        client.setWidth(MinClientWidth);
    if (h < MinClientHeight)
        client.setHeight(MinClientHeight);

    const QSize outer = client + frame;
    return {client, QPoint(sw / 2 - outer.width() / 2, sh / 2 - outer.height() / 2), scrollBars};
}
