// SPDX-License-Identifier: MIT
// The Find Image dialog and files dropped from the file manager on the show grid, through the real
// main window: the dialog opened from the folder grid's context menu and typed into, the drops made
// with the events the shell's drop brings.

#include "condition_wait.h"
#include "drag_drop_files.h"
#include "drag_window_support.h"
#include "ovc_search_list.h"
#include "search_form.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QUrl>

namespace {
testing::Environment* const environment = testing::AddGlobalTestEnvironment(new PlayerTestEnvironment);

class FindImage : public DragWindow {
  protected:
    void SetUp() override {
        DragWindow::SetUp();
        // The typing of one search must not pause long enough to start a new one.
        QApplication::setKeyboardInputInterval(60000);
    }
    Tsrchform& dialog() { return *windows->srchform; }
    TOvcSearchList& list() { return *dialog().findChild<TOvcSearchList*>("OvcSearchList1"); }
    QStringList items() {
        QStringList texts;
        for (int i = 0; i < list().count(); ++i)
            texts.append(list().item(i)->text());
        return texts;
    }
    // Opens the dialog from the folder grid's context menu, types, goes down the list `downs` rows,
    // notes where the folder grid went and closes the dialog again.
    void find(const QString& typed, int downs = 0) {
        whenModal(&dialog(), [this, typed, downs] {
            QTest::keyClicks(&list(), typed);
            for (int i = 0; i < downs; ++i)
                QTest::keyClick(&list(), Qt::Key_Down);
            found = folderGrid().ActiveRow();
            top = folderGrid().TopRow();
            placed = dialog().pos() - main().pos();
            gridHadFocus = main().focusWidget() == &folderGrid();
            dialog().close();
        });
        QTest::mouseClick(main().windowHandle(), Qt::RightButton, {},
                          inWindow(folderGrid(), cellCentre(folderGrid(), 0, 0)));
        auto* menu = main().findChild<QMenu*>("PopupMenu1");
        ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, ConditionWaitMs));
        QAction* item = main().findChild<QAction*>("FindImage1");
        ASSERT_EQ(item->text(), QStringLiteral("&Find Image..."));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    }
    int found = -1;
    int top = -1;
    QPoint placed;
    bool gridHadFocus = false;
};

TEST_F(FindImage, TypingTheBeginningOfANameInAnyCaseShowsThatImageAtTheTop) {
    typeFolder(folderWith("pictures", {"a00.png", "a01.png", "a02.png", "a03.png", "a04.png", "a05.png",
                                       "a06.png", "Zebra.png", "zoo.png"}));
    EXPECT_EQ(items(), QStringList({"a00.png", "a01.png", "a02.png", "a03.png", "a04.png", "a05.png",
                                    "a06.png", "Zebra.png", "zoo.png"}));
    showWindow();
    const struct {
        const char* typed;
        int row;
    } rows[] = {{"ZE", 7}, {"zo", 8}, {"A05", 5}, {"a0q", 0}, {"q", 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typed);
        folderGrid().setActiveRow(0);
        folderGrid().setTopRow(0);
        find(QString::fromLatin1(row.typed));
        EXPECT_EQ(found, row.row);
        EXPECT_EQ(top, row.row);
        EXPECT_EQ(placed, QPoint(120, 128));
        EXPECT_TRUE(gridHadFocus);
    }
}

// Two names differing only in case are listed as they are on disk; typing finds the first, and the
// second, chosen in the list, shows its own image.
TEST_F(FindImage, OfTwoNamesDifferingOnlyInCaseTheFirstIsFoundAndEachShowsItsOwnImage) {
    typeFolder(folderWith("pictures", {"cat.png", "Beach.png", "beach.png", "apple.png"}));
    ASSERT_EQ(listed().size(), 4); // a file system that keeps both spellings
    showWindow();
    find(QStringLiteral("BEA"));
    EXPECT_EQ(found, 1);
    EXPECT_EQ(QFileInfo(listed()[found]).fileName(), QStringLiteral("Beach.png"));
    EXPECT_EQ(items().mid(1, 2), QStringList({"Beach.png", "beach.png"}));
    folderGrid().setActiveRow(0);
    folderGrid().setTopRow(0);
    find(QStringLiteral("bea"), 1);
    EXPECT_EQ(QFileInfo(listed()[found]).fileName(), QStringLiteral("beach.png"));
}

// ---- shell drop ----

