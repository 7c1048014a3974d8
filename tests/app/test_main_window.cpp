// SPDX-License-Identifier: MIT
// The main window as the program builds it: its windows, menu, fixed client area, help and about
// box, and the images that reach it from the command line, a drop or a later start.

#include "about_box.h"
#include "app_windows.h"
#include "condition_wait.h"
#include "deferred_icon_style.h"
#include "help_sections.h"
#include "main_window.h"
#include "ovc_table.h"
#include "settings_store.h"
#include "test_pictures.h"
#include "test_shows.h"
#include "version.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QWheelEvent>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace {
class MainWindow : public ::testing::Test {
  protected:
    void SetUp() override { windows.reset(createAppWindows()); }
    TMainFormverasco& main() { return *windows->MainFormverasco; }
    QString label7() { return main().findChild<QLabel*>("Label7")->text(); }

    // A picture made in the test's folder.
    QString picture(const QString& name) { return test_pictures::make(dir.path(), name); }
    // n copies of a small picture in a temporary folder.
    QStringList copies(int n) {
        const QString original = test_pictures::make(dir.path(), "original.png", {1, 1});
        QStringList paths;
        for (int i = 0; i < n; ++i) {
            const QString path = dir.filePath(QStringLiteral("pic%1.png").arg(i, 3, 10, QLatin1Char('0')));
            EXPECT_TRUE(QFile::copy(original, path));
            paths.append(path);
        }
        return paths;
    }

    QTemporaryDir dir;
    std::unique_ptr<AppWindows> windows;
};

TEST_F(MainWindow, WindowsAreCreatedInOrderWithTheirCaptions) {
    EXPECT_EQ(main().windowTitle(), QStringLiteral("Morvant Verasco"));
    EXPECT_EQ(main().objectName(), QStringLiteral("MainFormverasco"));
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"textdlg", "Image Properties"},    {"picfrm", "Morvant Verasco"},
        {"confirmfrm", "Confirm"},          {"saveexedlg", "Stand-alone Verasco Settings"},
        {"print1Dlg", "Print Image"},       {"srchform", "Find Image"},
        {"selectDlg", "Select Images"},     {"AboutBox", "About"},
        {"prefFrm", "Verasco Preferences"}, {"showFrm", "Verasco Viewer"},
        {"previewfrm", "Preview Image"},    {"printdlg", "Print Verasco"}};
    std::vector<std::pair<std::string, std::string>> actual;
    for (QWidget* child : main().findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isWindow())
            actual.emplace_back(child->objectName().toStdString(), child->windowTitle().toStdString());
    EXPECT_EQ(actual, expected);
}

// The client area starts at 588 x 414, its least size; a larger window keeps the controls above the
// grids in their order, centred across, and gives the grids its height and its width: the show grid
// shows more rows, and more columns as they fit.
TEST_F(MainWindow, TheWindowStartsAt588By414AndItsGridsGrowWithIt) {
    QWidget* client = main().centralWidget();
    main().resize(main().minimumSizeHint()); // as the program starts it
    main().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main(), ConditionWaitMs));
    EXPECT_EQ(client->size(), QSize(588, 414));
    EXPECT_EQ(client->minimumSize(), QSize(588, 414));
    EXPECT_TRUE(main().windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(main().windowFlags() & Qt::WindowMinimizeButtonHint);
    const auto* grid = main().findChild<TOvcTable*>("OvcTable2");
    EXPECT_EQ(grid->ColumnCount(), 5);
    EXPECT_EQ(grid->ColumnWidth(), 76);
    EXPECT_EQ(grid->RowHeight(), 73);
    EXPECT_EQ(grid->fullyVisibleRows(), 4);
    EXPECT_EQ(label7(), QStringLiteral("Images: 0"));

    const auto place = [this](const char* name) { return main().findChild<QWidget*>(name)->geometry(); };
    const QRect folderPanel = place("Panel6"), showPanel = place("Panel7"), edit = place("Edit1"),
                add = place("BitBtn1"), count = place("Label7");
    EXPECT_EQ(folderPanel, QRect(15, 88, 101, 302));
    EXPECT_EQ(showPanel, QRect(170, 88, 405, 302));
    main().resize(main().size() + QSize(200, 146));
    ASSERT_TRUE(QTest::qWaitFor([&] { return client->size() == QSize(788, 560); }, ConditionWaitMs));
    EXPECT_EQ(place("Panel6"), folderPanel.adjusted(0, 0, 0, 146));
    EXPECT_EQ(place("Panel7"), showPanel.adjusted(0, 0, 200, 146));
    EXPECT_EQ(place("Edit1"), edit.translated(100, 0));
    EXPECT_EQ(place("BitBtn1"), add.translated(0, 73));
    EXPECT_EQ(place("Label7"), count.translated(0, 146));
    // The show's running time stays at the right end under the show grid, clear of the count.
    EXPECT_EQ(place("ShowTimeLabel").right(), place("Panel7").right() - 4);
    EXPECT_GT(place("ShowTimeLabel").left(), place("Label7").right());
    EXPECT_EQ(grid->fullyVisibleRows(), 6);
    EXPECT_EQ(grid->ColumnCount(), 7);
}

