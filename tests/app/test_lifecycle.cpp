// SPDX-License-Identifier: MIT
// The show as a whole, driven through the real main window and its real confirmation dialog:
// Clear All, Open, Save, the typed show name, closing, and a show named on the command line.
// Only the platform's file dialogs are answered by the test.

#include "lifecycle_fixture.h"

#include <QUndoStack>

#include <cerrno>
#include <cstring>

namespace {
using namespace lifecycle_test;

TEST_F(Lifecycle, ClearAllOfAnUnchangedShowDoesNotAsk) {
    addSlides(3);
    show().markOpened();
    main().FileNew();
    EXPECT_EQ(show().SlideCount, 0);
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(main().findChild<TOvcTable*>("OvcTable2")->RowLimit(), 1);
    EXPECT_EQ(main().findChild<QLabel*>("Label7")->text(), QStringLiteral("Images: 0") + QString(24, ' '));
}

TEST_F(Lifecycle, ClearAllAnsweredCancelOrWithTheSaveDialogCancelledKeepsTheShow) {
    addSlides(3);
    answer("Button2");
    main().FileNew();
    EXPECT_EQ(show().SlideCount, 3);
    EXPECT_TRUE(show().ShowModified);

    // Enter answers Yes: a key pressed out of habit keeps the changes. No name in the save dialog.
    whenAsked([this] { QTest::keyClick(confirm, Qt::Key_Return); });
    main().FileNew();
    EXPECT_EQ(saveDialogs, 1);
    EXPECT_EQ(show().SlideCount, 3);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].line1, QStringLiteral("Do you want to save the changes you made?"));
    EXPECT_EQ(asked[0].caption, QStringLiteral("Confirm"));
}

TEST_F(Lifecycle, ClearAllNamesTheShowWhenItHasAShowFileName) {
    const QString longName = "/holidays/" + QString(120, QLatin1Char('x')) + "/summer.vrs";
    for (const QString& name :
         {QStringLiteral("/shows/holiday.vrs"), longName, QStringLiteral("/data/my.shows/holiday.vrs")}) {
        addSlides(1);
        showName().setText(name);
        answer("Button1");
        main().FileNew();
    }
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[0].line1, QStringLiteral("Do you want to save the changes you made to"));
    EXPECT_EQ(asked[0].line2, QStringLiteral("\"/shows/holiday.vrs\"?"));
    // Too wide for the line: shortened in the middle, both ends kept.
    EXPECT_TRUE(asked[1].line2.contains(QStringLiteral("...")));
    EXPECT_TRUE(asked[1].line2.startsWith(QStringLiteral("\"/holidays/x")));
    EXPECT_TRUE(asked[1].line2.endsWith(QStringLiteral("x/summer.vrs\"?")));
    EXPECT_LT(asked[1].line2.size(), longName.size());
    // A dot in a folder name is no extension.
    EXPECT_EQ(asked[2].line2, QStringLiteral("\"/data/my.shows/holiday.vrs\"?"));
    EXPECT_EQ(show().SlideCount, 0);
}

// Also in a folder with a dot in its name, as many are on Linux (j.smith, ~/.local).
TEST_F(Lifecycle, SaveAppendsTheExtensionAndWritesTheShow) {
    addSlides(3);
    const QString folder = dir.filePath("j.smith");
    ASSERT_TRUE(QDir().mkpath(folder));
    main().settings().SlideDirectory = folder;
    saveAnswers = {folder + "/trip"};
    EXPECT_TRUE(main().FileSaveAs());
    const QString written = folder + "/trip.vrs";
    EXPECT_EQ(QFileInfo(written).size(), 2495);
    EXPECT_FALSE(show().ShowModified);
    EXPECT_EQ(showName().text(), written);
    EXPECT_EQ(saveDialogStart, folder + "/show.vrs");

    // Saved, cleared and opened again, the show is the same show byte for byte.
    QFile file(written);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    main().FileNew();
    openAnswer = folder + "/trip";
    main().FileOpen();
    EXPECT_EQ(show().SlideCount, 3);
    EXPECT_FALSE(show().ShowModified);
    EXPECT_EQ(ShowFile::encode(show()), before);
}

