// SPDX-License-Identifier: MIT
// Show list editing on the editor's own parts: ">" and ">>" at the insert position, Clear, Cut, Copy
// and Paste through the slide clipboard, the edit fields, the rules of the Edit and View menus, and
// the thumbnails decoded on several cores while the slides come at once; and the clicks, keys and menus of
// the real main window that reach them.

#include "condition_wait.h"
#include "drag_window_support.h"
#include "editing_desk.h"
#include "image_loader.h"
#include "shell_drop.h"
#include "show_grid.h"
#include "test_pictures.h"
#include "test_shows.h"
#include "thumbnail_picture.h"

#include <QClipboard>
#include <QFile>
#include <QThread>
#include <QUndoStack>

#include <algorithm>
#include <atomic>
#include <functional>
#include <future>
#include <map>

namespace {
testing::Environment* const environment = testing::AddGlobalTestEnvironment(new PlayerTestEnvironment);

class Editing : public EditingDesk {
  protected:
    // A show of slides named by the letters, whose files are there, each with a thumbnail of its own.
    void makeShow(const QString& letters) {
        show.clear();
        QList<ShowSlide> made;
        for (const QChar letter : letters) {
            const QString path = dir.filePath(QString(letter) + ".png");
            QFile(path).open(QIODevice::WriteOnly);
            made.append(
                {test_shows::slide(show, path).record, thumbnailOf(letter), {{"name", QString(letter)}}});
        }
        test_shows::append(show, made);
        show.markOpened();
    }
    static QImage thumbnailOf(const QString& name) {
        QImage thumbnail(8, 8, QImage::Format_RGB32);
        thumbnail.fill(QColor::fromHsv(int(qHash(name) % 360), 200, 200));
        return thumbnail;
    }
    // The slides' names and what the grid and the status line show of them.
    void expectShow(const QString& names) {
        EXPECT_EQ(slideNames().join(' '), names);
        EXPECT_EQ(showGrid.RowLimit(), ShowGrid::rowsFor(show.SlideCount, showGrid.ColumnCount()));
        EXPECT_EQ(countLabel.text(), QStringLiteral("Images: %1").arg(show.SlideCount) + QString(24, ' '));
    }
};

// ">" puts the images selected in the folder grid in folder order before the active slide, or from an
// empty cell after the last slide the folder's active image; the slides added take the show's time
// and the folder's thumbnails, and the folder grid keeps the focus.
TEST_F(Editing, AddPutsTheSelectedImagesBeforeTheActiveSlideInFolderOrder) {
    show.setDefaultDelay(9);
    listFolder(8);
    auto addAt = [this](int cell, const QString& expected) {
        activate(cell);
        showGrid.setFocus();
        editing.BitBtn1Click(ShowEditing::Origin::Button);
        expectShow(expected);
        EXPECT_TRUE(show.ShowModified);
        EXPECT_EQ(window.focusWidget(), &folderGrid);
        ASSERT_TRUE(thumbnailsArrived());
        for (int i = 0; i < show.SlideCount; ++i) {
            if (slideNames()[i].startsWith('f')) {
                EXPECT_EQ(show.thumbnail(i), browser.folderThumbnail(slideNames()[i].mid(1).toInt())) << i;
                EXPECT_EQ(show.slide(i).Delay, 9) << i;
            }
        }
    };
    makeShow("abcde");
    for (int row : {0, 3, 2})
        QTest::mouseClick(folderGrid.viewport(), Qt::LeftButton, row ? Qt::ControlModifier : Qt::NoModifier,
                          folderGrid.cellRect(row, 0).center());
    addAt(2, "a b f00 f02 f03 c d e");
    makeShow("abc");
    folderGrid.clearSelection();
    folderGrid.setActiveRow(1);
    addAt(4, "a b c f01");
    EXPECT_EQ(view.activeIndex(), 3);
}

// ">>" adds up to 500 slides and then says so, and shows as many of the last rows as fit in a show
// grid taller than at the start; a paste into the full show says so too.
TEST_F(Editing, AllImagesFillTheShowUpToFiveHundredThenSaySo) {
    showGrid.resize(showGrid.width(), showGrid.height() + 146);
    ASSERT_EQ(showGrid.fullyVisibleRows(), 6);
    test_shows::fill(show, 490);
    listFolder(20);
    showGrid.setRowLimit(showGrid.RowLimit() + 1);
    activate(490);
    editing.BitBtn3Click();
    const QString full = QStringLiteral("Information: Maximum number of images is 500!");
    EXPECT_EQ(told, QStringList{full});
    ASSERT_EQ(show.SlideCount, 500);
    EXPECT_EQ(slideNames().mid(490).join(' '), "f10 f11 f12 f13 f14 f15 f16 f17 f18 f19");
    EXPECT_FALSE(add.isEnabled());
    EXPECT_FALSE(addAll.isEnabled());
    EXPECT_EQ(showGrid.TopRow(), 94);

    showGrid.setFocus();
    activate(0);
    editing.EditCopy();
    editing.EditPaste();
    EXPECT_EQ(told, QStringList({full, full}));
    EXPECT_EQ(show.SlideCount, 500);
}

TEST_F(Editing, ImagesGoneSinceTheListingOrWithPathsTooLongToKeepMakeNoSlides) {
    // A folder whose name, in accented letters, leaves room for short file names only: a path
    // under 255 characters, but over 255 bytes once stored.
    const int room = 240 - int(QFile::encodeName(dir.path()).size());
    const QString longName = QStringLiteral("a picture with a long name.png");
    const QString pictures =
        folderWith(QString(room / 2, QChar(0xE9)), {"a.png", "b.png", "c.png", longName});
    typeFolder(pictures);
    ASSERT_EQ(folder.count(), 4);
    for (const QString& path : folder.FolderImagePaths)
        ASSERT_LT(path.size(), 255);
    QFile::remove(pictures + "/b.png");
    editing.BitBtn3Click();
    EXPECT_EQ(slideNames(), QStringList({"a", "c"}));
    EXPECT_EQ(countLabel.text(), QStringLiteral("Path too long: ") + longName);
    QDir(pictures).removeRecursively();
    editing.BitBtn3Click();
    EXPECT_EQ(show.SlideCount, 2);
    EXPECT_TRUE(told.isEmpty());
}

struct CommandCase {
    const char* what;
    QString slides;
    // Each a letter and a slide index: d Clear, x Cut, c Copy, v Paste with that slide active; p a
    // click on the slide, k a Ctrl+click, h a Shift+click; r Shift+Right, a Ctrl+A (index unused).
    const char* steps;
    QString expected;
    bool modified;
};

// Clear, Cut, Copy and Paste on the show grid, on the active slide or on every slide selected; each
// slide keeps its thumbnail and its data beyond the record. The first case runs with nothing cut or
// copied yet; the clipboard stays from one show to the next.
TEST_F(Editing, ClearCutCopyAndPasteActOnTheActiveSlideOrTheSelectedOnes) {
    const CommandCase cases[] = {
        {"a paste with nothing cut or copied inserts nothing", "ab", "v1", "a b", false},
        {"Clear on the last slide of a row removes the row", "abcdef", "d5", "a b c d e", true},
        {"Clear on an empty cell does nothing", "abcde", "d4d4", "a b c d", true},
        {"Cut then Paste moves a slide before the active one", "abcd", "x0v2", "b c a d", true},
        {"Copy leaves the show as it is", "abcd", "c0", "a b c d", false},
        {"a copy is pasted as often as wanted", "abcd", "c1v0v0", "b b a b c d", true},
        {"a slide is copied in one show", "pqr", "c2", "p q r", false},
        {"and pasted into the next", "xy", "v1", "x r y", true},
        {"Clear removes every slide selected with Ctrl", "abcdef", "p1k3k5d0", "a c e", true},
        {"a Ctrl+click on a selected slide takes it out", "abcde", "p0k2k0d4", "a b d e", true},
        {"a plain click leaves the active slide alone", "abcd", "p0k1k2p3d3", "a b c", true},
        {"Shift+click takes the run from the slide clicked before", "abcdef", "p1h4x0v0", "b c d e a f",
         true},
        {"Shift with an arrow takes the run from the active slide", "abcdef", "p1r0r0d0", "a e f", true},
        {"Ctrl+A then Copy and Paste gives the show twice", "abc", "a0c0v3", "a b c a b c", true},
        {"Ctrl+A then Clear empties the show", "abc", "a0d0", "", true},
    };
    const std::map<char, void (ShowEditing::*)()> commands = {{'d', &ShowEditing::Clear1Click},
                                                              {'x', &ShowEditing::EditCut},
                                                              {'c', &ShowEditing::EditCopy},
                                                              {'v', &ShowEditing::EditPaste}};
    const std::map<char, Qt::KeyboardModifiers> clicks = {
        {'p', Qt::NoModifier}, {'k', Qt::ControlModifier}, {'h', Qt::ShiftModifier}};
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.what);
        makeShow(c.slides);
        showGrid.setFocus();
        for (const char* step = c.steps; *step; step += 2) {
            const int index = step[1] - '0';
            if (clicks.count(step[0])) {
                QTest::mouseClick(showGrid.viewport(), Qt::LeftButton, clicks.at(step[0]),
                                  showGrid.cellRect(index / 5, index % 5).center());
            } else if (step[0] == 'r') {
                QTest::keyClick(&showGrid, Qt::Key_Right, Qt::ShiftModifier);
            } else if (step[0] == 'a') {
                QTest::keyClick(&showGrid, Qt::Key_A, Qt::ControlModifier);
            } else {
                activate(index);
                (editing.*commands.at(step[0]))();
            }
        }
        expectShow(c.expected);
        EXPECT_EQ(show.ShowModified, c.modified);
        for (int i = 0; i < show.SlideCount; ++i) {
            EXPECT_EQ(show.thumbnail(i), thumbnailOf(slideNames()[i])) << i;
            EXPECT_EQ(show.extra(i).value("name").toString(), slideNames()[i]) << i;
        }
    }
    EXPECT_TRUE(told.isEmpty());
}

