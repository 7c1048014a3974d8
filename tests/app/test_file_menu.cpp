// SPDX-License-Identifier: MIT
// The File menu's everyday commands through the real main window: Save to the show's own file, Open
// that asks after the file is chosen, the recent shows, the keyboard shortcuts, and the show's music
// kept in its file.

#include "gui_test_support.h"
#include "lifecycle_fixture.h"
#include "recently_used.h"
#include "show_extension.h"

#include <QApplication>
#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

namespace {
using namespace lifecycle_test;

class FileMenu : public Lifecycle {
  protected:
    // A show of n slides saved under the name, then left unchanged.
    QString savedShow(const QString& name, int n) {
        addSlides(n);
        saveAnswers = {dir.filePath(name)};
        EXPECT_TRUE(main().FileSaveAs());
        return dir.filePath(name);
    }
    // One more slide, as an edit of the show.
    void addOne() { main().DropFiles({picture("flower.jpg")}); }
    QMenu* recentMenu() { return main().findChild<QMenu*>("RecentVerascos1"); }
    QStringList recentItems() {
        main().FileMenuClick();
        QStringList texts;
        for (QAction* item : recentMenu()->actions())
            texts.append(item->text());
        return texts;
    }
    void press(QKeyCombination keys) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &main(), keys.key(),
                        keys.keyboardModifiers());
    }
};

TEST_F(FileMenu, SaveWritesToTheShowsOwnFileAndWithoutOneAsksForAName) {
    const QString file = savedShow("trip.vrs", 2);
    ASSERT_EQ(saveDialogs, 1);
    addOne();
    EXPECT_TRUE(main().FileSave());
    EXPECT_EQ(saveDialogs, 1);
    EXPECT_FALSE(show().ShowModified);
    EXPECT_EQ(fileBytes(file), ShowFile::encode(show()));

    // After Clear All the show has no file of its own: Save asks for one.
    main().FileNew();
    addSlides(1);
    saveAnswers = {dir.filePath("other.vrs")};
    EXPECT_TRUE(main().FileSave());
    EXPECT_EQ(saveDialogs, 2);
    EXPECT_EQ(fileBytes(dir.filePath("other.vrs")), ShowFile::encode(show()));
}

// Edit > Music... chooses the files in order as one step; Fit Slides to Music is offered once the
// show has slides and music. The music is saved with the show and read back; a show whose block of
// data is damaged opens with its slides and a note in the status line.
TEST_F(FileMenu, TheShowsMusicIsChosenInOneStepAndKeptInItsFile) {
    const QStringList music = {dir.filePath("b.ogg"), dir.filePath("a.wav")};
    dialogSeams().getOpenFileNames = [&](QWidget*, const QString&, const QString&, const QString&) {
        return music;
    };
    const auto fitOffered = [this] {
        main().EditMenuClick();
        return main().findChild<QAction*>("FitToMusic1")->isEnabled();
    };
    EXPECT_FALSE(fitOffered());
    addSlides(2);
    EXPECT_FALSE(fitOffered());
    main().Music1Click();
    EXPECT_EQ(ShowExtension::musicPaths(show().showData()), music);
    EXPECT_EQ(show().history().undoText(), "Music");
    EXPECT_TRUE(fitOffered());

    saveAnswers = {dir.filePath("music.vrs")};
    ASSERT_TRUE(main().FileSaveAs());
    main().FileNew();
    EXPECT_TRUE(show().showData().isEmpty());
    openAnswer = dir.filePath("music.vrs");
    main().FileOpen();
    EXPECT_EQ(ShowExtension::musicPaths(show().showData()), music);
    EXPECT_FALSE(show().ShowModified);

    // The JSON text loses its closing brace.
    QByteArray bytes = fileBytes(openAnswer);
    bytes.back() = ' ';
    QFile file(openAnswer);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    main().FileOpen();
    EXPECT_EQ(show().SlideCount, 2);
    EXPECT_TRUE(show().showData().isEmpty());
    EXPECT_TRUE(
        main().findChild<QLabel*>("Label7")->text().startsWith("Images: 2 - Music, motion and caption"));
}

