// SPDX-License-Identifier: MIT
#pragma once
// Shared pieces of the bitmap grid tests: the application object and a grid laid out like the show grid.

#include "condition_wait.h"
#include "ovc_table.h"

#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

inline void ensureApplication() {
    static int argc = 1;
    static char name[] = "test_ovc_table";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

inline const QColor NormalColor{255, 255, 255};
inline const QColor ActiveColor{0, 0, 128};
inline const QColor SelectedColor{0, 128, 0};

// Five columns of 76 pixels, rows of 73 pixels, four whole rows visible.
inline std::unique_ptr<TOvcTable> makeShowGrid(int rows) {
    auto grid = std::make_unique<TOvcTable>();
    grid->setColumnCount(5);
    grid->setColumnWidth(76);
    grid->setRowHeight(73);
    grid->setCellColors(NormalColor, ActiveColor, SelectedColor);
    grid->resize(5 * 76 + grid->verticalScrollBar()->sizeHint().width(), 293);
    grid->setRowLimit(rows);
    grid->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(grid.get(), ConditionWaitMs));
    return grid;
}

inline QImage filled(int width, int height, QColor color) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}