// A rubber band drawn from a place without a slide selects the slides whose cells it touches, and
// with Ctrl adds them to those selected.
TEST_F(Editing, ARubberBandFromAPlaceWithoutASlideSelectsTheSlidesItTouches) {
    const auto band = [this](TOvcCell from, TOvcCell to, Qt::KeyboardModifiers modifiers) {
        const auto at = [this](TOvcCell cell) {
            return showGrid.viewport()->mapTo(&window, showGrid.cellRect(cell.row, cell.col).center());
        };
        QTest::mousePress(window.windowHandle(), Qt::LeftButton, modifiers, at(from));
        QTest::mouseMove(window.windowHandle(), at(from) + QPoint(-5, -5));
        QTest::mouseMove(window.windowHandle(), at(to));
        QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, modifiers, at(to));
    };
    makeShow("abcdefgh");
    showGrid.setFocus();
    band({2, 4}, {0, 2}, Qt::NoModifier);
    editing.Clear1Click();
    expectShow("a b f g");

    makeShow("abcdefgh");
    QTest::mouseClick(showGrid.viewport(), Qt::LeftButton, {}, showGrid.cellRect(0, 0).center());
    QTest::mouseClick(showGrid.viewport(), Qt::LeftButton, Qt::ControlModifier,
                      showGrid.cellRect(0, 1).center());
    band({3, 0}, {1, 0}, Qt::ControlModifier);
    editing.Clear1Click();
    expectShow("c d e g h");
}