TEST_F(Lifecycle, OverwriteAnsweredNoAsksForAnotherName) {
    addSlides(2);
    QFile old(dir.filePath("old.vrs"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("keep me");
    old.close();
    saveAnswers = {dir.filePath("old.vrs"), dir.filePath("new.vrs")};
    whenAsked([this] { QTest::keyClick(confirm, Qt::Key_Return); }); // Enter is No in this question
    EXPECT_TRUE(main().FileSaveAs());
    EXPECT_EQ(saveDialogs, 2);
    EXPECT_EQ(asked.at(0).line1, QStringLiteral("File already exists, overwrite older file?"));
    EXPECT_EQ(QFileInfo(dir.filePath("old.vrs")).size(), 7);
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("new.vrs")));
}

TEST_F(Lifecycle, FailedSaveIsReportedAndKeepsTheShow) {
    addSlides(2);
    QFile blocker(dir.filePath("notafolder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    saveAnswers = {dir.filePath("notafolder/show.vrs")};
    answer("Button3"); // Yes, save
    answer("Button1"); // OK on the error
    main().FileNew();
    EXPECT_EQ(show().SlideCount, 2);
    EXPECT_TRUE(show().ShowModified);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1].caption, QStringLiteral("Error"));
    EXPECT_EQ(asked[1].line2, QString::fromLocal8Bit(std::strerror(ENOTDIR))); // the system's reason
    EXPECT_EQ(confirm->windowTitle(), QStringLiteral("Confirm"));
}

TEST_F(Lifecycle, SavingWhereNoNewFileCanBeMadeNamesTheFolderAndKeepsTheEarlierShow) {
    const QString folder = dir.filePath("locked");
    ASSERT_TRUE(QDir().mkdir(folder));
    SmallTmpfs disk(folder.toStdString());
    if (!disk.mounted())
        GTEST_SKIP() << "a read-only folder for every user needs a mount, which needs root";
    const QString earlier = folder + "/trip.vrs";
    QFile file(earlier);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("earlier show");
    file.close();
    ASSERT_TRUE(disk.makeReadOnly());
    addSlides(2);
    saveAnswers = {earlier};
    answer("Button3"); // Yes, overwrite
    answer("Button1"); // OK on the message
    EXPECT_FALSE(main().FileSaveAs());
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1].caption, QStringLiteral("Error"));
    EXPECT_EQ(asked[1].line1,
              QStringLiteral("The folder %1 cannot be written; choose another place").arg(folder));
    EXPECT_TRUE(show().ShowModified);
    EXPECT_EQ(fileBytes(earlier), QByteArray("earlier show"));
}

TEST_F(Lifecycle, OpeningAFileThatIsNoShowReportsIt) {
    QFile junk(dir.filePath("notes.txt"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("morvant rev1.00 but in lower case");
    junk.close();
    openAnswer = junk.fileName();
    answer("Button1");
    main().FileOpen();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].caption, QStringLiteral("Error"));
    EXPECT_EQ(asked[0].line1, QStringLiteral("Invalid Verasco File!"));
    EXPECT_EQ(show().SlideCount, 0);
}

