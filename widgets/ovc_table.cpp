// SPDX-License-Identifier: MIT
#include "ovc_table.h"

#include "ovc_table_accessible.h"

#include <QAccessible>
#include <QScrollBar>

TOvcTable::TOvcTable(QWidget* parent) : QAbstractScrollArea(parent) {
    setFrameShape(QFrame::NoFrame); // viewport coordinates are then the grid's own
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    verticalScrollBar()->setTracking(true);
    viewport()->setAutoFillBackground(false);
    takePaletteColors();
    updateScrollRange();
    connect(this, &TOvcTable::selectionChanged, this, &TOvcTable::announceSelection);
    static const bool accessible = [] {
        QAccessible::installFactory(&OvcTableAccessible::create);
        return true;
    }();
    Q_UNUSED(accessible);
}

void TOvcTable::takePaletteColors() {
    if (m_ownColors)
        return;
    m_normalColor = palette().color(QPalette::Base);
    m_activeColor = palette().color(QPalette::Highlight);
    m_selectedColor = m_activeColor.lighter(160);
    if (m_normalColor.lightness() < 128) // on a dark ground the selection is darker than the active cell
        m_selectedColor = m_activeColor.darker(160);
}

void TOvcTable::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        takePaletteColors();
        repaintCells();
    }
}

TOvcTable::CellText TOvcTable::cellText(int row, int col) const {
    CellText text = m_textSupplier ? m_textSupplier(row, col) : CellText{};
    if (text.name.isEmpty())
        text.name = tr("Empty");
    return text;
}

void TOvcTable::setColumnCount(int count) {
    m_columnCount = qMax(1, count);
    if (m_activeCol >= m_columnCount)
        setActiveCell(m_activeRow, m_columnCount - 1);
    dropSelectionOutside();
    repaintCells();
}

void TOvcTable::setColumnWidth(int width) {
    m_columnWidth = qMax(1, width);
    repaintCells();
}

void TOvcTable::setRowHeight(int height) {
    m_rowHeight = qMax(1, height);
    updateScrollRange();
    repaintCells();
}

void TOvcTable::setRowLimit(int rows) {
    if (qMax(0, rows) == m_rowLimit)
        return;
    m_rowLimit = qMax(0, rows);
    if (m_activeRow >= m_rowLimit && m_activeRow > 0) {
        m_activeRow = qMax(0, m_rowLimit - 1);
        m_anchorRow = m_activeRow;
        emit activeCellChanged(m_activeRow, m_activeCol);
    }
    dropSelectionOutside();
    updateScrollRange();
    repaintCells();
}

void TOvcTable::setActiveCell(int row, int col) {
    row = qBound(0, row, qMax(0, m_rowLimit - 1));
    col = qBound(0, col, m_columnCount - 1);
    m_anchorRow = row;
    m_anchorCol = col;
    if (row != m_activeRow || col != m_activeCol) {
        m_activeRow = row;
        m_activeCol = col;
        repaintCells();
        emit activeCellChanged(row, col);
        announceActiveCell();
    }
    scrollToRow(m_activeRow);
}

// A screen reader follows the focus: inside the grid it is on the active cell.
void TOvcTable::announceActiveCell() {
    if (!hasFocus() || !QAccessible::isActive() || m_rowLimit == 0)
        return;
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(m_activeRow * m_columnCount + m_activeCol);
    QAccessible::updateAccessibility(&event);
}

void TOvcTable::announceSelection() {
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(this, QAccessible::SelectionWithin);
    QAccessible::updateAccessibility(&event);
}

void TOvcTable::setActiveRow(int row) {
    setActiveCell(row, m_activeCol);
}

int TOvcTable::fullyVisibleRows() const {
    return qMax(1, viewport()->height() / m_rowHeight);
}

int TOvcTable::maxTopRow() const {
    return qMax(0, m_rowLimit - 1);
}

void TOvcTable::setTopRow(int row) {
    verticalScrollBar()->setValue(qBound(0, row, maxTopRow())); // scrollContentsBy follows
}

void TOvcTable::scrollToRow(int row) {
    if (row < m_topRow)
        setTopRow(row);
    else if (row >= m_topRow + fullyVisibleRows())
        setTopRow(row - fullyVisibleRows() + 1);
}

void TOvcTable::updateScrollRange() {
    QScrollBar* bar = verticalScrollBar();
    bar->setSingleStep(1);
    bar->setPageStep(fullyVisibleRows());
    bar->setRange(0, maxTopRow()); // clamps the value, and so the top row
    if (bar->value() != m_topRow)
        scrollContentsBy(0, 0);
}

void TOvcTable::scrollContentsBy(int, int) {
    const int row = verticalScrollBar()->value();
    if (row == m_topRow)
        return;
    m_topRow = row;
    repaintCells();
    emit topRowChanged(row);
}

void TOvcTable::setAllowRedraw(bool allow) {
    if (allow == m_allowRedraw)
        return;
    m_allowRedraw = allow;
    // With updates disabled Qt drops every repaint request; enabling them again repaints once.
    viewport()->setUpdatesEnabled(allow);
}

void TOvcTable::repaintCells() {
    viewport()->update();
}

void TOvcTable::InvalidateTable() {
    repaintCells();
}

void TOvcTable::invalidateCell(int row, int col) {
    viewport()->update(cellRect(row, col));
}

void TOvcTable::setCellBitmapSupplier(CellBitmapSupplier supplier) {
    m_supplier = std::move(supplier);
    repaintCells();
}

void TOvcTable::setCellAlignment(Qt::Alignment alignment) {
    m_alignment = alignment;
    repaintCells();
}

void TOvcTable::setCellPalette(const QList<QRgb>& colors) {
    m_palette.setPalette(colors);
    m_pictures.clear();
    repaintCells();
}

QColor TOvcTable::cellColor(CellState state) const {
    switch (state) {
    case CellState::Active:
        return m_activeColor;
    case CellState::Selected:
        return m_selectedColor;
    case CellState::Normal:
        break;
    }
    return m_normalColor;
}

void TOvcTable::setCellColors(const QColor& normal, const QColor& active, const QColor& selected) {
    m_ownColors = true;
    m_normalColor = normal;
    m_activeColor = active;
    m_selectedColor = selected;
    repaintCells();
}

TOvcTable::CellState TOvcTable::cellState(int row, int col) const {
    const bool activeCell =
        row == m_activeRow && (col == m_activeCol || m_selectionMode == SelectionMode::WholeRows);
    if (activeCell && row < m_rowLimit)
        return CellState::Active;
    if (isCellSelected(row, col))
        return CellState::Selected;
    return CellState::Normal;
}

void TOvcTable::setCellSelectedTest(CellSelectedTest test) {
    m_selectedTest = std::move(test);
    repaintCells();
}

void TOvcTable::ownerSelectionChanged() {
    repaintCells();
    emit selectionChanged();
}
