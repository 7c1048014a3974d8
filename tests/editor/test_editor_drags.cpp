// SPDX-License-Identifier: MIT
// The editor's two mouse drags through the real main window and real mouse events: a folder thumbnail
// dropped on the show grid, slides moved inside it, the auto-scroll at the grid's edges on a clock
// that lets the pauses pass without waiting, and what the drag shows under the pointer.

#include "drag_window_support.h"
#include "editor_drags.h"
#include "image_browser.h"
#include "image_loader.h"
#include "shared_flags.h"
#include "test_shows.h"
#include "thumbnail_cache_folder.h"

#include <QScrollBar>

namespace {
testing::Environment* const environment = testing::AddGlobalTestEnvironment(new PlayerTestEnvironment);

// ---- folder drag ----

struct FolderDrop {
    const char* what;
    int slides;
    // Where the folder image f01 is released, in show grid coordinates, from the grid's measures.
    std::function<QPoint(TOvcTable&)> point;
    QStringList expected; // slide names afterwards; empty: the show is unchanged
    int rows = 0;         // the grid's rows afterwards, when it matters
};

std::ostream& operator<<(std::ostream& out, const FolderDrop& row) {
    return out << row.what;
}

QStringList names(int count, QStringList tail = {}, int insertAt = -1) {
    QStringList list;
    for (int i = 0; i < count; ++i)
        list.append(QStringLiteral("s%1").arg(i, 3, 10, QLatin1Char('0')));
    if (!tail.isEmpty())
        list.insert(insertAt < 0 ? list.size() : insertAt, tail.front());
    return list;
}

class FolderDrag : public DragWindow, public testing::WithParamInterface<FolderDrop> {};

TEST_P(FolderDrag, DropsTheImageAtTheCellUnderThePointer) {
    const FolderDrop& row = GetParam();
    addSlides(row.slides);
    listFolder(3);
    showWindow();
    dragTo(folderGrid(), 1, showGrid(), row.point(showGrid()));
    EXPECT_EQ(pointer(folderGrid()), row.expected.isEmpty() ? Qt::ArrowCursor : Qt::DragCopyCursor);
    release(showGrid(), row.point(showGrid()));

    EXPECT_EQ(pointer(folderGrid()), Qt::ArrowCursor);
    EXPECT_FALSE(main().drags().FolderDragActive);
    if (row.expected.isEmpty()) {
        EXPECT_EQ(slideNames(), names(row.slides));
        EXPECT_FALSE(show().ShowModified);
        return;
    }
    EXPECT_EQ(slideNames(), row.expected);
    EXPECT_TRUE(show().ShowModified);
    EXPECT_EQ(main().focusWidget(), &showGrid());
    if (row.rows > 0) {
        EXPECT_EQ(showGrid().RowLimit(), row.rows);
    }
}

QPoint cell(TOvcTable& grid, int row, int col) {
    return grid.cellRect(row, col).center();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FolderDrag,
    testing::Values(
        FolderDrop{"on slide 3", 5, [](TOvcTable& g) { return cell(g, 0, 3); }, names(5, {"f01"}, 3)},
        FolderDrop{"below the last row", 3, [](TOvcTable& g) { return cell(g, 0, 1) + QPoint(0, 100); },
                   names(3, {"f01"})},
        FolderDrop{"on an empty cell of the last row", 3, [](TOvcTable& g) { return cell(g, 0, 4); },
                   names(3, {"f01"})},
        FolderDrop{"below two full rows", 10, [](TOvcTable& g) { return cell(g, 1, 2) + QPoint(0, 73); },
                   names(10, {"f01"}), 3},
        FolderDrop{"over the scroll bar",
                   5,
                   [](TOvcTable& g) { return QPoint(g.width() - g.verticalScrollBar()->width() / 2, 30); },
                   {}},
        FolderDrop{"below the grid", 5, [](TOvcTable& g) { return QPoint(100, g.height() + 20); }, {}},
        FolderDrop{"back on the folder grid", 5, [](TOvcTable&) { return QPoint(-120, 30); }, {}}));

// Folder images f00 to f02 selected, then a press on one of them: dragged onto slide 1, every
// selected image lands there in folder order; released where it was pressed, the press was a click
// and the selection is reduced as a click reduces it.
struct SelectionPress {
    const char* what;
    Qt::KeyboardModifiers modifiers;
    bool drags;
    QStringList slides;      // afterwards
    QList<int> selectedRows; // afterwards, when no drag happened
};

std::ostream& operator<<(std::ostream& out, const SelectionPress& row) {
    return out << row.what;
}

class SelectionDrag : public DragWindow, public testing::WithParamInterface<SelectionPress> {};

TEST_P(SelectionDrag, APressOnASelectedImageKeepsTheSelectionForTheDrag) {
    const SelectionPress& row = GetParam();
    addSlides(2);
    listFolder(4);
    showWindow();
    const auto at = [this](int r) { return inWindow(folderGrid(), cellCentre(folderGrid(), r, 0)); };
    QTest::mouseClick(main().windowHandle(), Qt::LeftButton, {}, at(0));
    QTest::mouseClick(main().windowHandle(), Qt::LeftButton, Qt::ShiftModifier, at(2));
    ASSERT_EQ(folderGrid().selectedRows(), QList<int>({0, 1, 2}));

    QTest::mousePress(main().windowHandle(), Qt::LeftButton, row.modifiers, at(1));
    if (row.drags) {
        moveTo(folderGrid(), cellCentre(folderGrid(), 1, 0) + QPoint(3, 3));
        moveTo(showGrid(), cellCentre(showGrid(), 0, 1));
        release(showGrid(), cellCentre(showGrid(), 0, 1));
    } else {
        QTest::mouseRelease(main().windowHandle(), Qt::LeftButton, row.modifiers, at(1));
        EXPECT_EQ(folderGrid().selectedRows(), row.selectedRows);
        EXPECT_EQ(folderGrid().ActiveRow(), 1);
    }
    EXPECT_EQ(slideNames(), row.slides);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SelectionDrag,
    testing::Values(
        SelectionPress{"plain press dragged", {}, true, {"s000", "f00", "f01", "f02", "s001"}, {}},
        SelectionPress{
            "Ctrl press dragged", Qt::ControlModifier, true, {"s000", "f00", "f01", "f02", "s001"}, {}},
        SelectionPress{"plain click", {}, false, {"s000", "s001"}, {}},
        SelectionPress{"Ctrl click", Qt::ControlModifier, false, {"s000", "s001"}, {0, 2}}));

// ---- reorder drag ----

struct Reorder {
    const char* what;
    TOvcCell from;
    TOvcCell to;
    bool moves; // the pointer moves between press and release
    QStringList expected;
    QList<int> selected = {};       // slides clicked, then Ctrl+clicked, before the drag; they go with it
    QStringList selectedAfter = {}; // shown selected afterwards, beside the active slide
};

std::ostream& operator<<(std::ostream& out, const Reorder& row) {
    return out << row.what;
}

class ReorderDrag : public DragWindow, public testing::WithParamInterface<Reorder> {};

TEST_P(ReorderDrag, MovesTheSlideToTheCellUnderThePointer) {
    const Reorder& row = GetParam();
    addSlides({"P", "Q", "R", "S"});
    showWindow();
    // Below the last row lies no cell: the press there is given a point under the row.
    auto at = [this](TOvcCell c) {
        return c.row < 0 ? QPoint(76 * c.col + 30, 73 + 30) : cellCentre(showGrid(), c.row, c.col);
    };
    for (int index : row.selected)
        QTest::mouseClick(showGrid().viewport(), Qt::LeftButton,
                          index == row.selected.first() ? Qt::NoModifier : Qt::ControlModifier,
                          cellCentre(showGrid(), 0, index));
    const QString dragged = row.from.row < 0 ? QString() : slideNames().value(row.from.col);
    press(showGrid(), at(row.from));
    if (row.moves) {
        moveTo(showGrid(), at(row.from) + QPoint(4, 0));
        moveTo(showGrid(), at(row.to));
    }
    release(showGrid(), at(row.to));

    EXPECT_EQ(slideNames(), row.expected);
    EXPECT_EQ(show().ShowModified, row.expected != QStringList({"P", "Q", "R", "S"}));
    EXPECT_EQ(pointer(showGrid()), Qt::ArrowCursor);
    EXPECT_FALSE(main().drags().ReorderDragArmed);
    if (show().ShowModified) {
        EXPECT_EQ(slideNames().value(showGrid().ActiveCol()), dragged) << "the active cell goes along";
    }
    // The slides moved together stay selected; a press on a slide not selected leaves none, and one
    // beside the slides draws a rubber band.
    QStringList selected;
    for (int col = 0; col < 4; ++col)
        if (showGrid().cellState(0, col) == TOvcTable::CellState::Selected)
            selected.append(slideNames().value(col));
    EXPECT_EQ(selected, row.selectedAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReorderDrag,
    testing::Values(
        Reorder{"0 onto 2", {0, 0}, {0, 2}, true, {"Q", "R", "P", "S"}},
        Reorder{"3 onto 1", {0, 3}, {0, 1}, true, {"P", "S", "Q", "R"}},
        Reorder{"onto the empty cell after the last slide", {0, 1}, {0, 4}, true, {"P", "Q", "R", "S"}},
        Reorder{"press and release without moving", {0, 2}, {0, 2}, false, {"P", "Q", "R", "S"}},
        Reorder{
            "from below the last row onto a slide", {-1, 0}, {0, 1}, true, {"P", "Q", "R", "S"}, {}, {"Q"}},
        Reorder{"1 and 3 selected, 1 onto 0", {0, 1}, {0, 0}, true, {"Q", "S", "P", "R"}, {1, 3}, {"S"}},
        Reorder{"0 and 1 selected, 0 onto 3", {0, 0}, {0, 3}, true, {"R", "S", "P", "Q"}, {0, 1}, {"Q"}},
        Reorder{"0 and 2 selected, 0 onto 2", {0, 0}, {0, 2}, true, {"P", "Q", "R", "S"}, {0, 2}, {"R"}},
        Reorder{"0 and 2 selected, 3 onto 1 alone", {0, 3}, {0, 1}, true, {"P", "S", "Q", "R"}, {0, 2}}));

TEST_F(DragWindow, AMovedSlideTakesItsThumbnailAndRecordAlong) {
    addSlides({"P", "Q", "R", "S"});
    test_shows::edit(show(), 0, [](TSlideRecord& r) { r.Delay = 42; });
    const QImage first = show().thumbnail(0);
    showWindow();
    dragTo(showGrid(), 0, showGrid(), cellCentre(showGrid(), 0, 3));
    release(showGrid(), cellCentre(showGrid(), 0, 3));
    EXPECT_EQ(slideNames(), QStringList({"Q", "R", "S", "P"}));
    EXPECT_EQ(show().slide(3).Delay, 42);
    EXPECT_EQ(show().thumbnail(3), first);
    EXPECT_EQ(showGrid().ActiveRow(), 0);
    EXPECT_EQ(showGrid().ActiveCol(), 3);
}

// ---- auto-scroll ----

// A clock that lets the pauses pass at once and notes how deeply they nest.
class CountingClock : public FakeWaitClock {
  public:
    WaitEnd pump(int ms, const std::function<bool()>& interrupted) override {
        ++pauses;
        deepest = std::max(deepest, ++depth);
        const WaitEnd end = FakeWaitClock::pump(ms, interrupted);
        --depth;
        return end;
    }
    int pauses = 0;
    int depth = 0;
    int deepest = 0;
};

enum class Kind { Folder, Reorder };

class EdgeScroll : public DragWindow, public testing::WithParamInterface<Kind> {
  protected:
    // 30 slides: six rows, four in view.
    void SetUp() override {
        DragWindow::SetUp();
        addSlides(30);
        listFolder(2);
        showWindow();
        TOvcTable& source = GetParam() == Kind::Folder ? folderGrid() : showGrid();
        press(source, cellCentre(source, 0, 0));
        moveTo(source, cellCentre(source, 0, 0) + QPoint(3, 3));
    }
    QPoint bottomZone() { return QPoint(100, showGrid().height() - 10); }
    QPoint topZone() { return QPoint(100, 5); }
    CountingClock clock;
};

TEST_P(EdgeScroll, EachMoveInAnEdgeZoneScrollsOneRowUpToTheEnds) {
    std::vector<int> tops;
    for (int i = 0; i < 6; ++i) {
        moveTo(showGrid(), bottomZone() + QPoint(i, 0));
        tops.push_back(showGrid().TopRow());
    }
    // Down until the second-to-last row is the top row.
    EXPECT_EQ(tops, std::vector<int>({1, 2, 3, 4, 4, 4}));
    EXPECT_EQ(clock.pauses, 4);
    tops.clear();
    for (int i = 0; i < 6; ++i) {
        moveTo(showGrid(), topZone() + QPoint(i, 0));
        tops.push_back(showGrid().TopRow());
    }
    EXPECT_EQ(tops, std::vector<int>({3, 2, 1, 0, 0, 0}));
    EXPECT_EQ(clock.pauses, 8);
    release(showGrid(), topZone());
    EXPECT_EQ(show().SlideCount, GetParam() == Kind::Folder ? 31 : 30);
}

TEST_P(EdgeScroll, MovesDuringAPauseScrollInNestedPausesAndAReleaseEndsThemAtOnce) {
    for (int t = 1; t <= 3; ++t)
        clock.at(t * 1000, [this, t] { moveTo(showGrid(), bottomZone() + QPoint(t, 0)); });
    clock.at(3500, [this] { release(showGrid(), bottomZone()); });
    clock.at(4000, [this] { moveTo(showGrid(), bottomZone()); });
    moveTo(showGrid(), bottomZone());

    EXPECT_EQ(showGrid().TopRow(), 4);
    EXPECT_EQ(clock.deepest, 4);
    // The release ended the drag and every pause with it; the later move came after the drag.
    EXPECT_LT(clock.nowMs(), 4000);
    EXPECT_FALSE(main().drags().FolderDragActive);
    EXPECT_FALSE(main().drags().ReorderDragArmed);
    clock.cancelPlanned();
}

TEST_P(EdgeScroll, OverTheScrollBarTheFolderDragDoesNotScroll) {
    moveTo(showGrid(), QPoint(showGrid().width() - 4, showGrid().height() - 10));
    // The folder drag scrolls only over the columns; the reorder drag anywhere at the edge.
    EXPECT_EQ(showGrid().TopRow(), GetParam() == Kind::Folder ? 0 : 1);
    release(showGrid(), QPoint(showGrid().width() - 4, showGrid().height() - 10));
    EXPECT_EQ(show().SlideCount, 30);
}

INSTANTIATE_TEST_SUITE_P(Drags, EdgeScroll, testing::Values(Kind::Folder, Kind::Reorder));

TEST_F(DragWindow, PausesNestOnlySoDeepAndTheRowsScrollOnRegardless) {
    CountingClock clock;
    addSlides(125); // 25 rows
    showWindow();
    press(showGrid(), cellCentre(showGrid(), 0, 0));
    const int moves = EditorDrags::MaxNestedPauses + 4;
    for (int t = 1; t < moves; ++t)
        clock.at(t * 10, [this, t] { moveTo(showGrid(), QPoint(100 + t % 2, showGrid().height() - 10)); });
    moveTo(showGrid(), QPoint(100, showGrid().height() - 10));
    EXPECT_EQ(showGrid().TopRow(), moves);
    EXPECT_EQ(clock.deepest, EditorDrags::MaxNestedPauses);
    release(showGrid(), QPoint(100, 100));
}

// ---- what the drag shows ----

TEST_F(DragWindow, TheDragShowsTheThumbnailUnderThePointerAndWhereItWillLand) {
    addSlides({"P", "Q", "R", "S"});
    listFolder(2);
    showWindow();
    auto* picture = main().findChild<QWidget*>("DragPicture");
    auto* mark = main().findChild<QWidget*>("InsertionMark");
    ASSERT_TRUE(picture && mark);

    // A folder image over slide 2 goes in before it: the mark stands on the border of columns 1 and 2.
    dragTo(folderGrid(), 0, showGrid(), cellCentre(showGrid(), 0, 2));
    EXPECT_TRUE(picture->isVisible());
    EXPECT_TRUE(picture->geometry().contains(
        showGrid().viewport()->mapTo(picture->parentWidget(), cellCentre(showGrid(), 0, 2))));
    EXPECT_TRUE(mark->isVisible());
    EXPECT_EQ(mark->geometry().center().x(), 2 * 76);
    // Below the slides it goes after the last one.
    moveTo(showGrid(), QPoint(30, 150));
    EXPECT_EQ(mark->geometry().center().x(), 4 * 76);
    release(showGrid(), QPoint(30, 150));
    EXPECT_FALSE(picture->isVisible());
    EXPECT_FALSE(mark->isVisible());

    // Slide 0 over slide 2 lands after it; over itself nowhere new.
    dragTo(showGrid(), 0, showGrid(), cellCentre(showGrid(), 0, 2));
    EXPECT_EQ(pointer(showGrid()), Qt::DragMoveCursor);
    EXPECT_TRUE(mark->isVisible());
    EXPECT_EQ(mark->geometry().center().x(), 3 * 76);
    moveTo(showGrid(), cellCentre(showGrid(), 0, 0));
    EXPECT_FALSE(mark->isVisible());
    EXPECT_TRUE(picture->isVisible());
    release(showGrid(), cellCentre(showGrid(), 0, 0));
    EXPECT_FALSE(picture->isVisible());
}

TEST_F(DragWindow, AFolderImageWhosePictureHasNotArrivedIsDraggedWithoutADecodeOnTheWindowThread) {
    listFolder(2);
    showWindow();
    const quint64 windowDecodes = imaging::decodedOnThisThreadCount();
    const QPoint start = cellCentre(folderGrid(), 1, 0);
    press(folderGrid(), start);
    moveTo(folderGrid(), start + QPoint(3, 3));
    // The thumbnails are drawn anew, as after a change of their width: the row waits for its picture,
    // which no cache entry gives at once.
    const ThumbnailCacheFolder emptyCache;
    browser().drawThumbnailsAnew();
    ASSERT_FALSE(browser().folder().FolderThumbnailReady[1]);
    moveTo(showGrid(), QPoint(30, 30));
    EXPECT_TRUE(main().findChild<QWidget*>("DragPicture")->isVisible());
    release(showGrid(), QPoint(30, 30));
    EXPECT_EQ(slideNames(), QStringList{"f01"});
    EXPECT_EQ(imaging::decodedOnThisThreadCount(), windowDecodes);
}
} // namespace