// The thumbnails grow and shrink in steps between the start size and 256 pixels, from the View
// menu, its keys and Ctrl with the wheel over either grid; both grids' cells follow, the show grid
// has as many columns as its width holds (five at the start size), the slides keep their order and
// the active one stays active, and the size chosen is there at the next start.
TEST_F(MainWindow, ThumbnailsGrowInStepsAndTheShowGridFillsTheWindowsWidth) {
    QWidget* client = main().centralWidget();
    main().resize(main().minimumSizeHint());
    main().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main(), ConditionWaitMs));
    main().processCommandLine(copies(20));
    ASSERT_TRUE(QTest::qWaitFor([this] { return main().document().SlideCount == 20; }, ConditionWaitMs));
    auto* folderGrid = main().findChild<TOvcTable*>("OvcTable1");
    auto* grid = main().findChild<TOvcTable*>("OvcTable2");
    grid->setActiveCell(2, 2); // slide 12
    const auto wheel = [](TOvcTable* over, int notches) {
        QWheelEvent turn(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, notches * 120), Qt::NoButton,
                         Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(over->viewport(), &turn);
    };
    const auto menu = [this](const char* item) {
        main().findChild<QAction*>(QLatin1String(item))->trigger();
    };
    const auto key = [this](Qt::Key k) { QTest::keyClick(&main(), k, Qt::ControlModifier); };
    const struct {
        std::function<void()> act;
        int width;
        int columns;
    } steps[] = {{[&] { menu("SmallerThumbnails1"); }, 80, 5},
                 {[&] { menu("LargerThumbnails1"); }, 96, 3},
                 {[&] { key(Qt::Key_Equal); }, 128, 2},
                 {[&] { key(Qt::Key_Plus); }, 160, 1},
                 {[&] { wheel(grid, 1); }, 192, 1},
                 {[&] { wheel(folderGrid, 2); }, 256, 1},
                 {[&] { menu("LargerThumbnails1"); }, 256, 1},
                 {[&] { main().resize(1400, main().height()); }, 256, 4},
                 {[&] { key(Qt::Key_Minus); }, 224, 4},
                 {[&] { wheel(grid, -4); }, 96, 12},
                 {[&] { menu("SmallerThumbnails1"); }, 80, 15},
                 {[&] { menu("SmallerThumbnails1"); }, 80, 15}};
    for (const auto& step : steps) {
        step.act();
        ASSERT_TRUE(QTest::qWaitFor([&] { return grid->ColumnCount() == step.columns; }, ConditionWaitMs))
            << step.width << " " << grid->ColumnCount();
        EXPECT_EQ(main().settings().ThumbnailSize, step.width);
        for (const TOvcTable* each : {folderGrid, grid})
            EXPECT_EQ(each->ColumnWidth(), step.width - 4) << step.width;
        EXPECT_GE(client->width(), 2 * step.width + 124) << step.width; // a column of either grid
        EXPECT_EQ(grid->ActiveRow() * step.columns + grid->ActiveCol(), 12) << step.width;
        // The slides in view are drawn anew at the size chosen once they are painted and their
        // pictures have arrived.
        QImage shown(grid->viewport()->size(), QImage::Format_RGB32);
        grid->viewport()->render(&shown);
        const int lastInView = std::min(19, (grid->TopRow() + 1) * step.columns - 1);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return main().document().thumbnail(lastInView).deviceIndependentSize().width() == step.width;
            },
            ConditionWaitMs))
            << step.width;
    }

    // Written once the program waits for events, as its own event loop does.
    const auto stored = [](const QByteArray& size) {
        QFile ini(SettingsStore::defaultLocation());
        const auto written = [&] {
            ini.close();
            return ini.open(QIODevice::ReadOnly) && ini.readAll().contains("THUMBNAIL%20SIZE=" + size);
        };
        QEventLoop loop;
        QTimer check;
        QObject::connect(&check, &QTimer::timeout, [&] {
            if (written())
                loop.quit();
        });
        check.start(10);
        QTimer::singleShot(ConditionWaitMs, &loop, &QEventLoop::quit);
        loop.exec();
        return written();
    };
    menu("LargerThumbnails1");
    ASSERT_TRUE(stored("96"));
    windows.reset(createAppWindows());
    EXPECT_EQ(main().settings().ThumbnailSize, 96);
    EXPECT_EQ(main().findChild<TOvcTable*>("OvcTable2")->ColumnWidth(), 92);
    main().setThumbnailSize(80);
    EXPECT_TRUE(stored("80"));
}