// Edit > Music... on a show with music lists it: a file moved, removed or added and the level set are
// each one step of the show's history.
TEST_F(FileMenu, TheMusicListChangesTheMusicOneStepAtATime) {
    const QString x = dir.filePath("x.wav"), y = dir.filePath("y.wav"), z = dir.filePath("z.ogg");
    show().setShowData(ShowExtension::withMusic({}, {x, y}));
    dialogSeams().getOpenFileNames = [&](QWidget*, const QString&, const QString&, const QString&) {
        return QStringList{z};
    };
    const int steps = show().history().count();
    QTimer poll;
    bool seen = false;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->objectName() != "MusicDialog")
            return;
        poll.stop();
        seen = true;
        auto* list = dialog->findChild<QListWidget*>("MusicList");
        EXPECT_EQ(list->count(), 2);
        EXPECT_EQ(list->item(0)->text(), QStringLiteral("x.wav (cannot be played)"));
        const auto press = [dialog](const char* name) { dialog->findChild<QPushButton*>(name)->click(); };
        list->setCurrentRow(1);
        press("MusicUpButton");
        EXPECT_EQ(ShowExtension::musicPaths(show().showData()), (QStringList{y, x}));
        press("RemoveMusicButton");
        press("AddMusicButton");
        EXPECT_EQ(ShowExtension::musicPaths(show().showData()), (QStringList{x, z}));
        dialog->findChild<QSlider*>("MusicLevelSlider")->setValue(40);
        dialog->reject();
    });
    poll.start(10);
    main().Music1Click();
    ASSERT_TRUE(seen);
    EXPECT_EQ(ShowExtension::musicLevel(show().showData()), 40);
    EXPECT_EQ(show().history().count(), steps + 4);
    show().undo();
    EXPECT_EQ(ShowExtension::musicLevel(show().showData()), 100);
    EXPECT_EQ(ShowExtension::musicPaths(show().showData()), (QStringList{x, z}));
}

