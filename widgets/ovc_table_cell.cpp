// SPDX-License-Identifier: MIT
#include "ovc_table_cell.h"

#include <QPainter>
#include <limits>

void OvcPaletteMap::setPalette(const QList<QRgb>& colors) {
    m_palette = colors;
    m_cache.clear();
}

QRgb OvcPaletteMap::map(QRgb color) {
    const QRgb key = color | 0xFF000000;
    if (const auto found = m_cache.constFind(key); found != m_cache.constEnd())
        return (*found & 0x00FFFFFF) | (color & 0xFF000000);
    QRgb best = key;
    int bestDistance = std::numeric_limits<int>::max();
    for (const QRgb entry : m_palette) {
        const int dr = qRed(entry) - qRed(key);
        const int dg = qGreen(entry) - qGreen(key);
        const int db = qBlue(entry) - qBlue(key);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = entry | 0xFF000000;
        }
    }
    m_cache.insert(key, best);
    return (best & 0x00FFFFFF) | (color & 0xFF000000);
}

QRect ovcBitmapTarget(const QRect& cell, const QSize& bitmapSize, Qt::Alignment alignment, int margin) {
    const int width = qMax(0, qMin(bitmapSize.width(), cell.width() - 2 * margin));
    const int height = qMax(0, qMin(bitmapSize.height(), cell.height() - 2 * margin));
    int x = cell.left() + (cell.width() - width) / 2;
    if (alignment & Qt::AlignLeft)
        x = cell.left() + margin;
    else if (alignment & Qt::AlignRight)
        x = cell.left() + cell.width() - margin - width;
    int y = cell.top() + (cell.height() - height) / 2;
    if (alignment & Qt::AlignTop)
        y = cell.top() + margin;
    else if (alignment & Qt::AlignBottom)
        y = cell.top() + cell.height() - margin - height;
    return QRect(x, y, width, height);
}

QImage ovcCellPicture(const QImage& bitmap, const QSize& visibleSize, const QColor& background,
                      OvcPaletteMap* palette) {
    // A bitmap with more device pixels than pixels keeps them all.
    const qreal ratio = bitmap.devicePixelRatio();
    // An opaque bitmap stays opaque, which the painter copies without blending.
    const QImage::Format format = bitmap.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    QImage picture =
        bitmap.copy(QRect(QPoint(0, 0), (QSizeF(visibleSize) * ratio).toSize())).convertToFormat(format);
    picture.setDevicePixelRatio(ratio);
    const QRgb backgroundRgb = background.rgb() | 0xFF000000;
    const bool mapColors = palette && !palette->isEmpty();
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            if ((line[x] & 0x00FFFFFF) == (OvcTransparentColor & 0x00FFFFFF))
                line[x] = backgroundRgb;
            else if (mapColors)
                line[x] = palette->map(line[x]);
        }
    }
    return picture;
}

void ovcPaintBitmapCell(QPainter& painter, const QRect& cell, const QImage& bitmap, const QColor& background,
                        Qt::Alignment alignment, OvcPaletteMap* palette) {
    painter.fillRect(cell, background);
    if (bitmap.isNull())
        return;
    const QRect target = ovcBitmapTarget(cell, bitmap.deviceIndependentSize().toSize(), alignment);
    if (target.isEmpty())
        return;
    painter.drawImage(target.topLeft(), ovcCellPicture(bitmap, target.size(), background, palette));
}
