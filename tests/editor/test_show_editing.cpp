// SPDX-License-Identifier: MIT
// Show list editing through the real main window: ">" and ">>", Clear, Cut, Copy and Paste with
// real keys, the edit fields, the menus' enabling, and the thumbnails decoded on several cores.

#include "condition_wait.h"
#include "drag_window_support.h"
#include "folder_images.h"
#include "image_loader.h"
#include "test_shows.h"
#include "thumbnails.h"
#include "tphoto.h"

#include <QAction>
#include <QClipboard>
#include <QFile>

namespace {
testing::Environment* const environment = testing::AddGlobalTestEnvironment(new PlayerTestEnvironment);

class Editing : public DragWindow {
  protected:
    void clickCell(TOvcTable& grid, int row, int col, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, modifiers, grid.cellRect(row, col).center());
    }
};

TEST_F(Editing, SelectedImagesGoInBeforeTheActiveSlideInFolderOrder) {
    addSlides({"p0", "p1", "p2", "p3", "p4"});
    listFolder(8);
    main().show();
    clickCell(folderGrid(), 0, 0);
    clickCell(folderGrid(), 3, 0, Qt::ControlModifier);
    clickCell(folderGrid(), 2, 0, Qt::ControlModifier);
    showGrid().setActiveCell(0, 2);
    QTest::mouseClick(&button("BitBtn1"), Qt::LeftButton);

    EXPECT_EQ(slideNames(), QStringList({"p0", "p1", "f00", "f02", "f03", "p2", "p3", "p4"}));
    EXPECT_TRUE(show().ShowModified);
    EXPECT_EQ(label("Label7"), QStringLiteral("Images: 8") + QString(24, ' '));
    EXPECT_EQ(showGrid().RowLimit(), 2);
    EXPECT_EQ(main().focusWidget(), &folderGrid());
    EXPECT_EQ(show().thumbnail(3), (*browser().folder().FolderThumbnails)[2]);
    EXPECT_EQ(show().slide(2).Delay, main().settings().DefaultDelay);
}

TEST_F(Editing, AnEmptyCellAfterTheLastSlideAppendsTheActiveImage) {
    addSlides({"p0", "p1", "p2"});
    listFolder(3);
    showGrid().setActiveCell(0, 4);
    folderGrid().setActiveRow(1);
    main().BitBtn1Click();
    EXPECT_EQ(slideNames(), QStringList({"p0", "p1", "p2", "f01"}));
    EXPECT_EQ(showGrid().ActiveCol(), 3);
}

TEST_F(Editing, AllImagesFillTheShowUpToFiveHundredThenSaySo) {
    test_shows::fill(show(), 490);
    listFolder(20);
    showGrid().setRowLimit(showGrid().RowLimit() + 1);
    showGrid().setActiveCell(98, 0);
    answerConfirm("Button1");
    main().BitBtn3Click();

    EXPECT_EQ(confirmed, QStringList{"Information: Maximum number of images is 500!"});
    ASSERT_EQ(show().SlideCount, 500);
    EXPECT_EQ(slideNames().mid(490),
              QStringList({"f10", "f11", "f12", "f13", "f14", "f15", "f16", "f17", "f18", "f19"}));
    EXPECT_FALSE(button("BitBtn1").isEnabled());
    EXPECT_FALSE(button("BitBtn3").isEnabled());
    EXPECT_EQ(showGrid().TopRow(), 96);
}

// In a show grid made taller than at the start, ">>" shows as many of the last rows as fit.
TEST_F(Editing, AllImagesShowAsManyOfTheLastRowsAsFit) {
    main().show();
    main().resize(main().size() + QSize(0, 146));
    ASSERT_TRUE(QTest::qWaitFor([&] { return showGrid().fullyVisibleRows() == 6; }, ConditionWaitMs));
    listFolder(50);
    main().BitBtn3Click();
    ASSERT_EQ(show().SlideCount, 50);
    EXPECT_EQ(showGrid().TopRow(), 4);
}

TEST_F(Editing, ImagesThatVanishedAfterTheListingMakeNoSlides) {
    listFolder(4);
    QFile::remove(browser().folder().FolderImagePaths[1]);
    main().BitBtn3Click();
    EXPECT_EQ(slideNames(), QStringList({"f00", "f02", "f03"}));
    QDir(dir.filePath("folder")).removeRecursively();
    main().BitBtn3Click();
    EXPECT_EQ(show().SlideCount, 3);
    EXPECT_TRUE(confirmed.isEmpty());
}

