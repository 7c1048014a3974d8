// SPDX-License-Identifier: MIT
#pragma once
// TOvcTable: a grid of fixed-size, read-only bitmap cells whose pictures the program supplies, with
// a vertical scroll bar that scrolls by whole rows, one active cell, an optional selection of cells or
// whole rows, and suspendable repainting. The folder grid and the show grid of the main window are two
// of these.

#include "ovc_table_cell.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QString>
#include <functional>
#include <set>
#include <utility>

// A grid position; row or col is -1 where a point lies outside the rows or columns.
struct TOvcCell {
    int row = -1;
    int col = -1;
    bool isValid() const { return row >= 0 && col >= 0; }
    friend bool operator==(const TOvcCell&, const TOvcCell&) = default;
};

class QPainter;

class TOvcTable : public QAbstractScrollArea {
    Q_OBJECT
  public:
    // The bitmap of a cell, or null when the cell has no data (it then shows only its background).
    // The grid copies what it needs before painting, so the supplier may do slow work.
    using CellBitmapSupplier = std::function<const QImage*(int row, int col)>;
    // Told the rows, in order, whose bitmaps a paint is about to fetch, so that it may start on
    // them all at once.
    using RowsAboutToBeFetched = std::function<void(const QList<int>& rows)>;
    // What a screen reader says of a cell: its name and a longer description.
    struct CellText {
        QString name;
        QString description;
    };
    using CellTextSupplier = std::function<CellText(int row, int col)>;
    // Draws over a cell's bitmap (marks of what the cell holds); called while painting, so it may
    // not process events.
    using CellOverlay = std::function<void(QPainter& painter, const QRect& cell, int row, int col)>;

    enum class SelectionMode {
        NoSelection, // one active cell, nothing selected (the show grid)
        WholeRows,   // one or several whole rows (the folder grid)
        Cells,       // any set of cells
    };
    enum class CellState { Normal, Active, Selected };
    // Whether a cell is drawn as selected, for a grid whose owner keeps the selection itself.
    using CellSelectedTest = std::function<bool(int row, int col)>;

    explicit TOvcTable(QWidget* parent = nullptr);

    // Layout: all columns equally wide, all rows equally high.
    int ColumnCount() const { return m_columnCount; }
    void setColumnCount(int count);
    int ColumnWidth() const { return m_columnWidth; }
    void setColumnWidth(int width);
    int RowHeight() const { return m_rowHeight; }
    void setRowHeight(int height);
    int RowLimit() const { return m_rowLimit; }
    void setRowLimit(int rows);

    // The active cell; it stays inside the grid (row 0 when the grid has no rows).
    int ActiveRow() const { return m_activeRow; }
    int ActiveCol() const { return m_activeCol; }
    void setActiveCell(int row, int col); // also scrolls the cell into view
    void setActiveRow(int row);           // keeps the active column

    // The first row shown, 0 to RowLimit() - 1: the grid scrolls until its last row is the top row, so the
    // drags' auto-scroll can bring any row to the top.
    int TopRow() const { return m_topRow; }
    void setTopRow(int row);
    int maxTopRow() const;
    int fullyVisibleRows() const;

    // While false nothing is painted; setting it back to true repaints once.
    bool AllowRedraw() const { return m_allowRedraw; }
    void setAllowRedraw(bool allow);
    void InvalidateTable(); // repaint every cell (their bitmaps may have changed)
    // A line drawn across the middle of the grid, over its cells, such as how to fill an empty grid;
    // none when empty.
    QString emptyText() const { return m_emptyText; }
    void setEmptyText(const QString& text);
    void invalidateCell(int row, int col);

    void setCellBitmapSupplier(CellBitmapSupplier supplier);
    void setRowsAboutToBeFetched(RowsAboutToBeFetched announce) { m_announceRows = std::move(announce); }
    void setCellTextSupplier(CellTextSupplier supplier) { m_textSupplier = std::move(supplier); }
    void setCellOverlay(CellOverlay overlay) { m_overlay = std::move(overlay); }
    // The cell's text for a screen reader; a cell without a supplier or a text is named "Empty".
    CellText cellText(int row, int col) const;

    // Placement of a bitmap inside its cell: centred by default; Left/Right/Top/Bottom put it at the margin.
    Qt::Alignment cellAlignment() const { return m_alignment; }
    void setCellAlignment(Qt::Alignment alignment);

    // Colours the cells are drawn with; empty = the bitmaps' own colours.
    QList<QRgb> cellPalette() const { return m_palette.palette(); }
    void setCellPalette(const QList<QRgb>& colors);

    // Background of the cells in each state (normal is also the colour of the area without cells).
    QColor cellColor(CellState state) const;
    void setCellColors(const QColor& normal, const QColor& active, const QColor& selected);
    CellState cellState(int row, int col) const;
    // In place of the grid's own selection, for drawing the cells and for what the selection
    // functions below and a screen reader report; empty: the grid's own.
    void setCellSelectedTest(CellSelectedTest test);
    // The selection that test reports changed: the cells are drawn again and selectionChanged() is
    // emitted.
    void ownerSelectionChanged();

