// SPDX-License-Identifier: MIT
#include "ovc_table_cell.h"

#include <QPainter>

#include <algorithm>
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

namespace {
bool isTransparentColor(QRgb color) {
    return (color & 0x00FFFFFF) == (OvcTransparentColor & 0x00FFFFFF);
}

// Whether the picture of `bitmap` is the bitmap itself: all of it visible, already in the format
// drawn, no palette and no pixel of the transparent colour.
bool drawnAsItIs(const QImage& bitmap, const QSize& visiblePixels, QImage::Format format, bool mapColors) {
    if (mapColors || bitmap.format() != format || bitmap.size() != visiblePixels)
        return false;
    const int width = bitmap.width();
    for (int y = 0; y < bitmap.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(bitmap.constScanLine(y));
        if (std::any_of(line, line + width, isTransparentColor))
            return false;
    }
    return true;
}
} // namespace

QImage ovcCellPicture(const QImage& bitmap, const QSize& visibleSize, const QColor& background,
                      OvcPaletteMap* palette) {
    // A bitmap with more device pixels than pixels keeps them all.
    const qreal ratio = bitmap.devicePixelRatio();
    // An opaque bitmap stays opaque, which the painter copies without blending.
    const QImage::Format format = bitmap.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    const QSize visiblePixels = (QSizeF(visibleSize) * ratio).toSize();
    const bool mapColors = palette && !palette->isEmpty();
    if (drawnAsItIs(bitmap, visiblePixels, format, mapColors))
        return bitmap;
    QImage picture = bitmap.copy(QRect(QPoint(0, 0), visiblePixels)).convertToFormat(format);
    picture.setDevicePixelRatio(ratio);
    const QRgb backgroundRgb = background.rgb() | 0xFF000000;
    const int width = picture.width();
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (isTransparentColor(line[x]))
                line[x] = backgroundRgb;
            else if (mapColors)
                line[x] = palette->map(line[x]);
        }
    }
    return picture;
}

QImage OvcCellPictures::picture(const QImage& bitmap, const QSize& visibleSize, const QColor& background,
                                OvcPaletteMap* palette) {
    const Key key{bitmap.cacheKey(), bitmap.devicePixelRatio(), visibleSize, background.rgba()};
    if (const QImage* kept = m_pictures.object(key))
        return *kept;
    const QImage made = ovcCellPicture(bitmap, visibleSize, background, palette);
    m_pictures.insert(key, new QImage(made));
    return made;
}

namespace {
// Fills the cell around the picture's place; what lies under an opaque picture that covers its
// place is painted over whole by it.
void fillAround(QPainter& painter, const QRect& cell, const QRect& target, const QImage& picture,
                const QColor& background) {
    const bool covered = !picture.hasAlphaChannel() &&
                         QSizeF(picture.size()) == QSizeF(target.size()) * picture.devicePixelRatio();
    if (!covered) {
        painter.fillRect(cell, background);
        return;
    }
    painter.fillRect(QRect(cell.left(), cell.top(), cell.width(), target.top() - cell.top()), background);
    painter.fillRect(QRect(cell.left(), target.bottom() + 1, cell.width(), cell.bottom() - target.bottom()),
                     background);
    painter.fillRect(QRect(cell.left(), target.top(), target.left() - cell.left(), target.height()),
                     background);
    painter.fillRect(QRect(target.right() + 1, target.top(), cell.right() - target.right(), target.height()),
                     background);
}
} // namespace

void ovcPaintBitmapCell(QPainter& painter, const QRect& cell, const QImage& bitmap, const QColor& background,
                        Qt::Alignment alignment, OvcPaletteMap* palette, OvcCellPictures* pictures) {
    const QRect target =
        bitmap.isNull() ? QRect() : ovcBitmapTarget(cell, bitmap.deviceIndependentSize().toSize(), alignment);
    if (target.isEmpty()) {
        painter.fillRect(cell, background);
        return;
    }
    const QImage picture = pictures ? pictures->picture(bitmap, target.size(), background, palette)
                                    : ovcCellPicture(bitmap, target.size(), background, palette);
    fillAround(painter, cell, target, picture, background);
    painter.drawImage(target.topLeft(), picture);
}
