// SPDX-License-Identifier: MIT
#pragma once
// How one bitmap cell of the grid is drawn: the background in the colour of the cell's state, then the
// top-left part of the cell's bitmap that fits inside the margins, placed by the cell's alignment, with
// the transparent colour showing the background and, when the grid has a palette, every other colour
// drawn as its nearest palette entry.

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

// Paints one cell: background, then the bitmap (a null bitmap leaves only the background).
void ovcPaintBitmapCell(QPainter& painter, const QRect& cell, const QImage& bitmap, const QColor& background,
                        Qt::Alignment alignment, OvcPaletteMap* palette);
