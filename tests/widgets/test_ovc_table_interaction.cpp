// SPDX-License-Identifier: MIT
// The bitmap grid's rows, scrolling, active cell, keys, mouse, selection and suspended repainting.

#include "condition_wait.h"
#include "test_ovc_table_support.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QSignalSpy>
#include <gmock/gmock.h>

#include <set>

using testing::ElementsAre;

namespace {

class OvcTable : public testing::Test {
  protected:
    static void SetUpTestSuite() { ensureApplication(); }
};

struct RangeCase {
    int rows;
    int maxTopRow;
};

class OvcTableScrollRange : public OvcTable, public testing::WithParamInterface<RangeCase> {};

TEST_P(OvcTableScrollRange, ScrollsUntilTheLastRowIsTheTopRow) {
    auto grid = makeShowGrid(GetParam().rows);
    EXPECT_EQ(grid->RowLimit(), GetParam().rows);
    EXPECT_EQ(grid->fullyVisibleRows(), 4);
    EXPECT_EQ(grid->verticalScrollBar()->minimum(), 0);
    EXPECT_EQ(grid->verticalScrollBar()->maximum(), GetParam().maxTopRow);
    EXPECT_EQ(grid->verticalScrollBar()->pageStep(), 4);
    grid->setTopRow(1000);
    EXPECT_EQ(grid->TopRow(), GetParam().maxTopRow);
    grid->setTopRow(-3);
    EXPECT_EQ(grid->TopRow(), 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, OvcTableScrollRange,
                         testing::Values(RangeCase{0, 0}, RangeCase{1, 0}, RangeCase{4, 3}, RangeCase{5, 4},
                                         RangeCase{100, 99}));

TEST_F(OvcTable, TopRowFollowsTheScrollBarAndMovesThePicture) {
    auto grid = makeShowGrid(10);
    QImage rowImages[10];
    for (int row = 0; row < 10; ++row)
        rowImages[row] = filled(60, 60, QColor(row * 20, 0, 0));
    grid->setCellBitmapSupplier([&](int row, int) { return &rowImages[row]; });
    QSignalSpy topRowChanged(grid.get(), &TOvcTable::topRowChanged);

    grid->verticalScrollBar()->setValue(3);
    EXPECT_EQ(grid->TopRow(), 3);
    grid->setTopRow(5);
    EXPECT_EQ(grid->TopRow(), 5);
    ASSERT_EQ(topRowChanged.count(), 2);
    EXPECT_EQ(topRowChanged.at(1).at(0).toInt(), 5);
    EXPECT_EQ(grid->verticalScrollBar()->value(), 5);

    const QImage shot = grid->viewport()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(grid->cellRect(5, 1).center()), QColor(100, 0, 0));
    EXPECT_EQ(grid->cellRect(5, 1).topLeft(), QPoint(76, 0));
    EXPECT_EQ(grid->cellAt(QPoint(80, 75)), (TOvcCell{6, 1}));
}

TEST_F(OvcTable, FewerRowsPullTheActiveCellTopRowAndSelectionBack) {
    auto grid = makeShowGrid(20);
    grid->setSelectionMode(TOvcTable::SelectionMode::WholeRows);
    grid->setActiveCell(15, 3);
    grid->selectRow(2);
    grid->selectRow(12);
    EXPECT_EQ(grid->TopRow(), 12);
    QSignalSpy activeChanged(grid.get(), &TOvcTable::activeCellChanged);
    grid->setRowLimit(6);
    EXPECT_EQ(grid->ActiveRow(), 5);
    EXPECT_EQ(grid->ActiveCol(), 3);
    EXPECT_EQ(grid->TopRow(), 5);
    EXPECT_EQ(activeChanged.count(), 1);
    EXPECT_THAT(grid->selectedRows(), ElementsAre(2));
    grid->setRowLimit(0);
    EXPECT_EQ(grid->ActiveRow(), 0);
    EXPECT_EQ(grid->TopRow(), 0);
    EXPECT_FALSE(grid->hasSelection());
}

struct CellAtCase {
    int topRow;
    QPoint pos;
    TOvcCell expected;
};

class OvcTableCellAt : public OvcTable, public testing::WithParamInterface<CellAtCase> {};

TEST_P(OvcTableCellAt, FindsTheCellUnderAPoint) {
    auto grid = makeShowGrid(6);
    grid->setTopRow(GetParam().topRow);
    const TOvcCell cell = grid->cellAt(GetParam().pos);
    EXPECT_EQ(cell, GetParam().expected) << cell.row << "," << cell.col;
}

INSTANTIATE_TEST_SUITE_P(Points, OvcTableCellAt,
                         testing::Values(CellAtCase{0, {0, 0}, {0, 0}}, CellAtCase{0, {75, 72}, {0, 0}},
                                         CellAtCase{0, {76, 73}, {1, 1}}, CellAtCase{0, {379, 219}, {3, 4}},
                                         CellAtCase{2, {10, 10}, {2, 0}}, CellAtCase{2, {10, 291}, {5, 0}},
                                         CellAtCase{0, {380, 10}, {0, -1}},   // right of the columns
                                         CellAtCase{0, {-1, 10}, {0, -1}},    // left of the grid
                                         CellAtCase{0, {10, -5}, {-1, 0}},    // above the grid
                                         CellAtCase{0, {10, 400}, {-1, 0}},   // below the grid
                                         CellAtCase{5, {10, 100}, {-1, 0}})); // below the last row

struct KeyCase {
    const char* name;
    int startRow, startCol;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int row, col;
};

class OvcTableKeys : public OvcTable, public testing::WithParamInterface<KeyCase> {};

TEST_P(OvcTableKeys, MoveTheActiveCellWithinTheGrid) {
    const KeyCase& c = GetParam();
    auto grid = makeShowGrid(10);
    grid->setActiveCell(c.startRow, c.startCol);
    QTest::keyClick(grid.get(), c.key, c.modifiers);
    EXPECT_EQ(grid->ActiveRow(), c.row);
    EXPECT_EQ(grid->ActiveCol(), c.col);
    EXPECT_GE(grid->ActiveRow(), grid->TopRow());
    EXPECT_LT(grid->ActiveRow(), grid->TopRow() + grid->fullyVisibleRows());
}

INSTANTIATE_TEST_SUITE_P(Keys, OvcTableKeys,
                         testing::Values(KeyCase{"Down", 0, 0, Qt::Key_Down, {}, 1, 0},
                                         KeyCase{"UpAtTop", 0, 2, Qt::Key_Up, {}, 0, 2},
                                         KeyCase{"DownAtBottom", 9, 1, Qt::Key_Down, {}, 9, 1},
                                         KeyCase{"RightAtEdge", 0, 4, Qt::Key_Right, {}, 0, 4},
                                         KeyCase{"Left", 3, 1, Qt::Key_Left, {}, 3, 0},
                                         KeyCase{"DownScrolls", 3, 0, Qt::Key_Down, {}, 4, 0},
                                         KeyCase{"PageDown", 0, 2, Qt::Key_PageDown, {}, 4, 2},
                                         KeyCase{"PageDownAtEnd", 8, 0, Qt::Key_PageDown, {}, 9, 0},
                                         KeyCase{"PageUp", 5, 1, Qt::Key_PageUp, {}, 1, 1},
                                         KeyCase{"Home", 3, 3, Qt::Key_Home, {}, 3, 0},
                                         KeyCase{"CtrlHome", 7, 3, Qt::Key_Home, Qt::ControlModifier, 0, 0},
                                         KeyCase{"End", 3, 1, Qt::Key_End, {}, 3, 4},
                                         KeyCase{"CtrlEnd", 0, 0, Qt::Key_End, Qt::ControlModifier, 9, 4}),
                         [](const testing::TestParamInfo<KeyCase>& info) { return info.param.name; });

TEST_F(OvcTable, ActiveCellChangesAreSignalledAndScrolledIntoView) {
    auto grid = makeShowGrid(10);
    QSignalSpy activeChanged(grid.get(), &TOvcTable::activeCellChanged);
    grid->setActiveCell(8, 2);
    EXPECT_EQ(grid->TopRow(), 5);
    grid->setActiveCell(8, 2); // no change, no signal
    grid->setActiveCell(1, 9); // the column is held inside the grid
    EXPECT_EQ(grid->TopRow(), 1);
    ASSERT_EQ(activeChanged.count(), 2);
    EXPECT_EQ(activeChanged.at(1), (QList<QVariant>{1, 4}));
    grid->setTopRow(0); // scrolling alone leaves the active cell
    EXPECT_EQ(grid->ActiveRow(), 1);
}

TEST_F(OvcTable, PressesAndDoubleClicksActivateTheCellAndAreReported) {
    auto grid = makeShowGrid(3);
    QWidget* viewport = grid->viewport();
    QSignalSpy clicked(grid.get(), &TOvcTable::cellClicked);
    QSignalSpy doubleClicked(grid.get(), &TOvcTable::cellDoubleClicked);
    QSignalSpy rightClicked(grid.get(), &TOvcTable::cellRightClicked);
    QSignalSpy down(grid.get(), &TOvcTable::mouseDown);

    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(2 * 76 + 10, 73 + 10));
    EXPECT_EQ(grid->ActiveRow(), 1);
    EXPECT_EQ(grid->ActiveCol(), 2);
    EXPECT_TRUE(grid->hasFocus());
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0), (QList<QVariant>{1, 2}));

    QTest::mouseDClick(viewport, Qt::LeftButton, {}, QPoint(3 * 76 + 5, 5));
    EXPECT_EQ(grid->ActiveRow(), 0);
    EXPECT_EQ(grid->ActiveCol(), 3);
    ASSERT_EQ(doubleClicked.count(), 1);
    EXPECT_EQ(doubleClicked.at(0), (QList<QVariant>{0, 3}));
    ASSERT_GE(down.count(), 2);
    EXPECT_TRUE(down.last().at(3).toBool()); // the last press was the double-click

    QTest::mouseClick(viewport, Qt::RightButton, {}, QPoint(10, 2 * 73 + 10));
    EXPECT_EQ(rightClicked.count(), 1);
    EXPECT_EQ(grid->ActiveRow(), 0); // the right button leaves the active cell

    const int clicksBefore = clicked.count();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(10, 3 * 73 + 10)); // below the last row
    EXPECT_EQ(clicked.count(), clicksBefore);
    EXPECT_EQ(grid->ActiveRow(), 0);
    EXPECT_EQ(down.last().at(2).toPoint(), QPoint(10, 3 * 73 + 10));
}