TEST_F(Lifecycle, ShowMovedWithItsImagesIsRepairedAndSavedWithTheNewPaths) {
    // A show saved elsewhere (on another system) whose pictures now sit beside it.
    for (const char* name : {"flower.jpg", "storm_pal8.pcx"})
        ASSERT_FALSE(picture(name).isEmpty());
    // The last is on a drive that is not plugged in: it keeps its place and its path, bytes of Windows
    // and all.
    const std::string unplugged = "E:\\Caf\xe9\\missing.png";
    ShowDocument saved;
    test_shows::append(saved, {"C:\\Shows\\Pictures\\FLOWER.jpg", "/media/old/storm_pal8.pcx", unplugged});
    ASSERT_TRUE(ShowFile::write(dir.filePath("moved.vrs"), saved).ok);

    main().processCommandLine({dir.filePath("moved.vrs"), picture("ladybird.png")});
    ASSERT_EQ(show().SlideCount, 3);
    EXPECT_EQ(show().slide(1).ImageFile.str(), dir.filePath("storm_pal8.pcx").toStdString());
    EXPECT_EQ(show().slide(2).ImageFile.str(), unplugged);
    EXPECT_EQ(QColor(show().thumbnail(2).pixel(2, 2)), QColor(192, 192, 192)) << "drawn as missing";
    EXPECT_EQ(QColor(show().thumbnail(1).pixel(2, 2)), QColor(Qt::white));
    // The note follows the slides: other changes keep it, and Undo brings it back with its slide.
    const auto count = [this] { return main().findChild<QLabel*>("Label7")->text().trimmed(); };
    EXPECT_EQ(count(), QStringLiteral("Images: 3 (1 not found)"));
    show().remove(0);
    EXPECT_EQ(count(), QStringLiteral("Images: 2 (1 not found)"));
    show().remove(1);
    EXPECT_EQ(count(), QStringLiteral("Images: 1"));
    show().undo();
    show().undo();
    EXPECT_EQ(main().findChild<QLabel*>("Label7")->text(),
              QStringLiteral("Images: 3 (1 not found)") + QString(24, ' '));

    saveAnswers = {dir.filePath("again.vrs")};
    ASSERT_TRUE(main().FileSaveAs());
    ShowDocument reread;
    ASSERT_TRUE(ShowFile::read(dir.filePath("again.vrs"), reread).ok());
    EXPECT_EQ(reread.slide(1).ImageFile.str(), dir.filePath("storm_pal8.pcx").toStdString());
    EXPECT_EQ(reread.slide(2).ImageFile.str(), unplugged);
}

TEST_F(Lifecycle, ShowWithoutItsExtensionOpensFromTheCommandLineByItsHeader) {
    // As the desktop hands over a show renamed without ".vrs", which its file type still knows.
    ShowDocument saved;
    test_shows::append(saved, {"BLANK", "BLANK"});
    ASSERT_TRUE(ShowFile::write(dir.filePath("holiday"), saved).ok);
    QFile notes(dir.filePath("notes"));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("morvant rev1.00 is no show");
    notes.close();

    main().processCommandLine({notes.fileName(), picture("flower.jpg")});
    EXPECT_EQ(show().SlideCount, 1) << "not a show: every argument is tried as an image";
    EXPECT_TRUE(asked.empty());

    main().processCommandLine({dir.filePath("holiday"), picture("ladybird.png")});
    EXPECT_EQ(show().SlideCount, 2);
    EXPECT_EQ(showName().text(), dir.filePath("holiday"));
}

TEST_F(Lifecycle, TypedNameOfAMissingFileBringsBackThePreviousName) {
    focusShowName(QStringLiteral("/shows/old.vrs"));
    showName().setText(dir.filePath("nothing-here.vrs"));
    showName().clearFocus();
    EXPECT_EQ(showName().text(), QStringLiteral("/shows/old.vrs"));
}

TEST_F(Lifecycle, TypedNameOfAShowOpensIt) {
    addSlides(2);
    saveAnswers = {dir.filePath("typed.vrs")};
    ASSERT_TRUE(main().FileSaveAs());
    main().FileNew();
    focusShowName(QString());
    showName().setText(QStringLiteral("  ") + dir.filePath("typed.vrs"));
    QTest::keyClick(&showName(), Qt::Key_Return);
    EXPECT_EQ(show().SlideCount, 2);
    EXPECT_EQ(showName().text(), QStringLiteral("  ") + dir.filePath("typed.vrs"));
}

// A show opened from the file manager while Verasco runs: opened there, once the open show's
// changes have been asked about; Cancel keeps the open show.
TEST_F(Lifecycle, AShowHandedOverByALaterStartOpens) {
    addSlides(1);
    saveAnswers = {dir.filePath("other.vrs")};
    ASSERT_TRUE(main().FileSaveAs());
    main().FileNew();
    addSlides(2);
    for (const char* button : {"Button2", "Button1"}) {
        SCOPED_TRACE(button);
        answer(button);
        main().CopyDataReceived(dir.filePath("other.vrs"));
        EXPECT_EQ(show().SlideCount, 2) << "opened only once the later start has had its answer";
        ASSERT_TRUE(QTest::qWaitFor([this] { return !asked.empty(); }, ConditionWaitMs));
        asked.clear();
    }
    EXPECT_EQ(show().SlideCount, 1);
    EXPECT_FALSE(show().ShowModified);
    EXPECT_EQ(showName().text(), dir.filePath("other.vrs"));
}