class ShellDrop : public DragWindow {
  protected:
    TDragDropFiles& target() { return *main().findChild<TDragDropFiles*>("DragDropFiles1"); }
    // Drops the files on the show grid as the file manager does, and waits until they are handed over.
    void drop(const QStringList& paths, Qt::MouseButtons buttons = Qt::LeftButton) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls.append(QUrl::fromLocalFile(path));
        data.setUrls(urls);
        QWidget* viewport = showGrid().viewport();
        const QPoint pos = cellCentre(showGrid(), 0, 1);
        const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
        QDragEnterEvent enter(pos, offered, &data, buttons, {});
        QApplication::sendEvent(viewport, &enter);
        ASSERT_TRUE(enter.isAccepted());
        EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
        QSignalSpy handed(&target(), &TDragDropFiles::Drop);
        QSignalSpy asked(&target().dropMenu(), &QMenu::aboutToHide);
        QDropEvent dropped(pos, offered, &data, buttons, {});
        QApplication::sendEvent(viewport, &dropped);
        ASSERT_TRUE(dropped.isAccepted());
        EXPECT_EQ(dropped.dropAction(), Qt::CopyAction);
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return handed.count() == 1 || asked.count() == 1; }, ConditionWaitMs));
        // The drop is finished by the time the next events have been handled.
        QCoreApplication::processEvents();
    }
    QString picture(const QString& name) { return writePicture(dir, name, {30, 20}); }
    QString count(int n) { return QStringLiteral("Images: ") + QString::number(n) + QString(24, ' '); }
};

TEST_F(ShellDrop, ImagesAreAppendedInDropOrderAndOtherFilesLeftOut) {
    addSlides({"p", "q"});
    QFile text(dir.filePath("notes.txt"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    text.close();
    ASSERT_TRUE(QDir(dir.path()).mkdir("x.jpg"));
    showWindow();
    drop({picture("c.png"), text.fileName(), dir.filePath("x.jpg"), picture("a.bmp"), picture("b.jpg"),
          dir.filePath("gone.png")});
    EXPECT_EQ(slideNames(), QStringList({"p", "q", "c", "a", "b"}));
    EXPECT_TRUE(show().ShowModified);
    EXPECT_EQ(label("Label7"), count(5));
}

TEST_F(ShellDrop, AFolderNamedLikeAPictureAddsNothing) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("x.jpg"));
    showWindow();
    drop({dir.filePath("x.jpg")});
    EXPECT_EQ(show().SlideCount, 0);
    EXPECT_FALSE(show().ShowModified);
}

TEST_F(ShellDrop, PathsKeepTheirCase) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("Holiday"));
    const QString path = picture("Holiday/Beach.PNG");
    showWindow();
    drop({path});
    ASSERT_EQ(show().SlideCount, 1);
    EXPECT_EQ(show().imagePath(0), path);
}

TEST_F(ShellDrop, TwentyImagesOnAShowOf495AppendTheFirstFive) {
    addSlides(495);
    QStringList paths;
    for (int i = 0; i < 20; ++i)
        paths.append(picture(QStringLiteral("d%1.png").arg(i, 2, 10, QLatin1Char('0'))));
    showWindow();
    drop(paths);
    ASSERT_EQ(show().SlideCount, 500);
    EXPECT_EQ(slideNames().mid(495), QStringList({"d00", "d01", "d02", "d03", "d04"}));
    EXPECT_EQ(label("Label7"), count(500));
}

TEST_F(ShellDrop, ManyFilesShowTheirCountWhileTheWindowGoesOn) {
    QStringList paths;
    for (int i = 0; i < 60; ++i)
        paths.append(picture(QStringLiteral("m%1.png").arg(i, 2, 10, QLatin1Char('0'))));
    showWindow();
    // A timer that runs during the drop notes the count line each time.
    QStringList counts;
    auto* label7 = main().findChild<QLabel*>("Label7");
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, label7, [&] {
        const QString text = label7->text().trimmed();
        if (text != QLatin1String("Images: 0") && (counts.isEmpty() || counts.back() != text))
            counts.append(text);
    });
    watch.start(0);
    drop(paths);
    watch.stop();
    EXPECT_EQ(show().SlideCount, 60);
    EXPECT_EQ(counts, QStringList({"Images: 16", "Images: 32", "Images: 48", "Images: 60"}));
}

TEST_F(ShellDrop, ARightButtonDropAsksAndOnlyAbortAddsNothing) {
    const QString path = picture("r.png");
    showWindow();
    const char* const answers[] = {"&Copy Here", "&Move Here", "&Shortcut(s) Create Here", "&Abort"};
    int expected = 0;
    for (const char* answer : answers) {
        SCOPED_TRACE(answer);
        QMenu* menu = &target().dropMenu();
        QTimer* poll = new QTimer(menu);
        QObject::connect(poll, &QTimer::timeout, menu, [menu, poll, answer] {
            if (QApplication::activePopupWidget() != menu)
                return;
            poll->deleteLater();
            poll->stop();
            for (QAction* item : menu->actions()) {
                if (item->text() == QLatin1String(answer))
                    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
            }
        });
        poll->start(5);
        drop({path}, Qt::RightButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !menu->isVisible(); }, ConditionWaitMs));
        QCoreApplication::processEvents();
        if (QLatin1String(answer) != QLatin1String("&Abort"))
            ++expected;
        EXPECT_EQ(show().SlideCount, expected);
    }
}
} // namespace
