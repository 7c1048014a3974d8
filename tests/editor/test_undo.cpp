// SPDX-License-Identifier: MIT
// Undo and Redo through the real main window: every command that changes the show is one step, named
// in the Edit menu, taken back and made again with the keys, the thumbnails kept without decoding;
// back at the saved show nothing is left to save, and a show cleared or opened has nothing to undo.

#include "app_windows.h"
#include "drag_window_support.h"
#include "folder_images.h"
#include "image_browser.h"
#include "image_loader.h"
#include "ovc_simple_field.h"
#include "pref_dialog.h"
#include "show_grid.h"
#include "show_grid_view.h"
#include "show_selection.h"
#include "show_slides.h"
#include "test_pictures.h"
#include "test_shows.h"
#include "text_dialog.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStandardPaths>

#include <numeric>

namespace {
testing::Environment* const environment = testing::AddGlobalTestEnvironment(new PlayerTestEnvironment);

struct Command {
    const char* step; // as the Edit menu names it
    std::function<void(DragWindow&)> run;
};

std::ostream& operator<<(std::ostream& out, const Command& row) {
    return out << row.step;
}

class ShowWindow : public DragWindow {
  public:
    // What the show holds: each slide's name, time, hold and caption switch, caption and thumbnail.
    QStringList state() {
        QStringList slides;
        for (int i = 0; i < show().SlideCount; ++i) {
            const TSlideRecord& r = show().slide(i);
            slides.append(QStringLiteral("%1 %2%3%4 %5 %6")
                              .arg(slideNames()[i])
                              .arg(r.Delay)
                              .arg(r.HoldForAudio)
                              .arg(r.ShowText)
                              .arg(QString::fromStdString(r.Text.str()))
                              .arg(show().thumbnail(i).cacheKey()));
        }
        return slides;
    }
    void press(QKeyCombination keys) { QTest::keyClick(&showGrid(), keys.key(), keys.keyboardModifiers()); }
    void click(int index, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::mouseClick(showGrid().viewport(), Qt::LeftButton, modifiers,
                          cellCentre(showGrid(), ShowGrid::rowOf(index, showGrid().ColumnCount()),
                                     ShowGrid::columnOf(index, showGrid().ColumnCount())));
    }
};

class UndoStep : public ShowWindow, public testing::WithParamInterface<Command> {};

TEST_P(UndoStep, TheCommandIsUndoneAndRedoneWithItsName) {
    addSlides({"a", "b", "c", "d"});
    listFolder(3);
    // The folder's thumbnails arrive from other threads: all of them before the decodes are counted.
    folderGrid().viewport()->grab();
    const FolderImages& folder = browser().folder();
    ASSERT_TRUE(QTest::qWaitFor([&] { return folder.FolderThumbnailReady[2]; }, ConditionWaitMs));
    focusShowGrid(0, 1);
    folderGrid().setActiveRow(1);
    const QStringList before = state();
    EXPECT_FALSE(action("Undo1").isEnabled());
    EXPECT_EQ(action("Undo1").text(), QStringLiteral("&Undo"));

    GetParam().run(*this);
    // The thumbnail of a file added arrives from another thread; Undo and Redo bring back that one.
    ASSERT_TRUE(QTest::qWaitFor([this] { return !main().slides().picturesOnTheirWay(); }, ConditionWaitMs));
    const QStringList after = state();
    ASSERT_NE(after, before);
    EXPECT_TRUE(show().ShowModified);
    EXPECT_EQ(action("Undo1").text(), QStringLiteral("&Undo ") + GetParam().step);
    EXPECT_TRUE(action("Undo1").isEnabled());
    EXPECT_FALSE(action("Redo1").isEnabled());

    focusShowGrid(0, 1); // back from a dialog
    const quint64 decoded = imaging::decodedImageCount();
    press(Qt::CTRL | Qt::Key_Z);
    EXPECT_EQ(state(), before);
    EXPECT_FALSE(show().ShowModified) << "back to the show as opened";
    EXPECT_EQ(action("Redo1").text(), QStringLiteral("Re&do ") + GetParam().step);
    EXPECT_FALSE(action("Undo1").isEnabled());
    press(Qt::CTRL | Qt::Key_Y);
    EXPECT_EQ(state(), after);
    press(Qt::CTRL | Qt::Key_Z);
    press(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    EXPECT_EQ(state(), after);
    EXPECT_EQ(imaging::decodedImageCount(), decoded) << "thumbnails come back as they were";
    EXPECT_EQ(label("Label7"), QStringLiteral("Images: %1").arg(show().SlideCount) + QString(24, ' '));
}

// Opens the modal dialog `window` with `open` and lets `inside` work in it.
void inDialog(QWidget* window, const std::function<void()>& open, std::function<void()> inside) {
    whenModal(window, std::move(inside));
    open();
}

INSTANTIATE_TEST_SUITE_P(
    Commands, UndoStep,
    testing::Values(
        Command{"Add Images", [](DragWindow& t) { QTest::mouseClick(&t.button("BitBtn1"), Qt::LeftButton); }},
        Command{"Add Images", [](DragWindow& t) { QTest::mouseClick(&t.button("BitBtn3"), Qt::LeftButton); }},
        Command{"Delete Slide", [](DragWindow& t) { QTest::keyClick(&t.showGrid(), Qt::Key_Delete); }},
        Command{"Cut", [](DragWindow& t) { QTest::keyClick(&t.showGrid(), Qt::Key_X, Qt::ControlModifier); }},
        Command{"Delete Slides",
                [](DragWindow& t) {
                    QTest::mouseClick(t.showGrid().viewport(), Qt::LeftButton, Qt::ControlModifier,
                                      t.cellCentre(t.showGrid(), 0, 3));
                    QTest::keyClick(&t.showGrid(), Qt::Key_Delete);
                }},
        Command{"Cut",
                [](DragWindow& t) {
                    QTest::keyClick(&t.showGrid(), Qt::Key_Right, Qt::ShiftModifier);
                    QTest::keyClick(&t.showGrid(), Qt::Key_X, Qt::ControlModifier);
                }},
        Command{"Move Slides",
                [](DragWindow& t) {
                    QTest::mouseClick(t.showGrid().viewport(), Qt::LeftButton, Qt::ControlModifier,
                                      t.cellCentre(t.showGrid(), 0, 0));
                    t.dragTo(t.showGrid(), 0, t.showGrid(), t.cellCentre(t.showGrid(), 0, 3));
                    t.release(t.showGrid(), t.cellCentre(t.showGrid(), 0, 3));
                }},
        Command{"Paste",
                [](DragWindow& t) {
                    QTest::keyClick(&t.showGrid(), Qt::Key_C, Qt::ControlModifier);
                    t.showGrid().setActiveCell(0, 3);
                    QTest::keyClick(&t.showGrid(), Qt::Key_V, Qt::ControlModifier);
                }},
        Command{"Move Slide",
                [](DragWindow& t) {
                    t.dragTo(t.showGrid(), 0, t.showGrid(), t.cellCentre(t.showGrid(), 0, 3));
                    t.release(t.showGrid(), t.cellCentre(t.showGrid(), 0, 3));
                }},
        Command{"Drag Images",
                [](DragWindow& t) {
                    t.dragTo(t.folderGrid(), 2, t.showGrid(), t.cellCentre(t.showGrid(), 0, 2));
                    t.release(t.showGrid(), t.cellCentre(t.showGrid(), 0, 2));
                }},
        Command{"Drop Files",
                [](DragWindow& t) {
                    t.main().DragDropFiles1Drop({writePicture(t.dir, "dropped.png", {8, 8})});
                }},
        Command{"Drop Files",
                [](DragWindow& t) {
                    t.main().DropFiles({writePicture(t.dir, "dropped.png", {8, 8})});
                }},
        Command{"Add Image",
                [](DragWindow& t) {
                    t.main().CopyDataReceived(writePicture(t.dir, "handed.png", {8, 8}));
                }},
        Command{"Image Properties",
                [](DragWindow& t) {
                    inDialog(
                        t.windows->textdlg, [&t] { t.main().SlideProperties1Click(); },
                        [&t] {
                            auto* delay = t.windows->textdlg->findChild<TOvcSimpleField*>("dlyfld");
                            delay->selectAll();
                            QTest::keyClicks(delay, "42");
                            QTest::mouseClick(t.windows->textdlg->findChild<QPushButton*>("BitBtn1"),
                                              Qt::LeftButton);
                        });
                }},
        Command{"Image Properties",
                [](DragWindow& t) {
                    QTest::keyClick(&t.showGrid(), Qt::Key_A, Qt::ControlModifier);
                    inDialog(
                        t.windows->textdlg, [&t] { t.main().SlideProperties1Click(); },
                        [&t] {
                            // On its box: the box may be wider than its text.
                            auto* box = t.windows->textdlg->findChild<QCheckBox*>("CheckBox1");
                            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
                            QTest::mouseClick(t.windows->textdlg->findChild<QPushButton*>("BitBtn1"),
                                              Qt::LeftButton);
                        });
                }},
        Command{"Default Settings", [](DragWindow& t) {
                    TprefFrm* preferences = t.windows->prefFrm;
                    inDialog(
                        preferences, [&t] { t.main().Preferences1Click(); },
                        [preferences] {
                            QTest::mouseClick(preferences->findChild<QPushButton*>("Button2"),
                                              Qt::LeftButton);
                            QTest::mouseClick(preferences->findChild<QPushButton*>("Button1"),
                                              Qt::LeftButton);
                        });
                }}));

// Undo and Redo select the slides the step touched, make the first of them the active one and bring
// them into view; a change made elsewhere leaves the active cell on its slide.
TEST_F(DragWindow, UndoAndRedoShowTheSlidesTheyTouched) {
    addSlides(40);
    const auto active = [this] {
        return ShowGrid::indexAt(showGrid().ActiveRow(), showGrid().ActiveCol(), showGrid().ColumnCount());
    };
    const auto inView = [this](int index) {
        const int row = ShowGrid::rowOf(index, showGrid().ColumnCount());
        return row >= showGrid().TopRow() && row < showGrid().TopRow() + showGrid().fullyVisibleRows();
    };
    focusShowGrid(7, 0);
    QTest::keyClick(&showGrid(), Qt::Key_Delete);
    showGrid().setActiveCell(0, 1);
    ASSERT_FALSE(inView(35));
    QTest::keyClick(&showGrid(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(active(), 35);
    EXPECT_TRUE(inView(35));
    showGrid().setActiveCell(0, 1);
    QTest::keyClick(&showGrid(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(active(), 35) << "where the slide was taken out";
    EXPECT_TRUE(inView(35));

    showGrid().setActiveCell(2, 0);
    show().insert(0, {show().at(39), show().at(38)});
    EXPECT_EQ(active(), 12);
    EXPECT_EQ(slideNames()[active()], QStringLiteral("s010"));

    // Slides deleted here and there come back selected, the first of them active and in view, and
    // the Edit menu offers its commands on them wherever the focus was (the folder grid after ">>").
    const std::vector<int> scattered = {3, 11, 12, 26, 38};
    show().removeEach(scattered);
    showGrid().setActiveCell(7, 0);
    ASSERT_FALSE(inView(3));
    folderGrid().setFocus();
    main().EditMenuClick();
    action("Undo1").trigger();
    EXPECT_EQ(main().slides().view().selection().slides(), scattered);
    EXPECT_EQ(active(), 3);
    EXPECT_TRUE(inView(3));
    for (const char* item :
         {"EditCutItem", "EditCopyItem", "Clear1", "ClearAll1", "SelectAll1", "SlideProperties1"})
        EXPECT_TRUE(action(item).isEnabled()) << item;
    QTest::keyClick(&showGrid(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(main().slides().view().selection().slides(), std::vector<int>{3}) << "none left to select";
}

// Three hundred photos, their EXIF dates out of name order, added with ">>" and sorted by date; forty of
// them, selected with a click, Shift with the arrows
// and a Ctrl+click, given 3 s and a caption in one visit of Image Properties, each keeping the fields
// left untouched; ten, Ctrl+clicked, deleted with the Delete key; five, Shift+clicked, sorted. Ctrl+Z
// then takes each command back in turn, to the show exactly as it stood before it.
TEST_F(ShowWindow, ThreeHundredPhotosChangedAndDeletedSeveralAtOnceAreUndoneStepByStep) {
    if (QStandardPaths::findExecutable(QStringLiteral("exiftool")).isEmpty())
        GTEST_SKIP() << "exiftool (libimage-exiftool-perl) is not installed";
    QStringList names;
    for (int i = 0; i < 300; ++i)
        names.append(QStringLiteral("p%1.jpg").arg(i, 3, 10, QLatin1Char('0')));
    const QString folder = folderWith("photos", names);
    // Photo p was taken (7 p mod 300) minutes after the first, so that by date place k holds photo
    // 43 k mod 300 (7 x 43 = 301); the files' times run the other way, so that a sort by them fails.
    const auto placeByDate = [](int photo) { return 7 * photo % 300; };
    QStringList paths;
    QList<QDateTime> taken, fileTimes;
    for (int i = 0; i < 300; ++i) {
        paths.append(QDir(folder).filePath(names[i]));
        taken.append(QDateTime(QDate(2024, 5, 1), QTime(8, 0)).addSecs(60 * placeByDate(i)));
        fileTimes.append(QDateTime(QDate(2020, 1, 1), QTime(0, 0)).addSecs(-60 * placeByDate(i)));
    }
    ASSERT_TRUE(test_pictures::tagDatesTaken(paths, taken, fileTimes));
    typeFolder(folder);
    // The slides take the folder's thumbnails, all drawn, so that none arrives while the show is compared.
    for (int row = 0; row < 300; ++row)
        browser().folderThumbnail(row);
    focusShowGrid(0, 0);
    Ttextdlg& dialog = *windows->textdlg;
    std::vector<int> selected(38);
    std::iota(selected.begin(), selected.end(), 0);
    selected.insert(selected.end(), {39, 40});
    const std::vector<int> deleted = {1, 3, 4, 7, 9, 12, 13, 15, 16, 19};
    const std::pair<QString, std::function<void()>> steps[] = {
        {QStringLiteral("Add Images"), [&] { QTest::mouseClick(&button("BitBtn3"), Qt::LeftButton); }},
        {QStringLiteral("Sort Slides"),
         [&] {
             action("SortByDate1").trigger();
             QStringList byDate;
             for (int place = 0; place < 300; ++place)
                 byDate.append(names[43 * place % 300].chopped(4));
             EXPECT_EQ(slideNames(), byDate);
         }},
        {QStringLiteral("Change Slides"),
         [&] {
             const ShowDocument::Step step(show(), QStringLiteral("Change Slides"));
             test_shows::edit(show(), 2, [](TSlideRecord& r) { r.HoldForAudio = 0; });
             test_shows::edit(show(), 5, [](TSlideRecord& r) { r.Text.assign("Quay"); });
             test_shows::edit(show(), 38, [](TSlideRecord& r) { r.Text.assign("Quay"); });
         }},
        {QStringLiteral("Image Properties"),
         [&] {
             showGrid().setTopRow(0);
             click(0);
             for (int row = 0; row < 8; ++row)
                 press(Qt::SHIFT | Qt::Key_Down);
             click(38, Qt::ControlModifier);
             inDialog(
                 &dialog, [this] { action("SlideProperties1").trigger(); },
                 [&] {
                     EXPECT_EQ(dialog.findChild<QLabel*>("Label6")->text(), QStringLiteral("40"));
                     auto* delay = dialog.findChild<TOvcSimpleField*>("dlyfld");
                     delay->selectAll();
                     QTest::keyClicks(delay, "3");
                     QTest::keyClicks(dialog.findChild<QPlainTextEdit*>("Memo1"), "Harbour");
                     QTest::mouseClick(dialog.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
                 });
         }},
        {QStringLiteral("Delete Slides"),
         [&] {
             focusShowGrid(0, 0); // back from the dialog
             showGrid().setTopRow(0);
             click(deleted.front());
             for (int index : deleted)
                 if (index != deleted.front())
                     click(index, Qt::ControlModifier);
             press(QKeyCombination(Qt::Key_Delete));
         }},
        {QStringLiteral("Sort Slides"),
         [&] {
             const QStringList shown = slideNames();
             click(0);
             click(4, Qt::ShiftModifier);
             action("SortReverse1").trigger();
             const QStringList sorted = slideNames();
             EXPECT_EQ(sorted.mid(0, 5), (QStringList{shown[4], shown[3], shown[2], shown[1], shown[0]}));
             EXPECT_EQ(sorted.mid(5), shown.mid(5)) << "only the slides selected are sorted";
         }},
    };
    std::vector<QStringList> before;
    for (const auto& [name, run] : steps) {
        before.push_back(state());
        run();
        EXPECT_EQ(action("Undo1").text(), QStringLiteral("&Undo ") + name);
    }

    ASSERT_EQ(show().SlideCount, 290);
    int given = 0;
    for (int i = 0; i < show().SlideCount; ++i) {
        // The steps after the sort chose slides by their places in date order.
        const int photo = slideNames()[i].mid(1).toInt();
        const int place = placeByDate(photo);
        const bool chosen = std::count(selected.begin(), selected.end(), place) > 0;
        EXPECT_EQ(std::count(deleted.begin(), deleted.end(), place), 0) << photo;
        const TSlideRecord& r = show().slide(i);
        const std::string caption = chosen ? "Harbour" : place == 38 ? "Quay" : "";
        EXPECT_EQ(std::tuple(int(r.Delay), QString::fromStdString(r.Text.str()).trimmed().toStdString(),
                             int(r.HoldForAudio)),
                  std::tuple(chosen ? 3 : 5, caption, place == 2 ? 0 : 1))
            << photo;
        given += chosen;
    }
    EXPECT_EQ(given, 30) << "ten of the forty were deleted";
    for (auto shown = before.rbegin(); shown != before.rend(); ++shown) {
        press(Qt::CTRL | Qt::Key_Z);
        EXPECT_EQ(state(), *shown) << "undone back to step " << before.rend() - shown;
    }
    EXPECT_EQ(show().SlideCount, 0);
}

// A show saved, changed and changed back asks nothing on closing; Clear All and Open leave nothing
// to undo.
TEST_F(DragWindow, UndoBackToTheSavedShowLeavesNothingToAskAndAClearedShowNothingToUndo) {
    addSlides({"a", "b", "c"});
    focusShowGrid(0, 0);
    QTest::keyClick(&showGrid(), Qt::Key_Delete);
    const QString file = dir.filePath("saved.vrs");
    dialogSeams().getSaveFileName = [&](QWidget*, const QString&, const QString&, const QString&) {
        return file;
    };
    dialogSeams().getOpenFileName = [&](QWidget*, const QString&, const QString&, const QString&) {
        return file;
    };
    ASSERT_TRUE(main().FileSaveAs());
    QTest::keyClick(&showGrid(), Qt::Key_Delete);
    ASSERT_TRUE(show().ShowModified);
    QTest::keyClick(&showGrid(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(show().ShowModified);
    EXPECT_TRUE(action("Undo1").isEnabled()) << "the steps before the save stay";

    main().FileNew();
    EXPECT_FALSE(action("Undo1").isEnabled());
    QTest::keyClick(&showGrid(), Qt::Key_Delete);
    EXPECT_EQ(show().SlideCount, 0);
    main().FileOpen();
    ASSERT_EQ(show().SlideCount, 2);
    EXPECT_FALSE(action("Undo1").isEnabled());
    EXPECT_FALSE(action("Redo1").isEnabled());

    QTest::keyClick(&showGrid(), Qt::Key_Delete);
    QTest::keyClick(&showGrid(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(main().close()) << "closes without a question";
    EXPECT_TRUE(confirmed.isEmpty());
}

} // namespace
