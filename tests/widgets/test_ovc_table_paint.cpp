// SPDX-License-Identifier: MIT
// How the bitmap grid paints its cells: placement and clipping of the bitmap, the transparent colour,
// the state colours and the palette.

#include "test_ovc_table_support.h"

#include <QPainter>
#include <gmock/gmock.h>

namespace {

class OvcTablePaint : public testing::Test {
  protected:
    static void SetUpTestSuite() { ensureApplication(); }

    // The grid shows `bitmap` in every cell of its first rows; the viewport is grabbed as an image.
    QImage paintWith(TOvcTable& grid, const QImage& bitmap) {
        bitmap_ = bitmap;
        grid.setCellBitmapSupplier([this](int, int) { return &bitmap_; });
        return grid.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    QImage bitmap_;
};

// The bounding box of all pixels of `color` inside `area`.
QRect boundsOf(const QImage& image, const QRect& area, QColor color) {
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) == color)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

struct PlacementCase {
    const char* name;
    QSize bitmap;
    Qt::Alignment alignment;
    QRect expected; // inside the cell, cell-relative
};

class OvcTablePlacement : public OvcTablePaint, public testing::WithParamInterface<PlacementCase> {};

TEST_P(OvcTablePlacement, DrawsTheVisiblePartWhereTheAlignmentSays) {
    const PlacementCase& c = GetParam();
    auto grid = makeShowGrid(3);
    grid->setCellAlignment(c.alignment);
    grid->setActiveCell(2, 4); // the probed cell stays in the normal state
    const QColor red(200, 0, 0);
    const QImage shot = paintWith(*grid, filled(c.bitmap.width(), c.bitmap.height(), red));
    for (const auto& [row, col] : {std::pair{0, 0}, std::pair{1, 2}}) {
        const QRect cell = grid->cellRect(row, col);
        EXPECT_EQ(boundsOf(shot, cell, red), c.expected.translated(cell.topLeft())) << row << "," << col;
        EXPECT_EQ(shot.pixelColor(cell.topLeft()), NormalColor);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cells, OvcTablePlacement,
    testing::Values(
        PlacementCase{"SmallCentred", {40, 30}, Qt::AlignCenter, {18, 21, 40, 30}},
        PlacementCase{"OddSizeCentred", {41, 31}, Qt::AlignCenter, {17, 21, 41, 31}},
        PlacementCase{"ThumbnailClippedToMargins", {80, 70}, Qt::AlignCenter, {4, 4, 68, 65}},
        PlacementCase{"WideClippedOnlyAcross", {100, 20}, Qt::AlignCenter, {4, 26, 68, 20}},
        PlacementCase{"Left", {40, 30}, Qt::AlignLeft | Qt::AlignVCenter, {4, 21, 40, 30}},
        PlacementCase{"RightBottom", {40, 30}, Qt::AlignRight | Qt::AlignBottom, {32, 39, 40, 30}},
        PlacementCase{"TopLeftThumbnail", {80, 70}, Qt::AlignTop | Qt::AlignLeft, {4, 4, 68, 65}}),
    [](const testing::TestParamInfo<PlacementCase>& info) { return info.param.name; });

TEST_F(OvcTablePaint, ClippingKeepsTheTopLeftPartOfTheBitmap) {
    auto grid = makeShowGrid(1);
    grid->setActiveCell(0, 4);
    // The part a 76 x 73 cell can show (68 x 65) is blue; everything right of or below it is green.
    QImage bitmap = filled(80, 70, QColor(0, 200, 0));
    QPainter(&bitmap).fillRect(0, 0, 68, 65, QColor(0, 0, 200));
    const QImage shot = paintWith(*grid, bitmap);
    const QRect cell = grid->cellRect(0, 1);
    EXPECT_EQ(boundsOf(shot, cell, QColor(0, 0, 200)), QRect(cell.left() + 4, 4, 68, 65));
    EXPECT_TRUE(boundsOf(shot, cell, QColor(0, 200, 0)).isNull());
}

struct StateCase {
    const char* name;
    TOvcTable::SelectionMode mode;
    int activeRow, activeCol;
    bool selectProbe;
    QColor expected; // background around and behind the transparent pixels of cell (1, 1)
};

class OvcTableStates : public OvcTablePaint, public testing::WithParamInterface<StateCase> {};

TEST_P(OvcTableStates, TransparentColourShowsTheBackgroundOfTheCellsState) {
    const StateCase& c = GetParam();
    auto grid = makeShowGrid(3);
    grid->setSelectionMode(c.mode);
    grid->setActiveCell(c.activeRow, c.activeCol);
    if (c.selectProbe)
        grid->selectCell(1, 1);
    // Left half transparent, right half a solid colour.
    QImage bitmap = filled(40, 30, QColor(10, 20, 30));
    QPainter(&bitmap).fillRect(0, 0, 20, 30, QColor(254, 254, 0));
    const QImage shot = paintWith(*grid, bitmap);
    const QRect cell = grid->cellRect(1, 1);
    const QPoint picture = cell.topLeft() + QPoint(18, 21);
    EXPECT_EQ(shot.pixelColor(cell.topLeft() + QPoint(1, 1)), c.expected);
    EXPECT_EQ(shot.pixelColor(picture + QPoint(5, 15)), c.expected);
    EXPECT_EQ(shot.pixelColor(picture + QPoint(30, 15)), QColor(10, 20, 30));
    EXPECT_TRUE(boundsOf(shot, cell, QColor(254, 254, 0)).isNull());
}

INSTANTIATE_TEST_SUITE_P(
    States, OvcTableStates,
    testing::Values(StateCase{"Normal", TOvcTable::SelectionMode::NoSelection, 0, 0, false, NormalColor},
                    StateCase{"Active", TOvcTable::SelectionMode::NoSelection, 1, 1, false, ActiveColor},
                    StateCase{"Selected", TOvcTable::SelectionMode::Cells, 0, 0, true, SelectedColor},
                    StateCase{"ActiveRowInWholeRowMode", TOvcTable::SelectionMode::WholeRows, 1, 3, false,
                              ActiveColor},
                    StateCase{"SelectedRow", TOvcTable::SelectionMode::WholeRows, 2, 0, true, SelectedColor}),
    [](const testing::TestParamInfo<StateCase>& info) { return info.param.name; });

TEST_F(OvcTablePaint, PaletteMapsColoursToTheirNearestEntry) {
    auto grid = makeShowGrid(1);
    grid->setActiveCell(0, 4);
    QImage bitmap(3, 1, QImage::Format_RGB32);
    bitmap.setPixelColor(0, 0, QColor(200, 30, 30));
    bitmap.setPixelColor(1, 0, QColor(240, 240, 230));
    bitmap.setPixelColor(2, 0, QColor(254, 254, 0));
    grid->setCellPalette({qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(255, 0, 0), qRgb(255, 255, 0)});
    grid->setCellColors(QColor(0, 128, 128), ActiveColor, SelectedColor);
    QImage shot = paintWith(*grid, bitmap);
    const QPoint at = grid->cellRect(0, 0).topLeft() + QPoint((76 - 3) / 2, (73 - 1) / 2);
    EXPECT_EQ(shot.pixelColor(at), QColor(255, 0, 0));
    EXPECT_EQ(shot.pixelColor(at + QPoint(1, 0)), QColor(255, 255, 255));
    EXPECT_EQ(shot.pixelColor(at + QPoint(2, 0)), QColor(0, 128, 128)); // transparent: background

    grid->setCellPalette({});
    shot = paintWith(*grid, bitmap);
    EXPECT_EQ(shot.pixelColor(at), QColor(200, 30, 30));
    EXPECT_EQ(shot.pixelColor(at + QPoint(1, 0)), QColor(240, 240, 230));
}

// The grid keeps the pictures it drew; a bitmap changed in place, or a cell whose state changed,
// is drawn anew.
TEST_F(OvcTablePaint, RepaintShowsTheBitmapAsItIsNow) {
    auto grid = makeShowGrid(2);
    grid->setActiveCell(1, 4);
    QImage bitmap = filled(40, 30, QColor(200, 0, 0));
    grid->setCellBitmapSupplier([&](int, int) { return &bitmap; });
    const QPoint at = grid->cellRect(0, 0).center();
    EXPECT_EQ(grid->viewport()->grab().toImage().pixelColor(at), QColor(200, 0, 0));
    bitmap.fill(QColor(254, 254, 0));
    EXPECT_EQ(grid->viewport()->grab().toImage().pixelColor(at), NormalColor);
    grid->setActiveCell(0, 0);
    EXPECT_EQ(grid->viewport()->grab().toImage().pixelColor(at), ActiveColor);
    bitmap.fill(QColor(0, 0, 200));
    EXPECT_EQ(grid->viewport()->grab().toImage().pixelColor(at), QColor(0, 0, 200));
}

TEST_F(OvcTablePaint, CellsWithoutDataAndTheAreaBelowTheRowsShowOnlyBackground) {
    auto grid = makeShowGrid(2);
    grid->setActiveCell(0, 1);
    const QImage bitmap = filled(30, 30, QColor(200, 0, 0));
    // Only slide 0..6 exist: cells past the last one have no data.
    grid->setCellBitmapSupplier([&](int row, int col) { return 5 * row + col < 7 ? &bitmap : nullptr; });
    const QImage shot = grid->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_FALSE(boundsOf(shot, grid->cellRect(1, 1), QColor(200, 0, 0)).isNull());
    EXPECT_TRUE(boundsOf(shot, grid->cellRect(1, 2), QColor(200, 0, 0)).isNull());
    EXPECT_TRUE(boundsOf(shot, grid->cellRect(0, 1), QColor(200, 0, 0)).isValid());
    EXPECT_EQ(shot.pixelColor(grid->cellRect(0, 1).center() + QPoint(0, 30)), ActiveColor);
    const QRect below(0, 2 * 73, shot.width(), shot.height() - 2 * 73);
    EXPECT_EQ(boundsOf(shot, below, NormalColor), below);
}

TEST_F(OvcTablePaint, SupplierIsAskedForTheVisibleRowsOnly) {
    auto grid = makeShowGrid(20);
    grid->setTopRow(7);
    QSet<int> rowsAsked;
    const QImage bitmap = filled(10, 10, Qt::black);
    grid->setCellBitmapSupplier([&](int row, int) {
        rowsAsked.insert(row);
        return &bitmap;
    });
    grid->viewport()->grab();
    // 293 pixels hold four whole rows and the first pixel line of a fifth.
    EXPECT_EQ(rowsAsked, QSet<int>({7, 8, 9, 10, 11}));
}

} // namespace
