// SPDX-License-Identifier: MIT
#pragma once
// The main window shown, with slides and a listed folder, and a hand that presses, moves and releases
// the mouse button through the window as a person would: the grid pressed keeps receiving the moves
// and the release wherever the pointer goes.

#include "condition_wait.h"
#include "editor_window_support.h"
#include "show_document.h"
#include "show_slides.h"

#include <QAction>
#include <QFileInfo>

class DragWindow : public EditorWindow {
  public:
    ShowDocument& show() { return main().document(); }

    // Slides made from new pictures of the given names, appended as a drop would.
    void addSlides(const QStringList& names) {
        QStringList paths;
        for (const QString& name : names)
            paths.append(writePicture(dir, name + ".png", {30, 20}));
        main().DropFiles(paths);
        // The thumbnails of the slides in view arrive from other threads before the test goes on.
        EXPECT_TRUE(
            QTest::qWaitFor([this] { return !main().slides().picturesOnTheirWay(); }, ConditionWaitMs));
        show().markOpened();
    }
    void addSlides(int count) {
        QStringList names;
        for (int i = 0; i < count; ++i)
            names.append(QStringLiteral("s%1").arg(i, 3, 10, QLatin1Char('0')));
        addSlides(names);
    }
    // A folder of pictures f00.png, f01.png... listed in the browser.
    void listFolder(int count) {
        QStringList names;
        for (int i = 0; i < count; ++i)
            names.append(QStringLiteral("f%1.png").arg(i, 2, 10, QLatin1Char('0')));
        typeFolder(folderWith("folder", names));
    }
    QStringList slideNames() {
        QStringList names;
        for (int i = 0; i < show().SlideCount; ++i)
            names.append(QFileInfo(show().imagePath(i)).completeBaseName());
        return names;
    }
    void showWindow() {
        main().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&main(), ConditionWaitMs));
    }
    // The window shown and active with the show grid's focus, so that shortcuts reach it.
    void focusShowGrid(int row, int col) {
        main().show();
        QApplication::setActiveWindow(&main());
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main(), ConditionWaitMs));
        showGrid().setFocus();
        showGrid().setActiveCell(row, col);
    }
    QPushButton& button(const char* name) { return *main().findChild<QPushButton*>(name); }
    QAction& action(const char* name) { return *main().findChild<QAction*>(name); }

    // Positions are given in the coordinates of a grid's cell area.
    QPoint inWindow(TOvcTable& grid, QPoint pos) { return grid.viewport()->mapTo(&main(), pos); }
    QPoint cellCentre(TOvcTable& grid, int row, int col) { return grid.cellRect(row, col).center(); }
    void press(TOvcTable& grid, QPoint pos) {
        QTest::mousePress(main().windowHandle(), Qt::LeftButton, {}, inWindow(grid, pos));
    }
    void moveTo(TOvcTable& grid, QPoint pos) { QTest::mouseMove(main().windowHandle(), inWindow(grid, pos)); }
    void release(TOvcTable& grid, QPoint pos) {
        QTest::mouseRelease(main().windowHandle(), Qt::LeftButton, {}, inWindow(grid, pos));
    }
    // Press on a grid's cell, move in two steps to a point given in the target grid's coordinates.
    void dragTo(TOvcTable& from, int row, TOvcTable& target, QPoint pos, int col = 0) {
        const QPoint start = cellCentre(from, row, col);
        press(from, start);
        moveTo(from, start + QPoint(3, 3));
        moveTo(target, pos);
    }
    Qt::CursorShape pointer(TOvcTable& grid) { return grid.viewport()->cursor().shape(); }
};