TEST_F(Lifecycle, ClosingAChangedShowAsks) {
    addSlides(2);
    answer("Button2"); // Cancel keeps the program open
    EXPECT_FALSE(main().FormCloseQuery());
    EXPECT_EQ(show().SlideCount, 2);
    answer("Button1"); // No closes without saving
    EXPECT_TRUE(main().FormCloseQuery());
    EXPECT_EQ(saveDialogs, 0);

    // Every slide of a new show deleted: it is the empty show it began as, nothing to ask.
    show().remove(0, 2);
    EXPECT_FALSE(show().ShowModified);
    EXPECT_TRUE(main().FormCloseQuery());
    EXPECT_EQ(asked.size(), 2u);
}

// A show read or saved and then emptied differs from it: closing, Clear All and Open ask first, a
// cancel keeps the steps that bring the slides back, and Yes saves the empty show in its own file,
// as File > Save does, without asking for a name.
TEST_F(Lifecycle, AnEmptiedShowIsAskedAboutBeforeItGoes) {
    const std::pair<QString, std::function<bool()>> commands[] = {
        {"close", [this] { return main().FormCloseQuery(); }},
        {"clear all",
         [this] {
             main().FileNew();
             return show().SlideCount == 0 && !show().history().canUndo();
         }},
        {"open",
         [this] {
             main().FileOpen();
             return show().SlideCount == 2 && !show().history().canUndo();
         }},
    };
    for (const auto& [what, command] : commands) {
        SCOPED_TRACE(what.toStdString());
        show().clear();
        addSlides(2);
        saveAnswers = {dir.filePath(what + ".vrs")};
        ASSERT_TRUE(main().FileSaveAs());
        openAnswer = dir.filePath(what + ".vrs");
        show().remove(0, 2);
        asked.clear();
        answer("Button2"); // Cancel
        EXPECT_FALSE(command());
        EXPECT_EQ(asked.size(), 1u);
        EXPECT_EQ(show().SlideCount, 0);
        show().undo();
        EXPECT_EQ(show().SlideCount, 2) << "the slides come back";
        show().redo();
    }
    whenAsked([this] { QTest::keyClick(confirm, Qt::Key_Return); }); // Yes
    const int dialogs = saveDialogs;
    EXPECT_TRUE(main().FormCloseQuery());
    EXPECT_EQ(saveDialogs, dialogs);
    ShowDocument read;
    EXPECT_TRUE(ShowFile::read(dir.filePath("open.vrs"), read).ok());
    EXPECT_EQ(read.SlideCount, 0);
    EXPECT_EQ(fileBytes(dir.filePath("open.vrs")).size(), ShowFile::HeaderSize);
}

// Files dropped on the window outside the show grid, or handed over by a second start, change the
// show only when a slide was added: closing afterwards asks about saving it then, and only then.
TEST_F(Lifecycle, ClosingAfterFilesDroppedOrHandedOverAsksOnlyWhenSlidesWereAdded) {
    QFile notes(dir.filePath("notes.txt"));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.close();
    const struct {
        bool handedOver;
        QStringList paths;
        int slides;
        bool asks;
    } rows[] = {
        {false, {picture("flower.jpg"), notes.fileName()}, 1, true},
        {false, {notes.fileName(), dir.filePath("gone.png")}, 0, false},
        {true, {picture("flower.jpg"), notes.fileName()}, 1, true},
        {true, {notes.fileName(), dir.filePath("gone.png")}, 0, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE((row.handedOver ? "handed over: " : "dropped: ") + row.paths.join(' ').toStdString());
        windows.reset(createAppWindows());
        confirm = windows->confirmfrm;
        poll = nullptr;
        asked.clear();
        main().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&main(), ConditionWaitMs));
        if (row.handedOver) {
            for (const QString& path : row.paths)
                main().CopyDataReceived(path);
        } else {
            dropOnWindow(row.paths);
        }
        ASSERT_EQ(show().SlideCount, row.slides);
        answer("Button2"); // Cancel keeps the program open
        EXPECT_EQ(main().close(), !row.asks);
        EXPECT_EQ(asked.size(), row.asks ? 1u : 0u);
        pendingAnswers.clear();
    }
}

