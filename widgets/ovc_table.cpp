// SPDX-License-Identifier: MIT
#include "ovc_table.h"

#include "ovc_table_accessible.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <optional>

namespace {
// The rows and columns an arrow key moves by; nothing for any other key.
std::optional<TOvcCell> arrowStep(int key) {
    switch (key) {
    case Qt::Key_Up:
        return TOvcCell{-1, 0};
    case Qt::Key_Down:
        return TOvcCell{1, 0};
    case Qt::Key_Left:
        return TOvcCell{0, -1};
    case Qt::Key_Right:
        return TOvcCell{0, 1};
    default:
        return std::nullopt;
    }
}
} // namespace

TOvcTable::TOvcTable(QWidget* parent) : QAbstractScrollArea(parent) {
    setFrameShape(QFrame::NoFrame); // viewport coordinates are then the grid's own
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    verticalScrollBar()->setTracking(true);
    viewport()->setAutoFillBackground(false);
    takePaletteColors();
    updateScrollRange();
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
    if (m_selectedTest ? m_selectedTest(row, col) : isCellSelected(row, col))
        return CellState::Selected;
    return CellState::Normal;
}

void TOvcTable::setCellSelectedTest(CellSelectedTest test) {
    m_selectedTest = std::move(test);
    repaintCells();
}

// ---- selection ----

void TOvcTable::setSelectionMode(SelectionMode mode) {
    m_selectionMode = mode;
    clearSelection();
    repaintCells();
}

std::pair<int, int> TOvcTable::selectionKey(int row, int col) const {
    return {row, m_selectionMode == SelectionMode::WholeRows ? 0 : col};
}

void TOvcTable::selectCell(int row, int col, bool selected) {
    if (m_selectionMode == SelectionMode::NoSelection || row < 0 || row >= m_rowLimit || col < 0 ||
        col >= m_columnCount)
        return;
    const auto key = selectionKey(row, col);
    const bool changed = selected ? m_selected.insert(key).second : m_selected.erase(key) > 0;
    if (changed) {
        repaintCells();
        emit selectionChanged();
    }
}

void TOvcTable::selectRow(int row, bool selected) {
    for (int col = 0; col < (m_selectionMode == SelectionMode::WholeRows ? 1 : m_columnCount); ++col)
        selectCell(row, col, selected);
}

void TOvcTable::selectAll() {
    if (m_selectionMode == SelectionMode::NoSelection)
        return;
    const std::size_t before = m_selected.size();
    for (int row = 0; row < m_rowLimit; ++row)
        for (int col = 0; col < (m_selectionMode == SelectionMode::WholeRows ? 1 : m_columnCount); ++col)
            m_selected.insert({row, col});
    if (m_selected.size() != before) {
        repaintCells();
        emit selectionChanged();
    }
}

void TOvcTable::clearSelection() {
    if (m_selected.empty())
        return;
    m_selected.clear();
    repaintCells();
    emit selectionChanged();
}

bool TOvcTable::isCellSelected(int row, int col) const {
    if (col < 0 || col >= m_columnCount)
        return false;
    return m_selected.count(selectionKey(row, col)) > 0;
}

bool TOvcTable::isRowSelected(int row) const {
    const auto first = m_selected.lower_bound({row, 0});
    return first != m_selected.end() && first->first == row;
}

QList<TOvcCell> TOvcTable::selectedCells() const {
    QList<TOvcCell> cells;
    for (const auto& [row, col] : m_selected) {
        if (m_selectionMode == SelectionMode::WholeRows) {
            for (int c = 0; c < m_columnCount; ++c)
                cells.append({row, c});
        } else {
            cells.append({row, col});
        }
    }
    return cells;
}

QList<int> TOvcTable::selectedRows() const {
    QList<int> rows;
    for (const auto& entry : m_selected)
        if (rows.isEmpty() || rows.last() != entry.first)
            rows.append(entry.first);
    return rows;
}

void TOvcTable::dropSelectionOutside() {
    const std::size_t before = m_selected.size();
    std::erase_if(m_selected,
                  [this](const auto& key) { return key.first >= m_rowLimit || key.second >= m_columnCount; });
    if (m_selected.size() != before)
        emit selectionChanged();
}