TEST_F(Editing, AnImageWhosePathIsTooLongToKeepMakesNoSlideAndIsNamed) {
    // A folder whose name, in accented letters, leaves room for short file names only: a path
    // under 255 characters, but over 255 bytes once stored.
    const int room = 240 - int(QFile::encodeName(dir.path()).size());
    const QString folder = QString(room / 2, QChar(0xE9));
    const QString longName = QStringLiteral("a picture with a long name.png");
    typeFolder(folderWith(folder, {"a.png", longName}));
    ASSERT_EQ(listed().size(), 2);
    for (const QString& path : listed())
        ASSERT_LT(path.size(), 255);
    main().BitBtn3Click();
    EXPECT_EQ(slideNames(), QStringList({"a"}));
    EXPECT_EQ(label("Label7"), QStringLiteral("Path too long: ") + longName);
}

TEST_F(Editing, DelOnTheLastSlideOfARowRemovesTheRowAndMarksTheShowChanged) {
    addSlides({"a", "b", "c", "d", "e", "f"});
    ASSERT_FALSE(show().ShowModified);
    focusShowGrid(1, 0);
    QTest::keyClick(&showGrid(), Qt::Key_Delete);
    EXPECT_EQ(slideNames(), QStringList({"a", "b", "c", "d", "e"}));
    EXPECT_EQ(showGrid().RowLimit(), 1);
    EXPECT_TRUE(show().ShowModified);
    EXPECT_EQ(label("Label7"), QStringLiteral("Images: 5") + QString(24, ' '));
    // On an empty cell Del does nothing.
    showGrid().setActiveCell(0, 4);
    QTest::keyClick(&showGrid(), Qt::Key_Delete);
    QTest::keyClick(&showGrid(), Qt::Key_Delete);
    EXPECT_EQ(slideNames(), QStringList({"a", "b", "c", "d"}));
}

