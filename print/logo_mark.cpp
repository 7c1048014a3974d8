// SPDX-License-Identifier: MIT
#include "logo_mark.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace print {

QImage drawLogoMark() {
    QImage mark(480, 360, QImage::Format_RGB32);
    mark.fill(Qt::white);
    QPainter p(&mark);
    p.setRenderHint(QPainter::Antialiasing);

    // The slide's mount and its window.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(28, 42, 92));
    p.drawRoundedRect(QRectF(8, 8, 464, 344), 36, 36);
    const QRectF window(56, 52, 368, 256);
    QPainterPath clip;
    clip.addRoundedRect(window, 10, 10);
    p.setClipPath(clip);
    p.fillRect(window, QColor(150, 200, 240));

    // The sun, low in the valley.
    p.setBrush(QColor(250, 170, 40));
    p.drawEllipse(QPointF(240, 200), 58, 58);

    // Two hills falling towards the middle form the V.
    p.setBrush(QColor(40, 120, 70));
    p.drawPolygon(QPolygonF({{56, 100}, {240, 308}, {56, 308}}));
    p.drawPolygon(QPolygonF({{424, 100}, {424, 308}, {240, 308}}));
    p.setBrush(QColor(25, 85, 50));
    p.drawPolygon(QPolygonF({{56, 190}, {200, 308}, {56, 308}}));
    p.drawPolygon(QPolygonF({{424, 190}, {424, 308}, {280, 308}}));
    p.end();
    return mark;
}

} // namespace print