// Selects the rows (or, in Cells mode, the rectangle of cells) between the anchor and the active cell.
void TOvcTable::selectRange(int fromRow, int toRow) {
    const std::set<std::pair<int, int>> before = m_selected;
    m_selected.clear();
    const int firstCol = m_selectionMode == SelectionMode::Cells ? qMin(m_anchorCol, m_activeCol) : 0;
    const int lastCol = m_selectionMode == SelectionMode::Cells ? qMax(m_anchorCol, m_activeCol) : 0;
    for (int row = qMin(fromRow, toRow); row <= qMax(fromRow, toRow); ++row)
        for (int col = firstCol; col <= lastCol; ++col)
            m_selected.insert({row, col});
    if (m_selected != before) {
        repaintCells();
        emit selectionChanged();
    }
}

// Plain press: only the active cell; Ctrl: toggle one more row or cell; Shift: the range from the anchor.
// A press on a selected row or cell may start a drag of the whole selection: what would take
// something out of the selection waits for the release, and is done only when no drag happened.
void TOvcTable::selectOnClick(const TOvcCell& cell, Qt::KeyboardModifiers modifiers) {
    m_pendingRelease = PendingRelease::None;
    if (m_selectionMode == SelectionMode::NoSelection) {
        setActiveCell(cell.row, cell.col);
        return;
    }
    if (modifiers & Qt::ShiftModifier) {
        const int anchorRow = m_anchorRow;
        const int anchorCol = m_anchorCol;
        setActiveCell(cell.row, cell.col);
        m_anchorRow = anchorRow;
        m_anchorCol = anchorCol;
        selectRange(m_anchorRow, cell.row);
        return;
    }
    if (modifiers & Qt::ControlModifier) {
        if (m_selected.empty())
            selectCell(m_activeRow, m_activeCol);
        const bool selected = isCellSelected(cell.row, cell.col);
        setActiveCell(cell.row, cell.col);
        if (selected)
            m_pendingRelease = PendingRelease::Deselect;
        else
            selectCell(cell.row, cell.col);
        return;
    }
    if (isCellSelected(cell.row, cell.col)) {
        m_pendingRelease = PendingRelease::ClearSelection;
    } else {
        clearSelection();
    }
    setActiveCell(cell.row, cell.col);
}

void TOvcTable::finishClick() {
    const PendingRelease pending = std::exchange(m_pendingRelease, PendingRelease::None);
    if (m_dragged || pending == PendingRelease::None)
        return;
    if (pending == PendingRelease::Deselect)
        deselectCell(m_activeRow, m_activeCol);
    else
        clearSelection();
}

// ---- geometry ----

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

    QPainter painter(viewport());
    painter.fillRect(area, m_normalColor);
    for (const CellToPaint& cell : cells)
        ovcPaintBitmapCell(painter, cell.rect, cell.bitmap, cell.background, m_alignment, &m_palette);
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

// ---- mouse and keys ----

void TOvcTable::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const TOvcCell cell = cellAt(pos);
    if (event->button() == Qt::LeftButton) {
        setFocus(Qt::MouseFocusReason);
        m_pressPos = pos;
        m_dragged = false;
        if (cell.isValid()) {
            selectOnClick(cell, event->modifiers());
            emit cellClicked(cell.row, cell.col);
        }
    } else if (event->button() == Qt::RightButton && cell.isValid()) {
        emit cellRightClicked(cell.row, cell.col, event->globalPosition().toPoint());
    }
    emit mouseDown(event->button(), event->modifiers(), pos, false);
}

void TOvcTable::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const TOvcCell cell = cellAt(pos);
    if (event->button() == Qt::LeftButton && cell.isValid()) {
        setFocus(Qt::MouseFocusReason);
        setActiveCell(cell.row, cell.col);
        emit cellDoubleClicked(cell.row, cell.col);
    }
    emit mouseDown(event->button(), event->modifiers(), pos, true);
}

void TOvcTable::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if ((event->buttons() & Qt::LeftButton) &&
        (pos - m_pressPos).manhattanLength() >= QApplication::startDragDistance())
        m_dragged = true;
    emit mouseMove(event->buttons(), event->modifiers(), pos);
}

