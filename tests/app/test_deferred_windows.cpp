// SPDX-License-Identifier: MIT
// Windows that build their controls when first needed: built late, each is the same window as one
// built at once, and the program's start has every control of every window in place once the main
// window has painted itself.

#include "about_box.h"
#include "app_windows.h"
#include "condition_wait.h"
#include "confirm_dialog.h"
#include "font_config_reader.h"
#include "form_open_dialog.h"
#include "main_window.h"
#include "ovc_table.h"
#include "pic_form.h"
#include "pref_dialog.h"
#include "preview_form.h"
#include "print_dialog.h"
#include "print_image_dialog.h"
#include "save_exe_dialog.h"
#include "search_form.h"
#include "select_dialog.h"
#include "settings.h"
#include "settings_store.h"
#include "show_file.h"
#include "show_form.h"
#include "startup.h"
#include "test_pictures.h"
#include "test_shows.h"
#include "text_dialog.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using WindowOf = std::function<QWidget*(const AppWindows&)>;

struct WindowRow {
    const char* name;
    WindowOf window;
};

const WindowRow Windows[] = {
    {"textdlg", [](const AppWindows& w) -> QWidget* { return w.textdlg; }},
    {"picfrm", [](const AppWindows& w) -> QWidget* { return w.picfrm; }},
    {"confirmfrm", [](const AppWindows& w) -> QWidget* { return w.confirmfrm; }},
    {"saveexedlg", [](const AppWindows& w) -> QWidget* { return w.saveexedlg; }},
    {"print1Dlg", [](const AppWindows& w) -> QWidget* { return w.print1Dlg; }},
    {"srchform", [](const AppWindows& w) -> QWidget* { return w.srchform; }},
    {"selectDlg", [](const AppWindows& w) -> QWidget* { return w.selectDlg; }},
    {"AboutBox", [](const AppWindows& w) -> QWidget* { return w.AboutBox; }},
    {"prefFrm", [](const AppWindows& w) -> QWidget* { return w.prefFrm; }},
    {"showFrm", [](const AppWindows& w) -> QWidget* { return w.showFrm; }},
    {"previewfrm", [](const AppWindows& w) -> QWidget* { return w.previewfrm; }},
    {"printdlg", [](const AppWindows& w) -> QWidget* { return w.printdlg; }},
};

// What a driver or a person can tell of a window: its own name, caption and size, and every object
// in it with its class, name, place, visibility, availability and text, in creation order.
QStringList appearance(const QWidget& window) {
    QStringList lines{window.objectName() + ' ' + window.windowTitle() + ' ' +
                      QString::number(window.width()) + 'x' + QString::number(window.height())};
    for (const QObject* object : window.findChildren<QObject*>()) {
        QString line = QLatin1String(object->metaObject()->className()) + ' ' + object->objectName();
        if (const auto* widget = qobject_cast<const QWidget*>(object)) {
            const QRect r = widget->geometry();
            line += QStringLiteral(" %1,%2 %3x%4 hidden=%5 enabled=%6")
                        .arg(r.x())
                        .arg(r.y())
                        .arg(r.width())
                        .arg(r.height())
                        .arg(widget->isHidden())
                        .arg(widget->isEnabled());
        }
        if (const auto* label = qobject_cast<const QLabel*>(object))
            line += ' ' + label->text();
        if (const auto* button = qobject_cast<const QAbstractButton*>(object))
            line += ' ' + button->text() + (button->isChecked() ? " checked" : "");
        lines.append(line);
    }
    return lines;
}

QStringList windowNames(const AppWindows& windows) {
    QStringList names;
    for (const QObject* child : windows.MainFormverasco->children()) {
        if (const auto* widget = qobject_cast<const QWidget*>(child); widget && widget->isWindow())
            names.append(widget->objectName());
    }
    return names;
}

TEST(DeferredWindows, BuiltLaterEveryWindowIsTheOneBuiltAtOnce) {
    const std::unique_ptr<AppWindows> now(createAppWindows());
    const std::unique_ptr<AppWindows> later(createAppWindows(ContentsTiming::WhenNeeded));
    EXPECT_EQ(windowNames(*later), windowNames(*now)) << "the windows and their order of creation";
    later->buildContents();
    for (const WindowRow& row : Windows) {
        SCOPED_TRACE(row.name);
        ASSERT_EQ(row.window(*later)->objectName(), QLatin1String(row.name));
        EXPECT_EQ(appearance(*row.window(*later)), appearance(*row.window(*now)));
    }
}