TEST_F(Editing, EditCommandsActOnTheFieldWithTheFocus) {
    imagesField.setText(QStringLiteral("/pictures"));
    imagesField.setFocus();
    imagesField.setCursorPosition(1);
    editing.Clear1Click();
    EXPECT_EQ(imagesField.text(), QStringLiteral("/ictures"));
    EXPECT_EQ(imagesField.cursorPosition(), 1);
    editing.SelectAll1Click();
    EXPECT_EQ(imagesField.selectedText(), QStringLiteral("/ictures"));
    editing.EditCopy();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("/ictures"));
    showName.setFocus();
    editing.EditPaste();
    EXPECT_EQ(showName.text(), QStringLiteral("/ictures"));
    EXPECT_EQ(show.SlideCount, 0);
}

struct MenuCase {
    QWidget* focus;
    int slides;
    int activeCol; // of the show grid
    bool clipboardSlide;
    QString fieldText;
    QString offered; // every other item of the two menus is not
};

// The cases with an empty slide clipboard come first: a Copy fills it for the others.
TEST_F(Editing, MenusOfferWhatTheFocusAndTheShowAllow) {
    const MenuCase cases[] = {
        {&imagesField, 0, 0, false, "x", "cut copy paste clear selectAll"},
        {&showGrid, 2, 1, false, "", "cut copy clear clearAll selectAll properties image slideshow"},
        {&showGrid, 0, 0, false, "", ""},
        {&showName, 2, 0, true, "", "copy paste clear selectAll slideshow"},
        {&folderGrid, 0, 0, true, "", "selectAll image"},
        {&showGrid, 2, 3, true, "", "paste clearAll selectAll slideshow"},
        {&add, 2, 0, true, "", "slideshow"},
    };
    listFolder(2);
    QApplication::clipboard()->setText(QStringLiteral("text"));
    for (const MenuCase& c : cases) {
        SCOPED_TRACE(&c - cases);
        show.clear();
        test_shows::fill(show, c.slides);
        if (c.clipboardSlide && c.slides > 0) {
            showGrid.setFocus();
            activate(0);
            editing.EditCopy();
        }
        showGrid.setActiveCell(0, c.activeCol);
        imagesField.setText(c.fieldText);
        showName.setText(c.fieldText);
        c.focus->setFocus();
        const EditMenuState e = editing.EditMenuClick();
        const ViewMenuState v = editing.View1Click();
        const std::pair<const char*, bool> items[] = {{"cut", e.cut},
                                                      {"copy", e.copy},
                                                      {"paste", e.paste},
                                                      {"clear", e.clear},
                                                      {"clearAll", e.clearAll},
                                                      {"selectAll", e.selectAll},
                                                      {"properties", e.properties},
                                                      {"image", v.image},
                                                      {"slideshow", v.slideshow}};
        QStringList offered;
        for (const auto& [item, on] : items)
            if (on)
                offered.append(QLatin1String(item));
        EXPECT_EQ(offered.join(' '), c.offered);
    }
}

