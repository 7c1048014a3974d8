// SPDX-License-Identifier: MIT
// The File menu's print commands as the main window wires them: the show print and the image print
// reach a PDF file through the printer setup dialog, and the image print takes its picture from the
// show grid's active cell.
#include "app_windows.h"
#include "condition_wait.h"
#include "confirm_dialog.h"
#include "dialogs.h"
#include "gui_test_support.h"
#include "image_loader.h"
#include "main_window.h"
#include "ovc_table.h"
#include "pdf_support.h"
#include "print_dialog.h"
#include "print_image_dialog.h"
#include "test_shows.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

using print_test::pdfPageCount;

namespace {
const QString TestImages = QStringLiteral(VERASCO_TESTDATA "/images/");

class PrintCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!QFile::exists(TestImages + "flower.jpg"))
            GTEST_SKIP() << "no test pictures in " << TestImages.toStdString();
        windows.reset(createAppWindows());
        pdf = dir.filePath(QStringLiteral("out.pdf"));
        dialogSeams().printSetup = [this](QPrinter* printer, QWidget*) {
            ++setups;
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(pdf);
            return true;
        };
    }
    void TearDown() override { resetDialogSeams(); }

    TMainFormverasco& main() { return *windows->MainFormverasco; }
    QAction* item(const char* name) { return main().findChild<QAction*>(QLatin1String(name)); }
    TOvcTable* showGrid() { return main().findChild<TOvcTable*>(QStringLiteral("OvcTable2")); }
    void focusShowGrid() {
        main().show();
        main().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main(), ConditionWaitMs));
        showGrid()->setFocus();
    }

    // Clicks `button` of `dialog` the next time it is the modal window, noting its texts.
    void answer(QDialog* dialog, const char* button) {
        whenModal(dialog, [this, dialog, button] {
            const auto* label = dialog->findChild<QLabel*>(QStringLiteral("Label1"));
            shown.append(dialog->windowTitle() + QStringLiteral(": ") + (label ? label->text() : QString()));
            QTest::mouseClick(dialog->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
        });
    }

    QTemporaryDir dir;
    QString pdf;
    int setups = 0;
    QStringList shown;
    std::unique_ptr<AppWindows> windows;
};

TEST_F(PrintCommandsTest, PrintVerascoNeedsSlidesAndPrintsThemAll) {
    QMenu* file = main().findChild<QMenu*>(QStringLiteral("FileMenu"));
    emit file->aboutToShow();
    EXPECT_FALSE(item("FilePrintItem")->isEnabled());
    EXPECT_TRUE(item("FilePrintSetupItem")->isEnabled());
    // The pictures of the slides and of the pages are decoded on other threads.
    const quint64 windowDecodes = imaging::decodedOnThisThreadCount();
    main().DropFiles(QStringList(16, TestImages + "flower.jpg"));
    emit file->aboutToShow();
    ASSERT_TRUE(item("FilePrintItem")->isEnabled());

    answer(windows->printdlg, "Button1");
    item("FilePrintItem")->trigger();
    EXPECT_EQ(setups, 1);
    EXPECT_EQ(pdfPageCount(pdf), 2); // small contact sheets: 15 a page
    EXPECT_TRUE(main().isEnabled());
    EXPECT_EQ(imaging::decodedOnThisThreadCount(), windowDecodes);
}

TEST_F(PrintCommandsTest, PrintSetupOnlyRunsThePrinterSetupDialog) {
    item("FilePrintSetupItem")->trigger();
    EXPECT_EQ(setups, 1);
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(PrintCommandsTest, PrintImageTakesTheShowGridsActiveSlide) {
    const quint64 windowDecodes = imaging::decodedOnThisThreadCount();
    main().DropFiles({TestImages + "flower.jpg", TestImages + "ladybird.png"});
    test_shows::edit(main().document(), 1, [](TSlideRecord& r) { r.ImageFile.assign("BLANK"); });
    focusShowGrid();

    showGrid()->setActiveCell(0, 1);
    answer(windows->confirmfrm, "Button1");
    item("PrintSlide1")->trigger();
    EXPECT_EQ(shown, QStringList{QStringLiteral("Information: Blank picture!")});
    EXPECT_EQ(windows->confirmfrm->windowTitle(), QStringLiteral("Confirm"));
    EXPECT_FALSE(QFile::exists(pdf));

    showGrid()->setActiveCell(0, 0);
    answer(windows->print1Dlg, "Button1");
    item("PrintSlide1")->trigger();
    EXPECT_EQ(shown.last(), QStringLiteral("Print Image: Filename:"));
    EXPECT_EQ(setups, 2);
    EXPECT_EQ(pdfPageCount(pdf), 1);
    EXPECT_EQ(imaging::decodedOnThisThreadCount(), windowDecodes);
}

} // namespace