// The window too: the first start at its design size, the next where and as large as it was left.
TEST_F(Lifecycle, SettingsSurviveTheNextRun) {
    main().settings().DefaultDelay = 9;
    main().settings().LoopSlideShow = false;
    main().settings().SlideDirectory = dir.path();
    main().placeAtStart();
    EXPECT_EQ(main().size(), main().minimumSizeHint());
    const QRect given(main().pos() + QPoint(7, 5), main().size() + QSize(31, 17));
    main().setGeometry(given);
    EXPECT_TRUE(main().close());
    windows.reset(createAppWindows());
    EXPECT_EQ(main().settings().DefaultDelay, 9);
    EXPECT_FALSE(main().settings().LoopSlideShow);
    EXPECT_EQ(main().settings().SlideDirectory, dir.path());
    EXPECT_EQ(main().document().defaultDelay(), 9);
    main().placeAtStart();
    EXPECT_EQ(main().geometry(), given);
}

TEST_F(Lifecycle, FileMenuOffersSavingOnlyWithSlides) {
    const char* const items[] = {"FileSaveAsItem", "SaveStandaloneSlideShow1", "SaveVideo1", "SaveWebPage1"};
    main().FileMenuClick();
    for (const char* item : items)
        EXPECT_FALSE(main().findChild<QAction*>(item)->isEnabled()) << item;
    addSlides(1);
    main().FileMenuClick();
    for (const char* item : items)
        EXPECT_TRUE(main().findChild<QAction*>(item)->isEnabled()) << item;
}

// The stand-alone show, the video and the web page propose the show's own name; a show without a file
// is "show".
TEST_F(Lifecycle, ExportsProposeTheShowsOwnName) {
    addSlides(2);
    main().settings().SlideDirectory = dir.path();
    const struct {
        const char* extension;
        std::function<void()> save;
    } exports[] = {
        {".exe", [this] { main().SaveStandaloneSlideShow1Click(); }},
        {".mp4", [this] { main().SaveVideo1Click(); }},
        {"", [this] { main().SaveWebPage1Click(); }},
    };
    for (const QString name : {"show", "holiday"}) {
        if (name == "holiday") {
            saveAnswers = {dir.filePath("holiday")};
            ASSERT_TRUE(main().FileSaveAs());
        }
        for (const auto& e : exports) {
            SCOPED_TRACE((name + e.extension).toStdString());
            e.save(); // and the dialog is cancelled
            EXPECT_EQ(saveDialogStart, dir.filePath(name + e.extension));
        }
    }
}

// The show file, the stand-alone show, the video and the web page alike: closing the overwrite question with
// Esc or its close box keeps the older file and asks for another name.
TEST_F(Lifecycle, OverwriteQuestionClosedWithEscOrItsCloseBoxKeepsTheOldFile) {
    addSlides(2);
    const struct {
        const char* file;
        std::function<void()> save;
    } targets[] = {
        {"old.vrs", [this] { EXPECT_FALSE(main().FileSaveAs()); }},
        {"show.exe", [this] { main().SaveStandaloneSlideShow1Click(); }},
        {"show.mp4", [this] { main().SaveVideo1Click(); }},
        {"page/index.html", [this] { main().SaveWebPage1Click(); }},
    };
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"Esc", [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); }},
        {"close box", [this] { clickCloseBox(confirm); }},
    };
    for (const auto& target : targets) {
        // An earlier page is chosen by its folder.
        const QString old = dir.filePath(target.file);
        const bool page = old.endsWith("/index.html");
        QDir().mkpath(QFileInfo(old).path());
        QFile file(old);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(page ? "<meta name=\"generator\" content=\"Verasco\"> keep me" : "keep me");
        file.close();
        const QByteArray kept = fileBytes(old);
        for (const auto& [way, close] : ways) {
            SCOPED_TRACE(std::string(target.file) + " " + way);
            asked.clear();
            saveDialogs = 0;
            saveAnswers = {page ? QFileInfo(old).path() : old}; // and then the dialog is cancelled
            whenAsked(close);
            target.save();
            EXPECT_EQ(saveDialogs, 2) << "asks for another name";
            EXPECT_EQ(fileBytes(old), kept);
            EXPECT_TRUE(show().ShowModified);
            ASSERT_EQ(asked.size(), 1u);
            EXPECT_EQ(asked[0].line1, QStringLiteral("File already exists, overwrite older file?"));
        }
    }
}

