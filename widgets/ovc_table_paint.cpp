// SPDX-License-Identifier: MIT
// The grid's geometry and painting.
#include "ovc_table.h"

#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

TOvcCell TOvcTable::cellAt(const QPoint& pos) const {
    TOvcCell cell;
    if (pos.x() >= 0 && pos.x() < m_columnCount * m_columnWidth && pos.x() < viewport()->width())
        cell.col = pos.x() / m_columnWidth;
    if (pos.y() >= 0 && pos.y() < viewport()->height()) {
        const int row = m_topRow + pos.y() / m_rowHeight;
        if (row < m_rowLimit)
            cell.row = row;
    }
    return cell;
}

QRect TOvcTable::cellRect(int row, int col) const {
    return QRect(col * m_columnWidth, (row - m_topRow) * m_rowHeight, m_columnWidth, m_rowHeight);
}

QSize TOvcTable::viewportSizeHint() const {
    return QSize(m_columnCount * m_columnWidth, 4 * m_rowHeight);
}

// ---- painting ----

void TOvcTable::paintEvent(QPaintEvent* event) {
    if (!m_allowRedraw)
        return;
    if (m_painting) { // a supplier processed events while the cells were being fetched
        viewport()->update(event->rect());
        return;
    }
    m_painting = true;
    const QRect area = event->rect();
    const int lastRow = qMin(m_rowLimit - 1, m_topRow + (viewport()->height() - 1) / m_rowHeight);
    const int lastCol = qMin(m_columnCount - 1, (viewport()->width() - 1) / m_columnWidth);

    // The bitmaps are fetched before the painter opens: a supplier may load images and process events.
    struct CellToPaint {
        QRect rect;
        QImage bitmap;
        QColor background;
        int row = 0;
        int col = 0;
    };
    QList<CellToPaint> cells;
    QList<int> rows;
    for (int row = m_topRow; row <= lastRow; ++row) {
        for (int col = 0; col <= lastCol; ++col) {
            const QRect rect = cellRect(row, col);
            if (!rect.intersects(area))
                continue;
            cells.append({rect, QImage(), cellColor(cellState(row, col)), row, col});
            if (rows.isEmpty() || rows.last() != row)
                rows.append(row);
        }
    }
    if (m_supplier && m_announceRows && !rows.isEmpty())
        m_announceRows(rows);
    for (CellToPaint& cell : cells) {
        const QImage* bitmap = m_supplier ? m_supplier(cell.row, cell.col) : nullptr;
        if (bitmap)
            cell.bitmap = *bitmap;
    }

    // Pictures for the cells of about three screens are kept, so that a scroll makes only the new rows'.
    m_pictures.setCapacity(3 * (lastRow - m_topRow + 2) * (lastCol + 1));
    QPainter painter(viewport());
    // The area outside the cells; cells of an opaque colour paint all of their own.
    QRegion outside(area);
    for (const CellToPaint& cell : cells)
        if (cell.background.alpha() == 255)
            outside -= cell.rect;
    for (const QRect& rect : outside)
        painter.fillRect(rect, m_normalColor);
    for (const CellToPaint& cell : cells) {
        ovcPaintBitmapCell(painter, cell.rect, cell.bitmap, cell.background, m_alignment, &m_palette,
                           &m_pictures);
        if (m_overlay && !cell.bitmap.isNull())
            m_overlay(painter, cell.rect, cell.row, cell.col);
    }
    if (!m_emptyText.isEmpty()) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(viewport()->rect(), Qt::AlignCenter | Qt::TextWordWrap, m_emptyText);
    }
    paintFocusMark(painter);
    m_painting = false;
}

// A dashed frame inside the active cell, between its edge and the bitmap's margin, in the colour of
// highlighted text, which stands out on the active cell's own colour.
void TOvcTable::paintFocusMark(QPainter& painter) const {
    if (!hasFocus() || m_rowLimit == 0)
        return;
    QPen pen(palette().color(QPalette::HighlightedText), 1, Qt::DashLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(cellRect(m_activeRow, m_activeCol).adjusted(2, 2, -3, -3));
}

void TOvcTable::setEmptyText(const QString& text) {
    if (text == m_emptyText)
        return;
    m_emptyText = text;
    viewport()->update();
}

void TOvcTable::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}
