// SPDX-License-Identifier: MIT
#pragma once
// How one bitmap cell of the grid is drawn: the background in the colour of the cell's state, then the
// top-left part of the cell's bitmap that fits inside the margins, placed by the cell's alignment, with
// the transparent colour showing the background and, when the grid has a palette, every other colour
// drawn as its nearest palette entry.

#include <QCache>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QList>
#include <QRect>

class QPainter;

inline constexpr int OvcCellMargin = 4;
inline constexpr QRgb OvcTransparentColor = 0xFFFEFE00; // RGB(254, 254, 0)

// Nearest-colour lookup for one palette; remembers colours it has already mapped.
class OvcPaletteMap {
  public:
    void setPalette(const QList<QRgb>& colors);
    const QList<QRgb>& palette() const { return m_palette; }
    bool isEmpty() const { return m_palette.isEmpty(); }
    QRgb map(QRgb color);

  private:
    QList<QRgb> m_palette;
    QHash<QRgb, QRgb> m_cache;
};

// Where the visible part of a bitmap of the given size goes inside the cell rectangle.
QRect ovcBitmapTarget(const QRect& cell, const QSize& bitmapSize, Qt::Alignment alignment,
                      int margin = OvcCellMargin);

// The picture drawn for a bitmap: its visible part (in pixels, of a bitmap that may carry more device
// pixels) with the transparent colour replaced by background and, with a palette, the other colours
// mapped to it.
QImage ovcCellPicture(const QImage& bitmap, const QSize& visibleSize, const QColor& background,
                      OvcPaletteMap* palette);

// The cells' pictures kept from one paint to the next, so that a paint makes only the pictures it
// did not draw lately. A picture is made anew when its bitmap changed (every change of a QImage's
// pixels gives it a new cache key), or its visible size, background or palette did; the grid
// empties it when its palette changes.
class OvcCellPictures {
  public:
    // Keeps the last `count` pictures made.
    void setCapacity(int count) { m_pictures.setMaxCost(qMax(1, count)); }
    void clear() { m_pictures.clear(); }
    QImage picture(const QImage& bitmap, const QSize& visibleSize, const QColor& background,
                   OvcPaletteMap* palette);

  private:
    struct Key {
        qint64 bitmap = 0;
        qreal ratio = 1;
        QSize size;
        QRgb background = 0;
        friend bool operator==(const Key&, const Key&) = default;
        friend size_t qHash(const Key& key, size_t start = 0) {
            return qHashMulti(start, key.bitmap, key.ratio, key.size.width(), key.size.height(),
                              key.background);
        }
    };
    QCache<Key, QImage> m_pictures;
};

// Paints one cell: background, then the bitmap (a null bitmap leaves only the background); the
// picture comes from `pictures` where given.
void ovcPaintBitmapCell(QPainter& painter, const QRect& cell, const QImage& bitmap, const QColor& background,
                        Qt::Alignment alignment, OvcPaletteMap* palette, OvcCellPictures* pictures = nullptr);
