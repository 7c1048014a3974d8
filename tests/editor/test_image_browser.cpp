// SPDX-License-Identifier: MIT
// The image browser through the real main window: listing a folder, the select dialog, the typed
// images field, the key jumps, the lazily drawn thumbnails and a folder that vanishes.

#include "appearance.h"
#include "condition_wait.h"
#include "editor_window_support.h"
#include "file_list_box.h"
#include "folder_images.h"
#include "image_loader.h"
#include "preview_form.h"

#include <QDir>
#include <QFileSystemModel>
#include <QFrame>
#include <QTreeView>

#include <sys/stat.h>

namespace {
testing::Environment* const environment = testing::AddGlobalTestEnvironment(new PlayerTestEnvironment);

class Browser : public EditorWindow {};

struct ListingCase {
    const char* title;
    QStringList files;  // made in the folder
    QStringList listed; // expected, in order
};

TEST_F(Browser, ListsTheImageFilesOfAFolderSortedWithoutRegardToCase) {
    const std::vector<ListingCase> cases = {
        {"empty", {}, {}},
        {"one", {"only.png"}, {"only.png"}},
        {"mixed",
         {"b.jpg", "A.PNG", "c.bmp", "other.jpeg", "Zed.Jpg", "two.dots.tif", "x.JPE", "web.webp"},
         {"A.PNG", "b.jpg", "c.bmp", "other.jpeg", "two.dots.tif", "web.webp", "x.JPE", "Zed.Jpg"}},
    };
    for (const ListingCase& c : cases) {
        SCOPED_TRACE(c.title);
        const QString folder = folderWith(QLatin1String(c.title), c.files);
        // A folder, a FIFO and a device are no image files.
        QDir(folder).mkdir(QStringLiteral("folder.jpg"));
        ::mkfifo(QFile::encodeName(folder + "/pipe.jpg").constData(), 0600);
        QFile::link(QStringLiteral("/dev/zero"), folder + "/zero.png");
        for (const char* other : {"/notes.txt", "/copy.jpg.txt", "/jpg", "/.png"})
            QFile(folder + other).open(QIODevice::WriteOnly);
        typeFolder(folder);
        QStringList expected;
        for (const QString& name : c.listed)
            expected.append(folder + '/' + name);
        EXPECT_EQ(listed(), expected);
        EXPECT_EQ(label("Label6"), QStringLiteral("Files: %1").arg(c.listed.size()) + QString(24, ' '));
        EXPECT_EQ(folderGrid().RowLimit(), c.listed.size());
        EXPECT_EQ(imagesField().text(), folder);
        EXPECT_EQ(QDir::currentPath(), folder);
    }
}

TEST_F(Browser, AFolderOfMoreThanFiveHundredListsTheFirstFiveHundredAndDecodesNothing) {
    QStringList names;
    for (int i = 0; i < 501; ++i)
        names.append(QStringLiteral("pic%1.png").arg(i, 3, 10, QLatin1Char('0')));
    const QString folder = folderWith("many", names);
    main().show();
    const quint64 before = imaging::decodedImageCount(), windowDecodes = imaging::decodedOnThisThreadCount();
    typeFolder(folder);
    EXPECT_EQ(imaging::decodedImageCount(), before);
    ASSERT_EQ(listed().size(), 500);
    EXPECT_EQ(listed().last(), folder + "/pic499.png");
    EXPECT_EQ(label("Label6"), QStringLiteral("Files: 500") + QString(24, ' '));

    // The first screen shows rows 0 to 4 (the fifth only in part): exactly those are decoded, on
    // other threads, the painting showing the names until the pictures arrive.
    folderGrid().viewport()->grab();
    const FolderImages& images = browser().folder();
    EXPECT_FALSE(images.FolderThumbnailReady[0]);
    ASSERT_TRUE(QTest::qWaitFor([&] { return images.FolderThumbnailReady[4]; }, ConditionWaitMs));
    QCoreApplication::processEvents();
    EXPECT_EQ(imaging::decodedImageCount(), before + 5);
    for (int row = 0; row < 8; ++row)
        EXPECT_EQ(images.FolderThumbnailReady[row], row < 5) << row;
    EXPECT_EQ((*images.FolderThumbnails)[0].size(), QSize(80, 70));
    folderGrid().viewport()->grab();
    EXPECT_EQ(imaging::decodedImageCount(), before + 5);

    // Neither the painting nor adding a picture decodes on the window thread.
    folderGrid().setActiveRow(7);
    main().BitBtn1Click();
    EXPECT_EQ(main().document().SlideCount, 1);
    EXPECT_EQ(imaging::decodedOnThisThreadCount(), windowDecodes);
}

TEST_F(Browser, FirstActivationListsTheFolderWithoutTheDialog) {
    const QString folder = folderWith("start", {"x.png", "y.png"});
    imagesField().setText(folder);
    main().FormActivate();
    EXPECT_EQ(selectDialogRuns, 0);
    EXPECT_EQ(listed().size(), 2);
    // Later activations do nothing; the button opens the dialog.
    main().FormActivate();
    answerCancel();
    main().findChild<QPushButton*>("BitBtn5")->click();
    EXPECT_EQ(selectDialogRuns, 1);
}

TEST_F(Browser, SelectDialogChoosesAFolderAndRescansOnSelect) {
    const QString first = folderWith("first", {"a.png"});
    const QString second = folderWith("second", {"b.png", "c.png"});
    browser().ScanWithoutDialog = false;
    typeFolder(first);

    answerSelect(second);
    main().Button1Click();
    EXPECT_EQ(listed().size(), 2);
    auto* directory = windows->selectDlg->findChild<QLineEdit*>("Edit1");
    EXPECT_EQ(directory->text(), second);
    EXPECT_TRUE(directory->isReadOnly());

    // "&Select" on the folder already listed reads it again.
    writePicture(dir, "second/d.png", {8, 8});
    answerSelect(second);
    main().Button1Click();
    EXPECT_EQ(listed().size(), 3);

    // Cancel changes nothing, even when the panel was moved first.
    writePicture(dir, "second/e.png", {8, 8});
    selectAnswers.push_back([first](TselectDlg& dialog) {
        dialog.openDialog().setCurrentFolder(first);
        dialog.reject();
    });
    main().Button1Click();
    EXPECT_EQ(listed().size(), 3);
    EXPECT_EQ(imagesField().text(), second);
}

TEST_F(Browser, ChoosingAFileInThePanelListsItsFolder) {
    const QString folder = folderWith("picked", {"one.png", "two.png"});
    browser().ScanWithoutDialog = false;
    selectAnswers.push_back([folder](TselectDlg& dialog) {
        dialog.openDialog().setCurrentFolder(folder);
        auto* list = dialog.findChild<QTreeView*>("FolderList");
        list->setCurrentIndex(qobject_cast<QFileSystemModel*>(list->model())->index(folder + "/two.png"));
        QTest::keyClick(list, Qt::Key_Return);
    });
    main().Button1Click();
    EXPECT_EQ(imagesField().text(), folder);
    EXPECT_EQ(listed().size(), 2);
}

TEST_F(Browser, AFolderThatCannotBeEnteredIsReportedAndTheDialogComesBack) {
    const QString kept = folderWith("kept", {"a.png"});
    const QString doomed = folderWith("doomed", {"b.png"});
    typeFolder(kept);
    browser().ScanWithoutDialog = false;
    selectAnswers.push_back([doomed](TselectDlg& dialog) {
        dialog.openDialog().setCurrentFolder(doomed);
        QTest::mouseClick(dialog.findChild<QPushButton*>("OKBtn"), Qt::LeftButton);
        QDir(doomed).removeRecursively(); // gone before it is read
    });
    answerConfirm("Button1");
    answerCancel();
    main().Button1Click();
    EXPECT_EQ(confirmed, QStringList{"Error: Invalid Directory or Directory Read Error!"});
    EXPECT_EQ(windows->confirmfrm->windowTitle(), QStringLiteral("Confirm"));
    EXPECT_EQ(selectDialogRuns, 2);
    EXPECT_EQ(listed(), QStringList{kept + "/a.png"});
}

TEST_F(Browser, TypedFoldersAreTrimmedNormalisedAndRevertedSilently) {
    const QString folder = folderWith("Typed", {"a.png"});
    typeFolder("  " + folder + "/  ");
    EXPECT_EQ(imagesField().text(), folder);
    EXPECT_EQ(listed().size(), 1);
    main().Edit1Enter();

    // A folder that does not exist: the field goes back, without a message.
    typeFolder(folder + "/missing");
    EXPECT_EQ(imagesField().text(), folder);
    EXPECT_TRUE(confirmed.isEmpty());

    // The folder listed, typed in other letters: nothing is read again.
    writePicture(dir, "Typed/b.png", {8, 8});
    typeFolder(folder.toUpper());
    EXPECT_EQ(listed().size(), 1);

    // The root folder is listed and keeps its separator.
    typeFolder("/");
    EXPECT_EQ(imagesField().text(), QStringLiteral("/"));
    EXPECT_EQ(browser().fileList().Directory(), QStringLiteral("/"));
}

TEST_F(Browser, AFolderTypedInOtherLettersIsFoundWhenTheExactPathIsMissing) {
    const QString folder = folderWith("Holiday Pictures", {"a.png", "b.png"});
    typeFolder(dir.filePath("holiday pictures"));
    EXPECT_EQ(imagesField().text(), folder);
    EXPECT_EQ(listed().first(), folder + "/a.png");
}

struct JumpCase {
    int key;
    Qt::KeyboardModifiers modifiers;
    int activeRow;
    int topRow;
};

TEST_F(Browser, KeysJumpToTheFirstFileOfALetter) {
    QStringList names;
    for (const char* name :
         {"apple", "Banana", "berry", "cherry", "date", "elder", "fig", "grape", "Lemon", "lime"})
        names.append(QLatin1String(name) + ".png");
    typeFolder(folderWith("fruit", names));
    main().show();
    const std::vector<JumpCase> cases = {
        {Qt::Key_B, Qt::NoModifier, 1, 1},    {Qt::Key_L, Qt::NoModifier, 8, 8},
        {Qt::Key_C, Qt::ShiftModifier, 3, 3}, {Qt::Key_A, Qt::AltModifier, 3, 3},
        {Qt::Key_Z, Qt::NoModifier, 3, 3},    {Qt::Key_End, Qt::NoModifier, 9, 6},
        {Qt::Key_Home, Qt::NoModifier, 0, 0},
    };
    for (const JumpCase& c : cases) {
        QTest::keyClick(&folderGrid(), Qt::Key(c.key), c.modifiers);
        EXPECT_EQ(folderGrid().ActiveRow(), c.activeRow) << QKeySequence(c.key).toString().toStdString();
        EXPECT_EQ(folderGrid().TopRow(), c.topRow) << QKeySequence(c.key).toString().toStdString();
    }
}

TEST_F(Browser, ADoubleClickPreviewsTheImageOfTheRow) {
    typeFolder(folderWith("preview", {"first.png", "second.png"}));
    main().show();
    QString caption;
    whenModal(windows->previewfrm, [&] {
        caption = windows->previewfrm->windowTitle();
        QTest::keyClick(windows->previewfrm, Qt::Key_Escape);
    });
    QTest::mouseDClick(folderGrid().viewport(), Qt::LeftButton, {}, folderGrid().cellRect(1, 0).center());
    EXPECT_EQ(caption, QStringLiteral("second.png"));
    EXPECT_EQ(folderGrid().ActiveRow(), 1);
    EXPECT_EQ(main().focusWidget(), &folderGrid());
}

TEST_F(Browser, TheFolderPanelRaisesItsBevelWhileTheGridHasTheFocus) {
    main().show();
    QApplication::setActiveWindow(&main());
    auto* panel = main().findChild<QFrame*>("Panel6");
    folderGrid().setFocus();
    EXPECT_EQ(panel->frameShadow(), QFrame::Raised);
    imagesField().setFocus();
    EXPECT_EQ(panel->frameShadow(), QFrame::Sunken);
}

// The folder's and the show's thumbnails are drawn anew on the ground of each appearance: the dark
// palette's field colour on Dark, white as always on Light.
TEST_F(Browser, ThumbnailsTakeTheGroundOfTheAppearance) {
    const QString folder = folderWith("grounds", {"sun.png", "moon.png"});
    typeFolder(folder);
    main().processCommandLine({QDir(folder).filePath("sun.png")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return main().document().SlideCount == 1; }, ConditionWaitMs));
    main().show();
    const auto folderGround = [&] {
        folderGrid().viewport()->grab();
        const QImage& thumbnail = (*browser().folder().FolderThumbnails)[1];
        return browser().folder().FolderThumbnailReady[1] ? thumbnail.pixel(79, 69) : 0;
    };
    const auto slideGround = [&] {
        showGrid().viewport()->grab();
        return main().document().thumbnail(0).pixel(79, 69);
    };
    const struct {
        const char* appearance;
        QRgb ground;
    } looks[] = {{"Light", qRgb(255, 255, 255)},
                 {"Dark", darkPalette().color(QPalette::Base).rgb()},
                 {"Light", qRgb(255, 255, 255)}};
    for (const auto& look : looks) {
        applyAppearance(QLatin1String(look.appearance));
        EXPECT_TRUE(QTest::qWaitFor([&] { return folderGround() == look.ground; }, ConditionWaitMs))
            << look.appearance;
        EXPECT_TRUE(QTest::qWaitFor([&] { return slideGround() == look.ground; }, ConditionWaitMs))
            << look.appearance;
    }
    applyAppearance(QStringLiteral("System"));
}

TEST_F(Browser, AVanishedFolderDrawsEmptyPicturesWithTheirNames) {
    const QString folder = folderWith("vanishing", {"sun.png", "moon.png"});
    typeFolder(folder);
    ASSERT_TRUE(QDir(folder).removeRecursively());
    main().show();
    folderGrid().viewport()->grab();
    ASSERT_TRUE(QTest::qWaitFor([&] { return browser().folder().FolderThumbnailReady[1]; }, ConditionWaitMs));
    const QImage& thumbnail = (*browser().folder().FolderThumbnails)[1];
    ASSERT_EQ(thumbnail.size(), QSize(80, 70));
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 80; ++x)
            ASSERT_EQ(thumbnail.pixel(x, y), qRgb(255, 255, 255));
    bool caption = false;
    for (int y = 50; y < 70 && !caption; ++y)
        for (int x = 0; x < 80 && !caption; ++x)
            caption = thumbnail.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_TRUE(caption);
}

} // namespace
