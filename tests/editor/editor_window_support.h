// SPDX-License-Identifier: MIT
#pragma once
// What the editor's tests share: the real windows of the program, folders of pictures made for
// the test, and the answers a person gives to the select dialog and the confirmation dialog.

#include "app_windows.h"
#include "confirm_dialog.h"
#include "dialogs.h"
#include "form_open_dialog.h"
#include "gui_test_support.h"
#include "image_browser.h"
#include "main_window.h"
#include "ovc_table.h"
#include "select_dialog.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

class EditorWindow : public ::testing::Test {
  public:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        windows.reset(createAppWindows());
        dialogSeams().runModal = [this](QDialog* dialog) {
            ++selectDialogRuns;
            auto* select = static_cast<TselectDlg*>(dialog);
            select->show();
            if (!selectAnswers.empty()) {
                const auto answer = selectAnswers.front();
                selectAnswers.erase(selectAnswers.begin());
                answer(*select);
            }
            if (select->isVisible())
                select->reject();
            return select->result();
        };
    }
    void TearDown() override {
        resetDialogSeams();
        windows.reset();
    }

    TMainFormverasco& main() { return *windows->MainFormverasco; }
    ImageBrowser& browser() { return main().browser(); }
    TOvcTable& folderGrid() { return *main().findChild<TOvcTable*>("OvcTable1"); }
    TOvcTable& showGrid() { return *main().findChild<TOvcTable*>("OvcTable2"); }
    QLineEdit& imagesField() { return *main().findChild<QLineEdit*>("Edit1"); }
    QString label(const char* name) { return main().findChild<QLabel*>(name)->text(); }
    const QStringList& listed() { return browser().folder().FolderImagePaths; }

    // A folder below the test's temporary folder holding small pictures of the given names.
    QString folderWith(const QString& name, const QStringList& pictures) {
        return writePictureFolder(dir, name, pictures);
    }
    // Types a folder into the images field and presses Enter.
    void typeFolder(const QString& folder) {
        imagesField().setText(folder);
        QTest::keyClick(&imagesField(), Qt::Key_Return);
    }

    // The next run of the select dialog moves its panel to a folder and presses "&Select".
    void answerSelect(const QString& folder) {
        selectAnswers.push_back([folder](TselectDlg& dialog) {
            dialog.openDialog().setCurrentFolder(folder);
            QTest::mouseClick(dialog.findChild<QPushButton*>("OKBtn"), Qt::LeftButton);
        });
    }
    void answerCancel() {
        selectAnswers.push_back([](TselectDlg& dialog) {
            QTest::mouseClick(dialog.findChild<QPushButton*>("CancelButton"), Qt::LeftButton);
        });
    }

    // Clicks a button of the confirmation dialog when it next comes up, noting what it said.
    void answerConfirm(const char* button) {
        Tconfirmfrm* confirm = windows->confirmfrm;
        whenModal(confirm, [this, confirm, button] {
            confirmed.push_back(confirm->windowTitle() + ": " +
                                confirm->findChild<QLabel*>("Label1")->text());
            QTest::mouseClick(confirm->findChild<QPushButton*>(button), Qt::LeftButton);
        });
    }

    QTemporaryDir dir;
    std::unique_ptr<AppWindows> windows;
    std::vector<std::function<void(TselectDlg&)>> selectAnswers;
    int selectDialogRuns = 0;
    QStringList confirmed;
};
