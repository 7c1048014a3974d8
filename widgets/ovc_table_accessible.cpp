// SPDX-License-Identifier: MIT
#include "ovc_table_accessible.h"

#include "ovc_table.h"

#include <QWidget>
#include <QWindow>

OvcTableAccessible::OvcTableAccessible(TOvcTable* table) : QAccessibleWidget(table, QAccessible::Table) {}

OvcTableAccessible::~OvcTableAccessible() {
    for (QAccessible::Id id : std::as_const(cells_))
        QAccessible::deleteAccessibleInterface(id);
}

QAccessibleInterface* OvcTableAccessible::create(const QString&, QObject* object) {
    if (auto* table = qobject_cast<TOvcTable*>(object))
        return new OvcTableAccessible(table);
    return nullptr;
}

TOvcTable* OvcTableAccessible::grid() const {
    return static_cast<TOvcTable*>(widget());
}

void* OvcTableAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QStringList OvcTableAccessible::actionNames() const {
    QStringList names = QAccessibleWidget::actionNames();
    if (grid()->isEnabled())
        names << showMenuAction();
    return names;
}

void OvcTableAccessible::doAction(const QString& actionName) {
    if (actionName == showMenuAction() && grid()->isEnabled())
        emit grid()->contextMenuKeyPressed(grid()->ActiveRow(), grid()->ActiveCol());
    else
        QAccessibleWidget::doAction(actionName);
}

int OvcTableAccessible::rowCount() const {
    return grid()->RowLimit();
}

int OvcTableAccessible::columnCount() const {
    return grid()->ColumnCount();
}

int OvcTableAccessible::childCount() const {
    return rowCount() * columnCount();
}

QAccessibleInterface* OvcTableAccessible::cellAt(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return nullptr;
    const int index = row * columnCount() + column;
    if (const auto known = cells_.constFind(index); known != cells_.cend()) {
        auto* cell = static_cast<OvcCellAccessible*>(QAccessible::accessibleInterface(*known));
        if (cell->rowIndex() == row && cell->columnIndex() == column)
            return cell;
        QAccessible::deleteAccessibleInterface(*known); // the grid has another number of columns
    }
    auto* cell = new OvcCellAccessible(grid(), row, column);
    cells_.insert(index, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

QAccessibleInterface* OvcTableAccessible::child(int index) const {
    const int columns = columnCount();
    return index < 0 ? nullptr : cellAt(index / columns, index % columns);
}

int OvcTableAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (!child || child->parent() != this || child->role() != QAccessible::Cell)
        return -1;
    const auto* cell = static_cast<const OvcCellAccessible*>(child);
    return cell->rowIndex() * columnCount() + cell->columnIndex();
}

QAccessibleInterface* OvcTableAccessible::childAt(int x, int y) const {
    const TOvcCell cell = grid()->cellAt(grid()->viewport()->mapFromGlobal(QPoint(x, y)));
    return cell.isValid() ? cellAt(cell.row, cell.col) : nullptr;
}

QAccessibleInterface* OvcTableAccessible::focusChild() const {
    if (!grid()->hasFocus())
        return nullptr;
    return cellAt(grid()->ActiveRow(), grid()->ActiveCol());
}

int OvcTableAccessible::selectedCellCount() const {
    return int(grid()->selectedCells().size());
}

QList<QAccessibleInterface*> OvcTableAccessible::selectedCells() const {
    QList<QAccessibleInterface*> cells;
    for (const TOvcCell& cell : grid()->selectedCells())
        cells.append(cellAt(cell.row, cell.col));
    return cells;
}

int OvcTableAccessible::selectedRowCount() const {
    return int(grid()->selectedRows().size());
}

QList<int> OvcTableAccessible::selectedRows() const {
    return grid()->selectedRows();
}

bool OvcTableAccessible::isRowSelected(int row) const {
    return grid()->isRowSelected(row);
}

bool OvcTableAccessible::selectRow(int row) {
    grid()->selectRow(row);
    return grid()->isRowSelected(row);
}

bool OvcTableAccessible::unselectRow(int row) {
    grid()->selectRow(row, false);
    return !grid()->isRowSelected(row);
}

// ---- cells ----

OvcCellAccessible::OvcCellAccessible(TOvcTable* table, int row, int column)
    : table_(table), row_(row), column_(column) {}

bool OvcCellAccessible::isValid() const {
    return table_ && row_ < table_->RowLimit() && column_ < table_->ColumnCount();
}

QWindow* OvcCellAccessible::window() const {
    return table_ ? table_->window()->windowHandle() : nullptr;
}

QAccessibleInterface* OvcCellAccessible::parent() const {
    return table_ ? QAccessible::queryAccessibleInterface(table_.data()) : nullptr;
}

QString OvcCellAccessible::text(QAccessible::Text t) const {
    if (!isValid())
        return {};
    const TOvcTable::CellText text = table_->cellText(row_, column_);
    switch (t) {
    case QAccessible::Name:
        return text.name;
    case QAccessible::Description:
        return text.description;
    default:
        return {};
    }
}

QRect OvcCellAccessible::rect() const {
    if (!isValid())
        return {};
    const QRect cell = table_->cellRect(row_, column_);
    return QRect(table_->viewport()->mapToGlobal(cell.topLeft()), cell.size());
}

QAccessible::State OvcCellAccessible::state() const {
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    state.focusable = true;
    state.selectable = true;
    const bool active = row_ == table_->ActiveRow() && column_ == table_->ActiveCol();
    state.focused = active && table_->hasFocus();
    state.active = active;
    state.selected = isSelected();
    const QRect cell = table_->cellRect(row_, column_);
    state.invisible = !table_->viewport()->rect().intersects(cell);
    state.offscreen = state.invisible;
    return state;
}

void* OvcCellAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableCellInterface)
        return static_cast<QAccessibleTableCellInterface*>(this);
    return nullptr;
}

bool OvcCellAccessible::isSelected() const {
    return isValid() && table_->isCellSelected(row_, column_);
}
