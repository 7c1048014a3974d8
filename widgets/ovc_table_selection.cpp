// SPDX-License-Identifier: MIT
// The grid's selection of cells or whole rows, and how clicks change it.
#include "ovc_table.h"

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
    if (m_selectedTest)
        return row >= 0 && row < m_rowLimit && m_selectedTest(row, col);
    return m_selected.count(selectionKey(row, col)) > 0;
}

bool TOvcTable::isRowSelected(int row) const {
    if (m_selectedTest) {
        for (int col = 0; col < m_columnCount; ++col)
            if (isCellSelected(row, col))
                return true;
        return false;
    }
    const auto first = m_selected.lower_bound({row, 0});
    return first != m_selected.end() && first->first == row;
}

QList<TOvcCell> TOvcTable::selectedCells() const {
    QList<TOvcCell> cells;
    if (m_selectedTest) {
        for (int row = 0; row < m_rowLimit; ++row)
            for (int col = 0; col < m_columnCount; ++col)
                if (m_selectedTest(row, col))
                    cells.append({row, col});
        return cells;
    }
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
    if (m_selectedTest) {
        for (const TOvcCell& cell : selectedCells())
            if (rows.isEmpty() || rows.last() != cell.row)
                rows.append(cell.row);
        return rows;
    }
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
