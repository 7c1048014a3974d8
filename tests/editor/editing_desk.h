// SPDX-License-Identifier: MIT
#pragma once
// The show editor's parts joined as the main window joins them, without the main window: the show
// with its grid and status line, the image browser with its folder grid and images field, the
// editing commands, the image properties dialog, and the messages they give, noted as said.

#include "condition_wait.h"
#include "dialogs.h"
#include "file_list_box.h"
#include "folder_images.h"
#include "gui_test_support.h"
#include "image_browser.h"
#include "ovc_table.h"
#include "select_dialog.h"
#include "shared_flags.h"
#include "show_document.h"
#include "show_editing.h"
#include "show_grid_view.h"
#include "show_slides.h"
#include "slide_properties.h"
#include "text_dialog.h"
#include "thumbnails.h"
#include "tphoto.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <gtest/gtest.h>

class EditingDesk : public ::testing::Test {
  protected:
    EditingDesk() {
        folderGrid.setGeometry(4, 4, 93, 293);
        folderGrid.setSelectionMode(TOvcTable::SelectionMode::WholeRows);
        folderGrid.setCellBitmapSupplier(
            [this](int row, int col) { return browser.OvcTable1GetCellData(row, col); });
        folderGrid.setRowsAboutToBeFetched([this](const QList<int>& rows) { browser.rowsInView(rows); });
        showGrid.setGeometry(104, 4, 397, 293);
        showGrid.setColumnCount(5);
        showGrid.setRowHeight(73);
        window.show();
        QApplication::setActiveWindow(&window);
    }

    void TearDown() override { resetDialogSeams(); }

    // Slides made from new pictures of the given names, appended as a drop would, in a show as opened.
    QStringList addSlides(const QStringList& names) {
        QStringList paths;
        for (const QString& name : names)
            paths.append(writePicture(dir, name + ".png", {60, 40}));
        slides.appendAcceptedImages(paths);
        // The thumbnails of the slides in view arrive from other threads before the test goes on.
        EXPECT_TRUE(QTest::qWaitFor([this] { return !slides.picturesOnTheirWay(); }, ConditionWaitMs));
        show.markOpened();
        return paths;
    }
    // Slides whose pictures are not drawn yet come with placeholders: the show grid is painted, and
    // the pictures of the slides in view arrive from the decoding threads.
    bool thumbnailsArrived() {
        showGrid.viewport()->grab();
        return QTest::qWaitFor(
            [this] {
                for (int i = 0; i < show.SlideCount; ++i)
                    if (awaitsPicture(show.thumbnail(i)))
                        return false;
                return true;
            },
            ConditionWaitMs);
    }
    // A folder of pictures f00.png, f01.png... listed in the browser.
    void listFolder(int count) {
        QStringList names;
        for (int i = 0; i < count; ++i)
            names.append(QStringLiteral("f%1.png").arg(i, 2, 10, QLatin1Char('0')));
        typeFolder(folderWith("folder", names));
    }
    // A folder below the test's temporary folder holding small pictures of the given names.
    QString folderWith(const QString& name, const QStringList& pictures) {
        return writePictureFolder(dir, name, pictures);
    }
    void typeFolder(const QString& folder) {
        imagesField.setText(folder);
        browser.CommitImagesField();
    }
    QStringList slideNames() const {
        QStringList names;
        for (int i = 0; i < show.SlideCount; ++i)
            names.append(QFileInfo(show.imagePath(i)).completeBaseName());
        return names;
    }
    void activate(int index) { showGrid.setActiveCell(index / 5, index % 5); }

    QTemporaryDir dir;
    QWidget window; // whose focus decides where a command acts
    TOvcTable folderGrid{&window};
    TOvcTable showGrid{&window};
    QLineEdit imagesField{&window};
    QLineEdit showName{&window};
    QLabel filesLabel{&window};
    QLabel countLabel{&window};
    QPushButton add{&window};
    QPushButton addAll{&window};
    QStringList told; // "caption: text" of every message given

    ShowDocument show;
    SharedFlags flags;
    TPhoto photo;
    QImage work;
    ThumbnailBuilder thumbnails{photo, work, [] { return 32; }, QString()};
    ShowGridView view{show, showGrid, countLabel};
    ShowSlides slides{show, thumbnails, view, flags};
    TellUser tell = [this](const QString& caption, const QString& text, const QString&) {
        told.append(caption + ": " + text);
    };
    FolderImages folder;
    TFileListBox fileList;
    QString imageDirectory = QDir::currentPath();
    TselectDlg selectDialog{&window};
    ImageBrowser browser{
        folder,       fileList, thumbnails, imageDirectory, {folderGrid, imagesField, filesLabel, window},
        selectDialog, tell};
    ShowEditing editing{show,
                        view,
                        browser,
                        {add, addAll, imagesField, showName, window},
                        [] { return ShowEditing::NewSlideSwitches{}; },
                        tell};
    Ttextdlg dialog{&window};
    SlideProperties properties{show, view, thumbnails, dialog};
};