// Edit > Tap Times to Music...: each Space ends the slide shown at that moment of the music, to the
// tenth of a second; Done keeps the times tapped as one step, the slides not reached keep theirs, and
// Esc keeps every time as it was.
TEST_F(FileMenu, TappedTimesEndEachSlideWhereSpaceWasPressed) {
    FakeWaitClock clock;
    addSlides(3);
    show().setShowData(ShowExtension::withMusic({}, {dir.filePath("tune.wav")}));
    const int steps = show().history().count();
    const auto tapping = [this](std::function<void(QDialog&)> inside) {
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || dialog->objectName() != "TapTimesDialog")
                return;
            poll.stop();
            inside(*dialog);
        });
        poll.start(10);
        main().TapTimes1Click();
    };
    tapping([&clock](QDialog& dialog) {
        clock.advance(2540);
        QTest::keyClick(&dialog, Qt::Key_Space);
        clock.advance(1230);
        QTest::keyClick(&dialog, Qt::Key_Space);
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(show().history().count(), steps) << "Esc keeps the times";
    tapping([&clock](QDialog& dialog) {
        clock.advance(2540);
        QTest::keyClick(&dialog, Qt::Key_Space);
        clock.advance(1230);
        QTest::keyClick(&dialog, Qt::Key_Space);
        dialog.findChild<QPushButton*>("TapDoneButton")->click();
    });
    EXPECT_EQ(show().timeMs(0), 2500);
    EXPECT_EQ(show().timeMs(1), 1200);
    EXPECT_EQ(show().timeMs(2), show().defaultDelay() * 1000);
    EXPECT_EQ(show().history().count(), steps + 1);
    EXPECT_EQ(show().history().undoText(), "Tap Times to Music");
}

TEST_F(FileMenu, OpenAsksForTheFileFirstAndACancelAnywhereKeepsTheShow) {
    const QString other = savedShow("other.vrs", 1);
    main().FileNew();
    const QString mine = savedShow("mine.vrs", 3);
    addOne(); // changed since it was saved

    // No file chosen: nothing is asked and nothing changes.
    main().FileOpen();
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(show().SlideCount, 4);
    EXPECT_EQ(showName().text(), mine);

    // A file chosen, then Cancel to the question about the changes.
    openAnswer = other;
    answer("Button2");
    main().FileOpen();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(show().SlideCount, 4);
    EXPECT_TRUE(show().ShowModified);
    EXPECT_EQ(showName().text(), mine);

    // No: the chosen show is read.
    answer("Button1");
    main().FileOpen();
    EXPECT_EQ(show().SlideCount, 1);
    EXPECT_EQ(showName().text(), other);
}

TEST_F(FileMenu, RecentShowsAreListedNewestFirstOnceAndMissingOnesDropped) {
    ASSERT_FALSE(recentMenu()->menuAction()->isEnabled());
    const QString first = savedShow("first.vrs", 1);
    main().FileNew();
    const QString second = savedShow("second.vrs", 2);
    main().FileNew();
    openAnswer = first;
    main().FileOpen();
    EXPECT_EQ(recentItems(), QStringList({"&1 " + first, "&2 " + second}));
    EXPECT_TRUE(recentMenu()->menuAction()->isEnabled());

    // The desktop's list knows the show, for this program.
    const QByteArray desktopList = fileBytes(recentlyUsedListPath());
    EXPECT_TRUE(desktopList.contains(QUrl::fromLocalFile(second).toEncoded()));
    EXPECT_TRUE(desktopList.contains("application/x-verasco-show"));
    EXPECT_TRUE(desktopList.contains("name=\"Verasco\""));

    // Choosing an entry opens that show.
    main().FileMenuClick();
    recentMenu()->findChild<QAction*>("RecentVerasco2")->trigger();
    EXPECT_EQ(show().SlideCount, 2);
    EXPECT_EQ(showName().text(), second);

    // A show whose file has gone leaves the list; the list lasts to the next run.
    ASSERT_TRUE(QFile::remove(first));
    EXPECT_EQ(recentItems(), QStringList({"&1 " + second}));
    EXPECT_TRUE(main().close());
    windows.reset(createAppWindows());
    EXPECT_EQ(recentItems(), QStringList({"&1 " + second}));
}

// The shortcuts act as their menu items do, and not while their item would be unavailable.
TEST_F(FileMenu, ShortcutsActThroughTheWindow) {
    main().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main(), ConditionWaitMs));
    int openDialogs = 0;
    dialogSeams().getOpenFileName = [&](QWidget*, const QString&, const QString&, const QString&) {
        ++openDialogs;
        return QString();
    };
    press(Qt::CTRL | Qt::Key_S); // no slides: nothing to save
    EXPECT_EQ(saveDialogs, 0);

    addSlides(2);
    saveAnswers = {dir.filePath("keys.vrs")};
    press(Qt::CTRL | Qt::Key_S);
    EXPECT_EQ(saveDialogs, 1);
    addOne();
    press(Qt::CTRL | Qt::Key_S);
    EXPECT_EQ(saveDialogs, 1);
    EXPECT_EQ(fileBytes(dir.filePath("keys.vrs")), ShowFile::encode(show()));
    press(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
    EXPECT_EQ(saveDialogs, 2);

    press(Qt::CTRL | Qt::Key_O);
    EXPECT_EQ(openDialogs, 1);
    press(Qt::CTRL | Qt::Key_N); // saved, so cleared without a question
    EXPECT_EQ(show().SlideCount, 0);
    EXPECT_TRUE(asked.empty());
    press(Qt::CTRL | Qt::Key_Q);
    EXPECT_FALSE(main().isVisible());
}

} // namespace