TEST_F(Editing, CutThenPasteMovesASlideBeforeTheActiveOne) {
    addSlides({"a", "b", "c", "d"});
    const QImage thumbnailOfA = show().thumbnail(0);
    focusShowGrid(0, 0);
    QTest::keyClick(&showGrid(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(slideNames(), QStringList({"b", "c", "d"}));
    EXPECT_TRUE(show().ShowModified);
    showGrid().setActiveCell(0, 2);
    QTest::keyClick(&showGrid(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(slideNames(), QStringList({"b", "c", "a", "d"}));
    EXPECT_EQ(show().thumbnail(2), thumbnailOfA);
    // Copy leaves the show as it is; the copy is pasted as often as wanted.
    show().markOpened();
    showGrid().setActiveCell(0, 0);
    QTest::keyClick(&showGrid(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_FALSE(show().ShowModified);
    QTest::keyClick(&showGrid(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&showGrid(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(slideNames(), QStringList({"b", "b", "b", "c", "a", "d"}));
}

TEST_F(Editing, PasteWithNothingCutOrCopiedInsertsNothing) {
    addSlides({"a", "b"});
    focusShowGrid(0, 1);
    main().EditPaste();
    QTest::keyClick(&showGrid(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(slideNames(), QStringList({"a", "b"}));
    EXPECT_FALSE(show().ShowModified);
}

TEST_F(Editing, PasteIntoAFullShowSaysSoAndChangesNothing) {
    addSlides({"a"});
    focusShowGrid(0, 0);
    main().EditCopy();
    test_shows::fill(show(), 500);
    answerConfirm("Button1");
    main().EditPaste();
    EXPECT_EQ(confirmed, QStringList{"Information: Maximum number of images is 500!"});
    EXPECT_EQ(show().SlideCount, 500);
}

TEST_F(Editing, EditCommandsActOnTheFieldWithTheFocus) {
    focusShowGrid(0, 0);
    QLineEdit& field = imagesField();
    field.setText(QStringLiteral("/pictures"));
    field.setFocus();
    field.setCursorPosition(1);
    QTest::keyClick(&field, Qt::Key_Delete);
    EXPECT_EQ(field.text(), QStringLiteral("/ictures"));
    main().Clear1Click();
    EXPECT_EQ(field.text(), QStringLiteral("/ctures"));
    EXPECT_EQ(field.cursorPosition(), 1);
    main().SelectAll1Click();
    EXPECT_EQ(field.selectedText(), QStringLiteral("/ctures"));
    main().EditCopy();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("/ctures"));
    auto* showName = main().findChild<QLineEdit*>("Edit2");
    showName->setFocus();
    main().EditPaste();
    EXPECT_EQ(showName->text(), QStringLiteral("/ctures"));
    EXPECT_EQ(show().SlideCount, 0);

    // Undo and Redo take back and make again the typing, not the show's last step.
    test_shows::append(show(), {"BLANK"});
    main().EditMenuClick();
    EXPECT_EQ(action("Undo1").text(), QStringLiteral("&Undo"));
    action("Undo1").trigger();
    EXPECT_EQ(showName->text(), QString());
    main().EditMenuClick();
    action("Redo1").trigger();
    EXPECT_EQ(showName->text(), QStringLiteral("/ctures"));
    EXPECT_EQ(show().SlideCount, 1);
    showGrid().setFocus();
    main().EditMenuClick();
    action("Undo1").trigger();
    EXPECT_EQ(show().SlideCount, 0);
}

struct MenuCase {
    const char* focus; // the widget with the focus
    int slides;
    int activeCol; // of the show grid
    bool clipboardSlide;
    QString fieldText;
    std::vector<const char*> enabled; // every other item of the two menus is disabled
};

// The cases with an empty slide clipboard come first: a Copy fills it for the others.
TEST_F(Editing, MenusOfferWhatTheFocusAndTheShowAllow) {
    const std::vector<MenuCase> cases = {
        {"Edit1", 0, 0, false, "x", {"EditCutItem", "EditCopyItem", "EditPasteItem", "Clear1", "SelectAll1"}},
        {"OvcTable2",
         2,
         1,
         false,
         "",
         {"EditCutItem", "EditCopyItem", "Clear1", "ClearAll1", "SlideProperties1", "SingleSlide1",
          "Slideshow1"}},
        {"OvcTable2", 0, 0, false, "", {}},
        {"Edit2", 2, 0, true, "", {"EditCopyItem", "EditPasteItem", "Clear1", "SelectAll1", "Slideshow1"}},
        {"OvcTable1", 0, 0, true, "", {"SelectAll1", "SingleSlide1"}},
        {"OvcTable2", 2, 3, true, "", {"ClearAll1", "EditPasteItem", "Slideshow1"}},
        {"BitBtn5", 2, 0, true, "", {"Slideshow1"}},
    };
    listFolder(2);
    main().show();
    QApplication::setActiveWindow(&main());
    QApplication::clipboard()->setText(QStringLiteral("text"));
    const char* const items[] = {"EditCutItem", "EditCopyItem",     "EditPasteItem", "Clear1",    "ClearAll1",
                                 "SelectAll1",  "SlideProperties1", "SingleSlide1",  "Slideshow1"};
    for (const MenuCase& c : cases) {
        SCOPED_TRACE(std::string(c.focus) + " " + std::to_string(c.slides) + " slides");
        show().clear();
        test_shows::fill(show(), c.slides);
        if (c.clipboardSlide && c.slides > 0) {
            focusShowGrid(0, 0);
            main().EditCopy();
        }
        showGrid().setActiveCell(0, c.activeCol);
        imagesField().setText(c.fieldText);
        main().findChild<QLineEdit*>("Edit2")->setText(c.fieldText);
        main().findChild<QWidget*>(c.focus)->setFocus();
        main().EditMenuClick();
        main().View1Click();
        for (const char* item : items) {
            const bool expected = std::find_if(c.enabled.begin(), c.enabled.end(), [&](const char* e) {
                                      return QLatin1String(e) == QLatin1String(item);
                                  }) != c.enabled.end();
            EXPECT_EQ(action(item).isEnabled(), expected) << item;
        }
    }
}

TEST_F(Editing, AllImagesDecodeOnlyTheThumbnailsNotYetDrawnAndDrawThemAsOneCoreWould) {
    // Pictures of several shapes and kinds, and one that cannot be decoded; the first five rows are
    // drawn by the first screen, the last three on every core.
    const QString folder = folderWith("mixed", {});
    const QStringList names = {"a_tiny.bmp",  "b_square.jpg", "c_wide.jpg", "d_tall.png",
                               "e_small.png", "f_large.jpg",  "h_edge.png"};
    const QList<QSize> sizes = {{40, 10}, {100, 95}, {300, 100}, {60, 200}, {72, 48}, {1200, 900}, {73, 48}};
    for (int i = 0; i < names.size(); ++i)
        writePicture(dir, "mixed/" + names[i], sizes[i], QColor::fromHsv(i * 50, 200, 200));
    QFile broken(folder + "/g_broken.png");
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture");
    broken.close();
    typeFolder(folder);
    main().show();
    folderGrid().viewport()->grab();
    ASSERT_TRUE(QTest::qWaitFor([&] { return browser().folder().FolderThumbnailReady[4]; }, ConditionWaitMs));
    QCoreApplication::processEvents();
    const quint64 before = imaging::decodedImageCount();
    main().BitBtn3Click();
    EXPECT_EQ(imaging::decodedImageCount(), before + 3);
    ASSERT_EQ(show().SlideCount, 8);

    TPhoto photo;
    QImage work;
    ThumbnailBuilder oneCore(
        photo, work, [] { return 32; }, QString());
    for (int i = 0; i < 8; ++i) {
        QImage expected;
        oneCore.BuildFolderThumbnail(expected, listed()[i]);
        EXPECT_EQ(show().thumbnail(i), expected) << listed()[i].toStdString();
    }
}

} // namespace