// The ways in which the program reaches a window before every window is built: showing it, and the
// calls that fill it or read it.
TEST(DeferredWindows, AWindowBuildsItsControlsWhenFirstUsed) {
    struct Use {
        const char* control;
        QWidget* (*window)(const AppWindows&);
        std::function<void(const AppWindows&)> use;
    };
    const Use uses[] = {
        {"OKButton", [](const AppWindows& w) -> QWidget* { return w.AboutBox; },
         [](const AppWindows& w) { w.AboutBox->show(); }},
        {"FormOpenDialog1", [](const AppWindows& w) -> QWidget* { return w.selectDlg; },
         [](const AppWindows& w) { w.selectDlg->openDialog().setFileName(QString()); }},
        {"Label5", [](const AppWindows& w) -> QWidget* { return w.saveexedlg; },
         [](const AppWindows& w) { w.saveexedlg->setFacts(QStringLiteral("a.exe"), 1, 1, 0); }},
        {"CheckBox5", [](const AppWindows& w) -> QWidget* { return w.printdlg; },
         [](const AppWindows& w) { EXPECT_EQ(w.printdlg->options().layout, 1); }},
        {"TrackBar2", [](const AppWindows& w) -> QWidget* { return w.showFrm; },
         [](const AppWindows& w) { w.showFrm->mediaPlayer(); }},
        {"dlyfld", [](const AppWindows& w) -> QWidget* { return w.prefFrm; },
         [](const AppWindows& w) { w.prefFrm->setViewerSwitchesEnabled(false); }},
        {"Label2", [](const AppWindows& w) -> QWidget* { return w.confirmfrm; },
         [](const AppWindows& w) { w.confirmfrm->fitToLine2(QStringLiteral("\"show.vrs\"?")); }},
    };
    for (const Use& use : uses) {
        SCOPED_TRACE(use.control);
        const std::unique_ptr<AppWindows> windows(createAppWindows(ContentsTiming::WhenNeeded));
        QWidget* window = use.window(*windows);
        ASSERT_EQ(window->findChild<QWidget*>(QLatin1String(use.control)), nullptr);
        use.use(*windows);
        EXPECT_NE(window->findChild<QWidget*>(QLatin1String(use.control)), nullptr);
        window->hide();
    }
}

TEST(DeferredWindows, NamesFilledInBeforeTheFindWindowIsBuiltAreListed) {
    const std::unique_ptr<AppWindows> windows(createAppWindows(ContentsTiming::WhenNeeded));
    windows->srchform->setNames({QStringLiteral("/pictures/Flower.JPG"), QStringLiteral("/pictures/b.png")});
    windows->srchform->buildContents();
    const auto* list = windows->srchform->findChild<QListWidget*>(QStringLiteral("OvcSearchList1"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("Flower.JPG"));
}

TEST(DeferredWindows, TheViewerFollowsAHostGivenBeforeItWasBuilt) {
    const std::unique_ptr<AppWindows> windows(createAppWindows(ContentsTiming::WhenNeeded));
    windows->showFrm->setHost({}); // a host that cannot edit the preferences
    windows->showFrm->buildContents();
    const auto* preferences = windows->showFrm->findChild<QWidget*>(QStringLiteral("Button1"));
    ASSERT_NE(preferences, nullptr);
    EXPECT_TRUE(preferences->isHidden());
    ViewerHost host;
    host.editPreferences = [] {};
    windows->showFrm->setHost(host);
    EXPECT_FALSE(preferences->isHidden());
}

TEST(DeferredWindows, AtStartEveryControlIsThereOnceTheMainWindowHasPainted) {
    QTemporaryDir runtime; // no running instance to hand over to
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    VerascoStartup startup({});
    ASSERT_FALSE(startup.handedOver());
    const AppWindows& windows = *startup.windows();
    const std::unique_ptr<AppWindows> reference(createAppWindows());
    auto allBuilt = [&] {
        for (const WindowRow& row : Windows) {
            if (appearance(*row.window(windows)).size() != appearance(*row.window(*reference)).size())
                return false;
        }
        return true;
    };
    EXPECT_TRUE(QTest::qWaitFor(allBuilt, ConditionWaitMs));
    EXPECT_TRUE(windows.MainFormverasco->isVisible());
    startup.windows()->MainFormverasco->hide();
}

// A start with a show on its command line has listed the remembered picture folder by the time its
// window appears, without waiting for the window to be activated, and shows the show from its first
// row.
TEST(DeferredWindows, AStartListsTheRememberedFolderAndShowsTheShowFromItsFirstRow) {
    QTemporaryDir dir;
    qputenv("XDG_RUNTIME_DIR", dir.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    ASSERT_TRUE(QDir(dir.path()).mkdir("pictures"));
    for (const char* name : {"a.png", "b.png", "c.png"})
        ASSERT_FALSE(test_pictures::make(dir.filePath("pictures"), name).isEmpty());
    Settings remembered = Settings::defaults();
    remembered.ImageDirectory = dir.filePath("pictures");
    SettingsStore store;
    ASSERT_TRUE(remembered.write(store));
    ShowDocument long_show;
    test_shows::fill(long_show, 40);
    ASSERT_TRUE(ShowFile::write(dir.filePath("long.vrs"), long_show).ok);

    VerascoStartup startup({dir.filePath("long.vrs")});
    ASSERT_FALSE(startup.handedOver());
    TMainFormverasco& main = *startup.windows()->MainFormverasco;
    const QLabel& files = *main.findChild<QLabel*>("Label6");
    EXPECT_EQ(files.text().trimmed(), QStringLiteral("Files: 3"));
    EXPECT_EQ(main.findChild<TOvcTable*>("OvcTable2")->TopRow(), 0);
    main.hide();
    qunsetenv("XDG_CONFIG_HOME");
}

QWidget* topLevelNamed(const QString& name) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == name)
            return widget;
    }
    return nullptr;
}

TEST(DeferredWindows, AStartReadsTheFontConfigurationBeforeItCreatesItsWindows) {
    { FontConfigReader unused; } // a start that hands over ends without waiting for it

    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    FontConfigReader fonts;
    std::vector<std::string> steps;
    VerascoStartup startup({}, [&] {
        fonts.wait();
        steps.push_back(topLevelNamed(QStringLiteral("MainFormverasco")) ? "windows already made"
                                                                         : "windows");
    });
    ASSERT_FALSE(startup.handedOver());
    EXPECT_EQ(steps, (std::vector<std::string>{"windows"}));
    EXPECT_TRUE(startup.windows()->MainFormverasco->isVisible());
    startup.windows()->MainFormverasco->hide();
}

} // namespace