TEST_F(OvcTable, ContextMenuRequestsReachTheGridsOwner) {
    auto grid = makeShowGrid(3);
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    QSignalSpy requested(grid.get(), &TOvcTable::customContextMenuRequested);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 30),
                            grid->viewport()->mapToGlobal(QPoint(20, 30)));
    QCoreApplication::sendEvent(grid->viewport(), &event);
    ASSERT_EQ(requested.count(), 1);
    EXPECT_EQ(requested.at(0).at(0).toPoint(), QPoint(20, 30));
}

// Enter, the context menu keys (and a screen reader's "show menu") and Ctrl or Alt with an arrow are the
// owner's commands on the active cell; without anyone to move cells, Ctrl with an arrow moves the active cell
// as the arrow alone.
TEST_F(OvcTable, CommandKeysReachTheGridsOwner) {
    auto grid = makeShowGrid(3);
    grid->setActiveCell(1, 2);
    QSignalSpy activated(grid.get(), &TOvcTable::cellActivated);
    QSignalSpy menu(grid.get(), &TOvcTable::contextMenuKeyPressed);
    QTest::keyClick(grid.get(), Qt::Key_Return);
    QTest::keyClick(grid.get(), Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(grid.get(), Qt::Key_Menu);
    QTest::keyClick(grid.get(), Qt::Key_F10, Qt::ShiftModifier);
    QTest::keyClick(grid.get(), Qt::Key_F10); // F10 alone is the menu bar's
    // A screen reader's "show menu" on the grid.
    QAccessibleActionInterface* actions =
        QAccessible::queryAccessibleInterface(grid.get())->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::showMenuAction()));
    actions->doAction(QAccessibleActionInterface::showMenuAction());
    EXPECT_EQ(activated.count(), 2);
    EXPECT_EQ(activated.last(), (QList<QVariant>{1, 2}));
    EXPECT_EQ(menu.count(), 3);
    EXPECT_EQ(menu.last(), (QList<QVariant>{1, 2}));

    QTest::keyClick(grid.get(), Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(grid->ActiveCol(), 3) << "no one moves cells";
    QSignalSpy move(grid.get(), &TOvcTable::moveCellRequested);
    QTest::keyClick(grid.get(), Qt::Key_Right, Qt::ControlModifier);
    QTest::keyClick(grid.get(), Qt::Key_Up, Qt::AltModifier);
    QTest::keyClick(grid.get(), Qt::Key_Down, Qt::AltModifier);
    grid->setActiveCell(2, 3);
    QTest::keyClick(grid.get(), Qt::Key_Down, Qt::AltModifier); // past the last row: nowhere to go
    grid->setActiveCell(1, 3);
    ASSERT_EQ(move.count(), 3);
    EXPECT_EQ(move.at(0), (QList<QVariant>{1, 3, 1, 4}));
    EXPECT_EQ(move.at(1), (QList<QVariant>{1, 3, 0, 3}));
    EXPECT_EQ(move.at(2), (QList<QVariant>{1, 3, 2, 3}));
    EXPECT_EQ(grid->ActiveCol(), 3) << "the owner moves the active cell with what it moved";
}