TEST_F(Lifecycle, OnlyFocusMovingToAnotherControlOpensATypedShowName) {
    ShowDocument typed;
    for (const char* name : {"a.png", "b.png", "c.png"})
        test_shows::append(typed, {test_shows::slide(typed, picture(name))});
    ASSERT_TRUE(ShowFile::write(dir.filePath("typed.vrs"), typed).ok);
    addSlides(2);
    answer("Button1", true); // No: drop the changes
    clickIntoEmptyShowName();
    QTest::keyClicks(&showName(), dir.filePath("typed.vrs"));

    // The File menu opened and closed again.
    auto* bar = main().menuBar();
    QMenu* fileMenu = main().findChild<QMenu*>("FileMenu");
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(fileMenu->menuAction()).center());
    ASSERT_TRUE(
        QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }, ConditionWaitMs));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    ASSERT_TRUE(
        QTest::qWaitFor([] { return QApplication::activePopupWidget() == nullptr; }, ConditionWaitMs));
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(show().SlideCount, 2);

    // Another program's window came to the front, then this one again.
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere, ConditionWaitMs));
    main().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main(), ConditionWaitMs));
    showName().setFocus(Qt::ActiveWindowFocusReason);
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(show().SlideCount, 2);

    // Tab to the next control: now the typed show is opened.
    QTest::keyClick(&showName(), Qt::Key_Tab);
    EXPECT_FALSE(showName().hasFocus());
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_EQ(show().SlideCount, 3);
}

TEST_F(Lifecycle, EnterOnAFileThatIsNoShowAsksOnceAndSaysSoOnce) {
    QFile junk(dir.filePath("notes.vrs"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("no show in here");
    junk.close();
    addSlides(2);
    answer("Button1", true);
    clickIntoEmptyShowName();
    QTest::keyClicks(&showName(), junk.fileName());
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& text) { warnings.append(text); });
    QTest::keyClick(&showName(), Qt::Key_Return);
    qInstallMessageHandler(previous);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].line1, QStringLiteral("Do you want to save the changes you made to"));
    EXPECT_EQ(asked[1].line1, QStringLiteral("Invalid Verasco File!"));
    EXPECT_TRUE(warnings.filter(QStringLiteral("Recursive")).isEmpty()) << warnings.join('\n').toStdString();
    EXPECT_EQ(confirm->windowTitle(), QStringLiteral("Confirm"));
    EXPECT_EQ(showName().text(), junk.fileName());
}

TEST_F(Lifecycle, AfterASaveTheSavedNameIsTheNameOfTheShow) {
    addSlides(2);
    answer("Button2", true);
    clickIntoEmptyShowName();
    saveAnswers = {dir.filePath("saved.vrs")};
    ASSERT_TRUE(main().FileSaveAs());
    show().remove(0); // changed again after the save
    QTest::keyClick(&showName(), Qt::Key_Tab);
    EXPECT_TRUE(asked.empty()) << "leaving the field is no command to open the show again";
    EXPECT_EQ(showName().text(), dir.filePath("saved.vrs"));
}

TEST_F(Lifecycle, APictureFoundUnderAPathTooLongToKeepIsNamedAndItsSlideKeepsItsPath) {
    // Under 255 characters, but more than 255 bytes once stored.
    const QString deep = dir.filePath(QString(120, QChar(0xE9)));
    ASSERT_TRUE(QDir().mkpath(deep));
    ASSERT_FALSE(test_pictures::make(deep, "beach.png").isEmpty());
    ShowDocument saved;
    test_shows::append(saved, {"C:\\Shows\\beach.png"});
    ASSERT_TRUE(ShowFile::write(deep + "/trip.vrs", saved).ok);
    answer("Button1");
    main().processCommandLine({deep + "/trip.vrs"});
    ASSERT_EQ(show().SlideCount, 1);
    EXPECT_EQ(show().slide(0).ImageFile.str(), "C:\\Shows\\beach.png");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].caption, QStringLiteral("Error"));
    EXPECT_EQ(asked[0].line1, QStringLiteral("Path too long to keep in the show:"));
    EXPECT_TRUE(asked[0].line2.endsWith(QStringLiteral("beach.png"))) << asked[0].line2.toStdString();
}

} // namespace
