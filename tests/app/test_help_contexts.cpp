// SPDX-License-Identifier: MIT
// Every window of the program opens the help at its own page: F1 where the window answers it, the
// Help button of the stand-alone settings.

#include "app_windows.h"
#include "condition_wait.h"
#include "help_sections.h"
#include "main_window.h"
#include "pref_dialog.h"
#include "print_dialog.h"
#include "qt_application_environment.h"
#include "save_exe_dialog.h"
#include "show_form.h"
#include "text_dialog.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

testing::Environment* const qtApplication =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment<QApplication>);

TEST(HelpOfEveryWindow, OpensAtThePageOfThatWindow) {
    useTheHelpOfTheSourceTree();
    std::unique_ptr<AppWindows> windows(createAppWindows());
    enum How { F1, HelpButton };
    const struct {
        int context;
        QWidget* window;
        How how;
        const char* heading;
    } rows[] = {
        {9, windows->MainFormverasco, F1, "Help Topics"},
        {10, windows->saveexedlg, HelpButton, "Stand-alone Show Settings"},
        {15, windows->showFrm, F1, "The Show Viewer"},
        {20, windows->printdlg, F1, "Printing a Show"},
        {30, windows->prefFrm, F1, "Preferences"},
        {40, windows->textdlg, F1, "Image Properties"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.context);
        row.window->show();
        row.window->activateWindow();
        // A window's shortcuts answer only once it is the application's active window.
        ASSERT_TRUE(
            QTest::qWaitFor([&row] { return QApplication::activeWindow() == row.window; }, ConditionWaitMs));
        if (row.how == F1)
            QTest::keyClick(row.window, Qt::Key_F1);
        else
            QTest::mouseClick(row.window->findChild<QPushButton*>(QStringLiteral("Button3")), Qt::LeftButton);
        EXPECT_EQ(helpHeadingShown(), row.heading);
        ASSERT_NE(helpViewerWindow(), nullptr);
        EXPECT_TRUE(helpViewerWindow()->toHtml().contains(helpAnchor(row.context)));
        helpViewerWindow()->close();
        row.window->hide();
    }
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config; // the user's own settings stay untouched
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
