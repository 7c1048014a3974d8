// SPDX-License-Identifier: MIT
#pragma once
// What a screen reader sees of a TOvcTable: a table of cells, one per grid position, each named and
// described by the grid's cell text supplier, with the active cell as the focused one.

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

class TOvcTable;

class OvcTableAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
  public:
    explicit OvcTableAccessible(TOvcTable* table);
    ~OvcTableAccessible() override;

    // The factory QAccessible asks for the interface of every object: answers for the grids.
    static QAccessibleInterface* create(const QString& className, QObject* object);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override;
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int) override { return false; }
    bool unselectRow(int row) override;
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

    // Beside taking the focus, a screen reader opens the grid's context menu for its active cell,
    // as the Menu key does.
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

  private:
    TOvcTable* grid() const;
    // Interfaces of cells live in QAccessible's cache; this one remembers their ids by cell index.
    mutable QHash<int, QAccessible::Id> cells_;
};

// One cell of the grid; valid while the grid has that cell.
class OvcCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
  public:
    OvcCellAccessible(TOvcTable* table, int row, int column);

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    bool isSelected() const override;
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

  private:
    QPointer<TOvcTable> table_;
    int row_;
    int column_;
};