TEST_F(Editing, AllImagesDecodeOnlyTheThumbnailsNotYetDrawnAndDrawThemAsOneCoreWould) {
    // Pictures of several shapes and kinds, and one that cannot be decoded; the rows of the folder's
    // first screen (a row shown in part too) are drawn there, the others on every core. The one that
    // cannot becomes a slide marked as not readable, and the status line counts it; added where the
    // show grid does not show it, it is marked as soon as it has been tried.
    const QString mixed = folderWith("mixed", {});
    const QStringList names = {"a_tiny.bmp",  "b_square.jpg", "c_wide.jpg", "d_tall.png",
                               "e_small.png", "f_large.jpg",  "h_edge.png"};
    const QList<QSize> sizes = {{40, 10}, {100, 95}, {300, 100}, {60, 200}, {72, 48}, {1200, 900}, {73, 48}};
    for (int i = 0; i < names.size(); ++i)
        writePicture(dir, "mixed/" + names[i], sizes[i], QColor::fromHsv(i * 50, 200, 200));
    QFile broken(mixed + "/g_broken.png");
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture");
    broken.close();
    typeFolder(mixed);
    folderGrid.viewport()->grab();
    const int shown = std::min(folder.count(), folderGrid.TopRow() + folderGrid.fullyVisibleRows() + 1);
    ASSERT_LT(shown, 8);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return std::all_of(folder.FolderThumbnailReady.begin(),
                               folder.FolderThumbnailReady.begin() + shown, std::identity());
        },
        ConditionWaitMs));
    QCoreApplication::processEvents();
    const quint64 before = imaging::decodedImageCount();
    editing.BitBtn3Click();
    ASSERT_EQ(show.SlideCount, 8);
    ASSERT_TRUE(thumbnailsArrived());
    EXPECT_EQ(imaging::decodedImageCount(), before + quint64(8 - shown));
    EXPECT_EQ(countLabel.text(), imagesCountText(8, 0, 1));
    EXPECT_TRUE(slideCellText(show, 6).name.endsWith(QStringLiteral(", picture not readable")));

    TPhoto onePhoto;
    QImage oneWork;
    ThumbnailBuilder oneCore(
        onePhoto, oneWork, [] { return 32; }, QString());
    for (int i = 0; i < 8; ++i) {
        QImage expected;
        if (i == 6)
            oneCore.drawUnreadableThumbnail(expected, folder.FolderImagePaths[i]);
        else
            oneCore.BuildFolderThumbnail(expected, folder.FolderImagePaths[i]);
        EXPECT_EQ(show.thumbnail(i), expected) << folder.FolderImagePaths[i].toStdString();
    }

    test_shows::fill(show, 60);
    showGrid.setRowLimit(showGrid.RowLimit() + 1);
    activate(60);
    showGrid.setTopRow(0);
    ASSERT_FALSE(folder.FolderThumbnailReady[6]);
    folderGrid.setActiveRow(6);
    editing.BitBtn1Click(ShowEditing::Origin::Button);
    ASSERT_EQ(show.SlideCount, 61);
    EXPECT_TRUE(QTest::qWaitFor([this] { return isUnreadable(show.thumbnail(60)); }, ConditionWaitMs));
    EXPECT_EQ(countLabel.text(), imagesCountText(61, 0, 2));
}