TEST_F(MainWindow, MenuHoldsEveryCommandWithItsCaptionAndShortcut) {
    const std::vector<std::tuple<const char*, const char*, QKeySequence>> items = {
        {"FileNewItem", "Create &New Verasco", QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"FileOpenItem", "&Open Existing Verasco...", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"FileSaveAsItem", "&Save Verasco...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
        {"SaveStandaloneSlideShow1", "Sa&ve Stand-alone Verasco...", {}},
        {"PrintSlide1", "Print &Image...", {}},
        {"FilePrintItem", "Print Ver&asco...", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {"FilePrintSetupItem", "P&rint Setup...", {}},
        {"FileExitItem", "E&xit", QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {"SaveVideo1", "Save as Vi&deo...", {}},
        {"SaveWebPage1", "Save as &Web Page...", {}},
        {"FileSaveItem", "Sav&e", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"EditCutItem", "Cu&t", QKeySequence(Qt::CTRL | Qt::Key_X)},
        {"EditCopyItem", "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C)},
        {"EditPasteItem", "&Paste", QKeySequence(Qt::CTRL | Qt::Key_V)},
        {"Clear1", "Cle&ar", QKeySequence(Qt::Key_Delete)},
        {"ClearAll1", "Cl&ear All", {}},
        {"SelectAll1", "Select A&ll", QKeySequence(Qt::CTRL | Qt::Key_A)},
        {"SortByDate1", "By &Date Taken", {}},
        {"SortByName1", "By &Name", {}},
        {"SortReverse1", "&Reverse", {}},
        {"SlideProperties1", "Image Pr&operties...", {}},
        {"Preferences1", "Verasco P&references...", {}},
        {"Music1", "&Music...", {}},
        {"FitToMusic1", "&Fit Slides to Music", {}},
        {"TapTimes1", "&Tap Times to Music...", {}},
        {"RefreshCaptions1", "Refresh Captions", {}},
        {"SingleSlide1", "&Image", {}},
        {"Slideshow1", "Ver&asco", {}},
        {"LargerThumbnails1", "&Larger Thumbnails", QKeySequence(Qt::CTRL | Qt::Key_Plus)},
        {"SmallerThumbnails1", "&Smaller Thumbnails", QKeySequence(Qt::CTRL | Qt::Key_Minus)},
        {"HelpContentsItem", "&Help Topics", QKeySequence(Qt::Key_F1)},
        {"HelpAboutItem", "&About Verasco...", {}}};
    for (const auto& [name, caption, shortcut] : items) {
        const auto* action = main().findChild<QAction*>(QLatin1String(name));
        ASSERT_NE(action, nullptr) << name;
        EXPECT_EQ(action->text(), QLatin1String(caption)) << name;
        EXPECT_EQ(action->shortcut(), shortcut) << name;
    }
    for (const char* menu : {"FileMenu", "EditMenu", "SortMenu", "View1", "HelpMenu"})
        EXPECT_NE(main().findChild<QMenu*>(QLatin1String(menu)), nullptr) << menu;
    // The sorts stand in their own submenu of Edit, just before the slide's properties.
    const QMenu* sort = main().findChild<QMenu*>("SortMenu");
    EXPECT_EQ(sort->title(), QStringLiteral("&Sort Slides"));
    const QList<QAction*> edit = main().findChild<QMenu*>("EditMenu")->actions();
    const qsizetype at = edit.indexOf(sort->menuAction());
    ASSERT_GE(at, 0);
    EXPECT_EQ(edit.value(at + 1)->objectName(), QStringLiteral("SlideProperties1"));
}

TEST_F(MainWindow, EditingCommandsCarryTheirHints) {
    const std::pair<const char*, const char*> hints[] = {{"BitBtn1", "Add selected photo"},
                                                         {"BitBtn3", "Add all photos"},
                                                         {"EditCutItem", "Delete selected item"},
                                                         {"EditCopyItem", "Copy selected item to clipboard"},
                                                         {"EditPasteItem", "Paste contents of clipboard"}};
    for (const auto& [name, hint] : hints) {
        const QObject* command = main().findChild<QObject*>(QLatin1String(name));
        ASSERT_NE(command, nullptr) << name;
        EXPECT_EQ(command->property("toolTip").toString(), QLatin1String(hint)) << name;
    }
    EXPECT_TRUE(main().findChild<QMenu*>("EditMenu")->toolTipsVisible());
}

TEST_F(MainWindow, HelpTopicsOpenTheHelpAtItsSection) {
    main().findChild<QAction*>("HelpContentsItem")->trigger();
    QTextBrowser* help = helpViewerWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->source().isLocalFile());
    EXPECT_TRUE(help->toHtml().contains(helpAnchor(9)));
    EXPECT_EQ(helpHeadingShown(), "Help Topics");
    help->close();
}

TEST_F(MainWindow, AboutBoxNamesTheProductVersionLicenceAndTheMakersPage) {
    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto* box = main().findChild<TAboutBox*>("AboutBox");
        shown = box && box->isVisible();
        if (!box)
            return;
        EXPECT_TRUE(box->findChild<QLabel*>("ProductName")->text().contains("Verasco"));
        EXPECT_EQ(box->findChild<QLabel*>("Version")->text(), QStringLiteral("Version ") + VerascoVersion);
        EXPECT_TRUE(box->findChild<QLabel*>("Licence")->text().contains("MIT"));
        EXPECT_TRUE(box->findChild<QLabel*>("WebPage")->openExternalLinks());
        QTest::mouseClick(box->findChild<QPushButton*>("OKButton"), Qt::LeftButton);
    });
    main().findChild<QAction*>("HelpAboutItem")->trigger();
    EXPECT_TRUE(shown);
}

TEST_F(MainWindow, CommandLineImagesAreAppendedInOrder) {
    QFile notes(dir.filePath("README.txt"));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.close();
    const QStringList args = {picture("flower.jpg"), dir.filePath("nothing-here.jpg"),
                              picture("ladybird.png"), notes.fileName(), picture("storm_pal8.pcx")};
    main().processCommandLine(args);
    ASSERT_EQ(main().document().SlideCount, 3);
    EXPECT_EQ(main().document().imagePath(2), args[4]);
    EXPECT_EQ(label7(), QStringLiteral("Images: 3") + QString(24, ' '));
    EXPECT_EQ(main().findChild<TOvcTable*>("OvcTable2")->RowLimit(), 1);
    // The show's running time follows its slides' times, to the tenth, rounded up to the second.
    const auto* length = main().findChild<QLabel*>("ShowTimeLabel");
    EXPECT_EQ(length->text(), QStringLiteral("0:15"));
    ShowSlide slide = main().document().at(0);
    SlideTimes::setTimeMs(slide.record, slide.extra, 2400);
    main().document().replace(0, slide);
    EXPECT_EQ(length->text(), QStringLiteral("0:13"));
}

TEST_F(MainWindow, DropOfSixHundredFilesAppendsFiveHundred) {
    main().DropFiles(copies(600));
    EXPECT_EQ(main().document().SlideCount, 500);
    EXPECT_EQ(main().document().slide(499).ImageFile.str(), dir.filePath("pic499.png").toStdString());
    EXPECT_EQ(main().findChild<TOvcTable*>("OvcTable2")->RowLimit(), 100);
    EXPECT_TRUE(main().document().ShowModified);
}

TEST_F(MainWindow, HandedOverPathsAreCheckedBeforeTheyAreAppended) {
    for (const QString& ignored : {QString(), QStringLiteral("   "), dir.filePath("missing.png")})
        main().CopyDataReceived(ignored);
    EXPECT_EQ(main().document().SlideCount, 0);

    main().CopyDataReceived(QStringLiteral("  ") + picture("flower.bmp") + " ");
    EXPECT_EQ(main().document().SlideCount, 1);

    test_shows::fill(main().document(), 500);
    main().CopyDataReceived(picture("flower.png"));
    EXPECT_EQ(main().document().SlideCount, 500);
}

TEST_F(MainWindow, MenuBarArrowIsFetchedWhenDrawnAndLooksLikeTheStylesOwn) {
    auto* style = qobject_cast<QProxyStyle*>(QApplication::style());
    ASSERT_NE(style, nullptr);
    for (const auto which :
         {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton}) {
        const QImage deferred = style->standardIcon(which).pixmap(16).toImage();
        EXPECT_FALSE(deferred.isNull());
        EXPECT_EQ(deferred, style->baseStyle()->standardIcon(which).pixmap(16).toImage());
    }
}
TEST_F(MainWindow, APathTooLongToStoreIsRefusedAndNamed) {
    // Under 255 characters, but more than 255 bytes once stored.
    const QString deep = dir.filePath(QString(120, QChar(0xE9)));
    ASSERT_TRUE(QDir().mkpath(deep));
    const QString wide = test_pictures::make(deep, "wide.png");
    ASSERT_LT(wide.size(), 255);
    main().processCommandLine({wide, picture("fits.png")});
    EXPECT_EQ(main().document().SlideCount, 1);
    EXPECT_EQ(label7(), QStringLiteral("Path too long: wide.png"));
    main().DropFiles({wide});
    EXPECT_EQ(main().document().SlideCount, 1);
    EXPECT_EQ(label7(), QStringLiteral("Path too long: wide.png"));
}

TEST_F(MainWindow, ClosingTheMainWindowClosesTheHelpSoTheProgramEnds) {
    main().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main(), ConditionWaitMs));
    QTimer::singleShot(0, &main(), [this] {
        QTest::keyClick(&main(), Qt::Key_F1);
        EXPECT_TRUE(helpViewerWindow() && helpViewerWindow()->isVisible());
        QCloseEvent closeBox;
        QCoreApplication::sendEvent(main().windowHandle(), &closeBox);
    });
    // The event loop ends by itself once no window is left, as the program's does.
    QTimer stillRunning;
    QObject::connect(&stillRunning, &QTimer::timeout, [] { QCoreApplication::exit(2); });
    stillRunning.start(30000);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(helpViewerWindow() && helpViewerWindow()->isVisible());
}