// A grid given no colours of its own draws in the palette's, and follows a new palette.
TEST_F(OvcTable, WithoutColoursOfItsOwnTheCellsTakeThePalettes) {
    TOvcTable grid;
    QPalette dark;
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Highlight, QColor(40, 120, 200));
    grid.setPalette(dark);
    EXPECT_EQ(grid.cellColor(TOvcTable::CellState::Normal), QColor(30, 30, 30));
    EXPECT_EQ(grid.cellColor(TOvcTable::CellState::Active), QColor(40, 120, 200));
    EXPECT_NE(grid.cellColor(TOvcTable::CellState::Selected), QColor(30, 30, 30));
}

TEST_F(OvcTable, MovesAndReleaseAfterAPressAreReportedAlsoOutsideTheGrid) {
    auto grid = makeShowGrid(3);
    QWidget* viewport = grid->viewport();
    QSignalSpy moves(grid.get(), &TOvcTable::mouseMove);
    QSignalSpy up(grid.get(), &TOvcTable::mouseUp);
    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(viewport, QPoint(500, 20));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(500, 20));
    ASSERT_GE(moves.count(), 1);
    EXPECT_EQ(moves.last().at(2).toPoint(), QPoint(500, 20));
    ASSERT_EQ(up.count(), 1);
    EXPECT_EQ(up.at(0).at(0).value<Qt::MouseButton>(), Qt::LeftButton);
    EXPECT_EQ(up.at(0).at(2).toPoint(), QPoint(500, 20));
}