// Pictures dropped on the show come as slides at once, in order and as one step, each with its name
// where its picture will be, and those that cannot be read make none; the pictures follow from other
// threads, those of the slides in view, and the others' once they are scrolled into view. The
// window thread decodes nothing.
TEST_F(Editing, DroppedPicturesComeAsSlidesAtOnceAndTheirPicturesFollowInView) {
    QStringList paths = {test_pictures::makeFile(dir.path(), QStringLiteral("broken.png"), "not a picture")};
    QStringList names;
    for (int i = 0; i < 40; ++i) {
        names.append(QStringLiteral("p%1").arg(i, 2, 10, QLatin1Char('0')));
        paths.append(writePicture(dir, names.last() + ".png", {60, 40}, QColor::fromHsv(i * 9, 200, 200)));
    }
    std::promise<void> release;
    const std::shared_future<void> released = release.get_future().share();
    std::atomic<bool> onWindowThread = false;
    slides.setPictureDecoder([&](const QString& path, qreal scale, ThumbnailSource source) {
        if (QThread::currentThread() == qApp->thread())
            onWindowThread = true;
        released.wait_for(std::chrono::seconds(5)); // without end where the window thread waits
        return decodeThumbnailPicture(path, scale, source);
    });
    const quint64 windowDecodes = imaging::decodedOnThisThreadCount();
    appendDroppedFiles(slides, paths);
    EXPECT_EQ(slideNames(), names);
    EXPECT_EQ(show.history().count(), 1);
    for (int i = 0; i < show.SlideCount; ++i)
        EXPECT_TRUE(awaitsPicture(show.thumbnail(i))) << i;

    release.set_value();
    // In view: the first four rows; the last is not. They all arrive before the grid scrolls on,
    // since a scroll drops the pictures still on their way to slides scrolled out of view.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            for (int i = 0; i < 20; ++i)
                if (awaitsPicture(show.thumbnail(i)))
                    return false;
            return true;
        },
        ConditionWaitMs));
    EXPECT_TRUE(awaitsPicture(show.thumbnail(39)));
    showGrid.setTopRow(4);
    ASSERT_TRUE(thumbnailsArrived());
    EXPECT_FALSE(onWindowThread);
    EXPECT_EQ(imaging::decodedOnThisThreadCount(), windowDecodes);
    TPhoto onePhoto;
    QImage oneWork;
    ThumbnailBuilder oneCore(
        onePhoto, oneWork, [] { return 32; }, QString());
    for (int i = 0; i < show.SlideCount; i += 13) {
        QImage expected;
        oneCore.BuildFolderThumbnail(expected, paths[i + 1]);
        EXPECT_EQ(show.thumbnail(i), expected) << i;
    }

    show.undo();
    EXPECT_EQ(show.SlideCount, 0);
    show.redo();
    EXPECT_EQ(slideNames(), names);
    slides.setPictureDecoder({});
}