    // Selection. In WholeRows mode selecting any cell of a row selects the whole row.
    SelectionMode selectionMode() const { return m_selectionMode; }
    void setSelectionMode(SelectionMode mode);
    void selectCell(int row, int col, bool selected = true);
    void deselectCell(int row, int col) { selectCell(row, col, false); }
    void selectRow(int row, bool selected = true);
    void selectAll();
    void clearSelection();
    bool isCellSelected(int row, int col) const;
    bool isRowSelected(int row) const;
    bool hasSelection() const { return m_selectedTest ? !selectedCells().isEmpty() : !m_selected.empty(); }
    QList<TOvcCell> selectedCells() const; // in row order, then column order
    QList<int> selectedRows() const;       // rows with at least one selected cell, ascending

    // Geometry in viewport coordinates (the widget's own when it has no frame).
    TOvcCell cellAt(const QPoint& pos) const;
    QRect cellRect(int row, int col) const;

  signals:
    void activeCellChanged(int row, int col);
    void topRowChanged(int row);
    void selectionChanged();
    void cellClicked(int row, int col);       // left press on a cell, after it became active
    void cellDoubleClicked(int row, int col); // left double-click on a cell, after it became active
    void cellRightClicked(int row, int col, const QPoint& globalPos);
    // Every press, move and release of the viewport, in viewport coordinates, after the grid's own
    // handling. Moves arrive while a button is held, also outside the grid (the press captures the mouse).
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint& pos,
                   bool doubleClick);
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, const QPoint& pos);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint& pos);
    void keyUp(int key, Qt::KeyboardModifiers modifiers);
    // The keyboard's commands on the active cell: Enter opens it; the Menu key or Shift+F10 asks for
    // its context menu; Ctrl or Alt with an arrow asks to move what the cell holds to the cell that
    // arrow leads to (sent only while something listens, otherwise the arrow moves the active cell).
    void cellActivated(int row, int col);
    void contextMenuKeyPressed(int row, int col);
    void moveCellRequested(int fromRow, int fromCol, int toRow, int toCol);
    // The wheel turned with Ctrl held: `steps` notches away from the user (negative: towards), for
    // larger or smaller cells; while something listens the grid does not scroll then.
    void zoomRequested(int steps);
    void entered(); // the grid took the focus
    void exited();  // the grid lost the focus

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    QSize viewportSizeHint() const override;

  private:
    void updateScrollRange();
    void repaintCells();
    void scrollToRow(int row);
    void moveActiveCell(int row, int col, Qt::KeyboardModifiers modifiers);
    // Enter, the context menu keys and the move keys; false for any other key.
    bool commandKey(const QKeyEvent& event);
    bool moveKey(const QKeyEvent& event);
    // The mark around the active cell while the grid has the focus.
    void paintFocusMark(QPainter& painter) const;
    void announceActiveCell();
    // A screen reader hears of every change of the selection.
    void announceSelection();
    // The cells' colours from the palette, unless setCellColors chose them.
    void takePaletteColors();
    void selectOnClick(const TOvcCell& cell, Qt::KeyboardModifiers modifiers);
    // At the left button's release: what the press left to a click that is no drag.
    void finishClick();
    void selectRange(int fromRow, int toRow);
    void dropSelectionOutside();
    std::pair<int, int> selectionKey(int row, int col) const;

    int m_columnCount = 1;
    int m_columnWidth = 76;
    int m_rowHeight = 72;
    int m_rowLimit = 0;
    int m_activeRow = 0;
    int m_activeCol = 0;
    int m_anchorRow = 0; // where a Shift range starts
    int m_anchorCol = 0;
    int m_topRow = 0;
    bool m_allowRedraw = true;
    bool m_painting = false;
    Qt::Alignment m_alignment = Qt::AlignCenter;
    OvcPaletteMap m_palette;
    OvcCellPictures m_pictures;
    QColor m_normalColor = Qt::white;
    QColor m_activeColor;
    QColor m_selectedColor;
    bool m_ownColors = false; // set by setCellColors
    SelectionMode m_selectionMode = SelectionMode::NoSelection;
    std::set<std::pair<int, int>> m_selected;
    // What a press on a selected row or cell does at the release, unless the pointer moved on as a drag.
    enum class PendingRelease { None, ClearSelection, Deselect };
    PendingRelease m_pendingRelease = PendingRelease::None;
    QPoint m_pressPos;
    bool m_dragged = false;
    CellBitmapSupplier m_supplier;
    CellSelectedTest m_selectedTest;
    RowsAboutToBeFetched m_announceRows;
    CellTextSupplier m_textSupplier;
    CellOverlay m_overlay;
    QString m_emptyText;
    int m_zoomDelta = 0; // eighths of a degree of Ctrl+wheel turn not yet a whole notch
};