// A preference changed in its window is in the settings file as soon as the program waits again, not
// only when the window closes: a program that is killed keeps it.
TEST_F(MainWindow, AChangedPreferenceIsWrittenBeforeTheProgramEnds) {
    QFile ini(SettingsStore::defaultLocation());
    const auto stored = [&ini] {
        ini.close();
        return ini.open(QIODevice::ReadOnly) && ini.readAll().contains("CROSS%20FADE=1");
    };
    ASSERT_FALSE(stored());
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->objectName() != "prefFrm")
            return;
        poll.stop();
        QTest::mouseClick(dialog->findChild<QCheckBox*>("CrossFadeBox"), Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    });
    poll.start(5);
    main().findChild<QAction*>("Preferences1")->trigger();
    // An event loop that waits for events between them, as the program's own does.
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (stored())
            loop.quit();
    });
    check.start(10);
    QTimer::singleShot(ConditionWaitMs, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_TRUE(stored());
}

TEST_F(MainWindow, TitleBarsShowTheCaptionsAlone) {
    // The platform appends an application display name, once one is set, to every title bar.
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config; // the user's own settings stay untouched
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    useTheHelpOfTheSourceTree();
    QApplication app(argc, argv);
    QApplication::setStyle(new DeferredIconStyle(QApplication::style()->name()));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