// The Edit and View menus in the real window, whose items each follow their own rule: in these
// states every two items differ, but Copy and Clear, which always agree. In a field the keys edit the
// field, and Undo and Redo, without a name, take back its typing. (The commands' own keys and buttons
// in the window are undone and redone one by one in the undo tests.)
TEST_F(DragWindow, TheMenusOfTheWindowFollowTheEditingsRulesAndAFieldKeepsItsKeys) {
    auto offered = [this](QWidget& focus) {
        focus.setFocus();
        main().EditMenuClick();
        main().View1Click();
        QStringList names;
        for (const char* item : {"EditCutItem", "EditCopyItem", "EditPasteItem", "Clear1", "ClearAll1",
                                 "SelectAll1", "SlideProperties1", "SingleSlide1", "Slideshow1"})
            if (action(item).isEnabled())
                names.append(QLatin1String(item));
        return names.join(' ');
    };
    listFolder(2);
    QApplication::clipboard()->setText(QStringLiteral("text"));
    imagesField().setText(QStringLiteral("x"));
    focusShowGrid(0, 0);
    EXPECT_EQ(offered(imagesField()), "EditCutItem EditCopyItem EditPasteItem Clear1 SelectAll1");
    addSlides({"a", "b"});
    showGrid().setActiveCell(0, 1);
    EXPECT_EQ(
        offered(showGrid()),
        "EditCutItem EditCopyItem Clear1 ClearAll1 SelectAll1 SlideProperties1 SingleSlide1 Slideshow1");
    main().EditCopy();
    EXPECT_EQ(offered(folderGrid()), "SelectAll1 SingleSlide1 Slideshow1");
    showGrid().setActiveCell(0, 3);
    EXPECT_EQ(offered(showGrid()), "EditPasteItem ClearAll1 SelectAll1 Slideshow1");
    auto& showName = *main().findChild<QLineEdit*>("Edit2");
    showName.clear();
    EXPECT_EQ(offered(showName), "EditCopyItem EditPasteItem Clear1 SelectAll1 Slideshow1");

    test_shows::append(show(), {"BLANK"});
    main().EditPaste();
    showName.setCursorPosition(1);
    QTest::keyClick(&showName, Qt::Key_Delete);
    EXPECT_EQ(showName.text(), QStringLiteral("txt"));
    main().EditMenuClick();
    EXPECT_EQ(action("Undo1").text(), QStringLiteral("&Undo"));
    action("Undo1").trigger();
    EXPECT_EQ(showName.text(), QStringLiteral("text"));
    main().EditMenuClick();
    action("Redo1").trigger();
    EXPECT_EQ(showName.text(), QStringLiteral("txt"));
    EXPECT_EQ(show().SlideCount, 3);
    showGrid().setFocus();
    main().EditMenuClick();
    action("Undo1").trigger();
    EXPECT_EQ(show().SlideCount, 2);
}

} // namespace