void TOvcTable::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        finishClick();
    emit mouseUp(event->button(), event->modifiers(), event->position().toPoint());
}

void TOvcTable::moveActiveCell(int row, int col, Qt::KeyboardModifiers modifiers) {
    row = qBound(0, row, qMax(0, m_rowLimit - 1));
    col = qBound(0, col, m_columnCount - 1);
    if (m_selectionMode != SelectionMode::NoSelection && (modifiers & Qt::ShiftModifier)) {
        const int anchorRow = m_anchorRow;
        const int anchorCol = m_anchorCol;
        setActiveCell(row, col);
        m_anchorRow = anchorRow;
        m_anchorCol = anchorCol;
        selectRange(m_anchorRow, row);
        return;
    }
    clearSelection();
    setActiveCell(row, col);
}

bool TOvcTable::commandKey(const QKeyEvent& event) {
    const int key = event.key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (m_rowLimit > 0)
            emit cellActivated(m_activeRow, m_activeCol);
        return true;
    }
    if (key == Qt::Key_Menu || (key == Qt::Key_F10 && event.modifiers() == Qt::ShiftModifier)) {
        emit contextMenuKeyPressed(m_activeRow, m_activeCol);
        return true;
    }
    return moveKey(event);
}

bool TOvcTable::moveKey(const QKeyEvent& event) {
    const Qt::KeyboardModifiers mods = event.modifiers() & ~Qt::KeypadModifier;
    if ((mods != Qt::ControlModifier && mods != Qt::AltModifier) || m_rowLimit == 0 ||
        !isSignalConnected(QMetaMethod::fromSignal(&TOvcTable::moveCellRequested)))
        return false;
    const std::optional<TOvcCell> step = arrowStep(event.key());
    if (!step)
        return false;
    const int row = qBound(0, m_activeRow + step->row, m_rowLimit - 1);
    const int col = qBound(0, m_activeCol + step->col, m_columnCount - 1);
    if (row != m_activeRow || col != m_activeCol)
        emit moveCellRequested(m_activeRow, m_activeCol, row, col);
    return true;
}

void TOvcTable::keyPressEvent(QKeyEvent* event) {
    if (commandKey(*event)) {
        event->accept();
        return;
    }
    if (m_rowLimit == 0) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool control = mods & Qt::ControlModifier;
    const int page = fullyVisibleRows();
    int row = m_activeRow;
    int col = m_activeCol;
    if (const std::optional<TOvcCell> step = arrowStep(event->key())) {
        moveActiveCell(row + step->row, col + step->col, mods);
        event->accept();
        return;
    }
    switch (event->key()) {
    case Qt::Key_PageUp:
        row -= page;
        setTopRow(m_topRow - page);
        break;
    case Qt::Key_PageDown:
        row += page;
        setTopRow(m_topRow + page);
        break;
    case Qt::Key_Home:
        col = 0;
        if (control)
            row = 0;
        break;
    case Qt::Key_End:
        col = m_columnCount - 1;
        if (control)
            row = m_rowLimit - 1;
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    moveActiveCell(row, col, mods);
    event->accept();
}

void TOvcTable::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier) ||
        !isSignalConnected(QMetaMethod::fromSignal(&TOvcTable::zoomRequested))) {
        m_zoomDelta = 0;
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    // A notch is 120 eighths of a degree; fine-grained wheels and touch pads add up to one.
    m_zoomDelta += event->angleDelta().y();
    const int steps = m_zoomDelta / QWheelEvent::DefaultDeltasPerStep;
    m_zoomDelta -= steps * QWheelEvent::DefaultDeltasPerStep;
    if (steps != 0)
        emit zoomRequested(steps);
    event->accept();
}

void TOvcTable::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat()) {
        event->ignore();
        return;
    }
    emit keyUp(event->key(), event->modifiers());
    event->accept();
}

void TOvcTable::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    invalidateCell(m_activeRow, m_activeCol);
    announceActiveCell();
    emit entered();
}

void TOvcTable::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    invalidateCell(m_activeRow, m_activeCol);
    emit exited();
}
