// SPDX-License-Identifier: MIT
#include "audio_icon.h"

#include <QPainter>
#include <QPainterPath>

QImage makeAudioIcon() {
    QImage icon(18, 18, QImage::Format_RGB32);
    icon.fill(Qt::white);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing, false);
    // A loudspeaker: box and cone in dark blue, two sound waves beside it.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 128));
    p.drawRect(2, 6, 4, 6);
    QPainterPath cone;
    cone.moveTo(6, 6);
    cone.lineTo(10, 2);
    cone.lineTo(10, 16);
    cone.lineTo(6, 12);
    cone.closeSubpath();
    p.drawPath(cone);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 128, 0), 1));
    p.drawArc(QRect(8, 5, 6, 8), -60 * 16, 120 * 16);
    p.drawArc(QRect(8, 2, 9, 14), -60 * 16, 120 * 16);
    p.end();
    // Sixteen colours, as the mark is stored with the window design.
    QList<QRgb> vga;
    for (int i = 0; i < 16; ++i) {
        const int level = (i & 8) ? 255 : 128;
        vga.append(qRgb((i & 4) ? level : 0, (i & 2) ? level : 0, (i & 1) ? level : 0));
    }
    vga[7] = qRgb(192, 192, 192);
    vga[8] = qRgb(128, 128, 128);
    vga[15] = qRgb(255, 255, 255);
    return icon.convertToFormat(QImage::Format_Indexed8, vga, Qt::ThresholdDither);
}
