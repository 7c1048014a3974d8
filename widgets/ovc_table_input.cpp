// SPDX-License-Identifier: MIT
// The grid's mouse, keys, wheel and focus.
#include "ovc_table.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
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