TEST_F(OvcTable, WholeRowSelectionFollowsCtrlAndShiftClicks) {
    auto grid = makeShowGrid(8);
    grid->setSelectionMode(TOvcTable::SelectionMode::WholeRows);
    QWidget* viewport = grid->viewport();
    auto rowPoint = [](int row) { return QPoint(10, row * 73 + 10); };

    QTest::mouseClick(viewport, Qt::LeftButton, {}, rowPoint(1));
    EXPECT_FALSE(grid->hasSelection()); // a plain click only moves the active row
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, rowPoint(3));
    EXPECT_THAT(grid->selectedRows(), ElementsAre(1, 3));
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, rowPoint(1));
    EXPECT_THAT(grid->selectedRows(), ElementsAre(3));
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, QPoint(200, 0 * 73 + 10));
    EXPECT_THAT(grid->selectedRows(), ElementsAre(0, 1));
    EXPECT_TRUE(grid->isCellSelected(0, 4)); // a selected row is selected in every column
    QTest::keyClick(grid.get(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(grid.get(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_THAT(grid->selectedRows(), ElementsAre(1, 2));
    QTest::keyClick(grid.get(), Qt::Key_Down);
    EXPECT_FALSE(grid->hasSelection());

    grid->selectAll();
    EXPECT_EQ(grid->selectedRows().size(), 8);
    EXPECT_EQ(grid->selectedCells().size(), 8 * 5);
    grid->deselectCell(4, 2);
    EXPECT_FALSE(grid->isRowSelected(4));
    grid->clearSelection();
    EXPECT_FALSE(grid->hasSelection());
}

// The show grid selects nothing of its own; the selection its owner keeps is what the grid reports,
// to a screen reader too, and its changes are signalled (a screen reader hears of them).
TEST_F(OvcTable, CellSelectionAndNoSelectionModes) {
    auto grid = makeShowGrid(3);
    QSignalSpy changed(grid.get(), &TOvcTable::selectionChanged);
    grid->selectCell(1, 1);
    grid->selectAll();
    EXPECT_FALSE(grid->hasSelection());
    EXPECT_EQ(changed.count(), 0);

    std::set<std::pair<int, int>> owners{{0, 3}, {2, 0}};
    grid->setCellSelectedTest([&owners](int row, int col) { return owners.count({row, col}) > 0; });
    grid->ownerSelectionChanged();
    QAccessibleTableInterface* table = QAccessible::queryAccessibleInterface(grid.get())->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->selectedCellCount(), 2);
    EXPECT_THAT(table->selectedRows(), ElementsAre(0, 2));
    EXPECT_TRUE(table->cellAt(2, 0)->state().selected);
    EXPECT_FALSE(table->cellAt(2, 1)->state().selected);
    EXPECT_EQ(changed.count(), 1);
    grid->setCellSelectedTest({});

    grid->setSelectionMode(TOvcTable::SelectionMode::Cells);
    grid->selectCell(2, 4);
    grid->selectCell(0, 1);
    grid->selectCell(7, 1); // outside the grid
    EXPECT_THAT(grid->selectedCells(), ElementsAre(TOvcCell{0, 1}, TOvcCell{2, 4}));
    EXPECT_FALSE(grid->isCellSelected(0, 2));
    grid->deselectCell(0, 1);
    EXPECT_THAT(grid->selectedCells(), ElementsAre(TOvcCell{2, 4}));
    EXPECT_EQ(changed.count(), 4);
}

// Counts the paints of the viewport.
class CountingTable : public TOvcTable {
  public:
    int paints = 0;

  protected:
    void paintEvent(QPaintEvent* event) override {
        ++paints;
        TOvcTable::paintEvent(event);
    }
};

TEST_F(OvcTable, SuspendedGridPaintsNothingAndRepaintsOnceWhenResumed) {
    CountingTable grid;
    grid.setColumnCount(5);
    grid.resize(420, 293);
    grid.setRowLimit(4);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid, ConditionWaitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return grid.paints > 0; }, ConditionWaitMs));
    grid.paints = 0;

    grid.setAllowRedraw(false);
    EXPECT_FALSE(grid.AllowRedraw());
    grid.setRowLimit(40);
    grid.setActiveCell(20, 3);
    grid.setTopRow(10);
    grid.InvalidateTable();
    grid.viewport()->repaint();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.paints, 0);

    grid.setAllowRedraw(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return grid.paints > 0; }, ConditionWaitMs));
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.paints, 1);

    grid.InvalidateTable();
    ASSERT_TRUE(QTest::qWaitFor([&] { return grid.paints > 1; }, ConditionWaitMs));
}

} // namespace
