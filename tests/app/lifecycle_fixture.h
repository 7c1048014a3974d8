// SPDX-License-Identifier: MIT
#pragma once
// The main window with its real windows and confirmation dialog, for the tests of the show as a whole:
// a first run's settings of its own, the platform's file dialogs answered by the test, and the
// questions of the confirmation dialog answered as a person would.

#include "app_windows.h"
#include "condition_wait.h"
#include "confirm_dialog.h"
#include "dialogs.h"
#include "file_bytes.h"
#include "main_window.h"
#include "ovc_table.h"
#include "settings.h"
#include "show_file.h"
#include "small_tmpfs.h"
#include "test_pictures.h"
#include "test_shows.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <deque>
#include <functional>

namespace lifecycle_test {

// The window's close box, as the window system reports a click on it.
inline void clickCloseBox(QWidget* window) {
    QCloseEvent close;
    QCoreApplication::sendEvent(window->windowHandle(), &close);
}

// What the confirmation dialog said when it came up.
struct Asked {
    QString caption, line1, line2;
};

class Lifecycle : public ::testing::Test {
  protected:
    void SetUp() override {
        // Each test starts from a first run: its settings live in a folder of its own.
        savedConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        windows.reset(createAppWindows());
        ASSERT_EQ(main().settings().storedValues(), Settings::defaults().storedValues());
        confirm = windows->confirmfrm;
        dialogSeams().getSaveFileName = [this](QWidget*, const QString&, const QString& dir, const QString&) {
            ++saveDialogs;
            saveDialogStart = dir;
            return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
        };
        // The video's dialog also tells the file type chosen: the one it starts on.
        dialogSeams().getSaveFileNameAndFilter = [](QWidget* parent, const QString& caption,
                                                    const QString& dir, const QString& filter, QString*) {
            return dialogSeams().getSaveFileName(parent, caption, dir, filter);
        };
        // The web page's folder is chosen in the folder dialog, answered the same way.
        dialogSeams().getFolder = [this](QWidget*, const QString&, const QString& dir) {
            ++saveDialogs;
            saveDialogStart = dir;
            return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
        };
        dialogSeams().getOpenFileName = [this](QWidget*, const QString&, const QString&, const QString&) {
            return openAnswer;
        };
    }
    void TearDown() override {
        windows.reset();
        resetDialogSeams();
        qputenv("XDG_CONFIG_HOME", savedConfig);
    }

    TMainFormverasco& main() { return *windows->MainFormverasco; }
    ShowDocument& show() { return main().document(); }
    QLineEdit& showName() { return *main().findChild<QLineEdit*>("Edit2"); }

    // Runs the action on the confirmation dialog when it next comes up, after noting what it
    // said; actions queued earlier come first. An action kept `always` answers every question
    // once the queue is empty.
    void whenAsked(std::function<void()> action, bool always = false) {
        (always ? standingAnswer : pendingAnswers.emplace_back()) = std::move(action);
        if (poll)
            return;
        poll = new QTimer(confirm);
        poll->setInterval(5);
        QObject::connect(poll, &QTimer::timeout, confirm, [this] {
            // Keys reach the dialog once it is the active window.
            if (QApplication::activeModalWidget() != confirm || QApplication::activeWindow() != confirm ||
                answering || (pendingAnswers.empty() && !standingAnswer))
                return;
            asked.push_back({confirm->windowTitle(), confirm->findChild<QLabel*>("Label1")->text(),
                             confirm->findChild<QLabel*>("Label2")->text()});
            std::function<void()> action = standingAnswer;
            if (!pendingAnswers.empty()) {
                action = std::move(pendingAnswers.front());
                pendingAnswers.pop_front();
            }
            const QScopedValueRollback<bool> busy(answering, true);
            action();
        });
        poll->start();
    }
    // Clicks the button of the confirmation dialog the next time it is shown.
    void answer(const char* button, bool always = false) {
        whenAsked(
            [this, button] { QTest::mouseClick(confirm->findChild<QPushButton*>(button), Qt::LeftButton); },
            always);
    }

    // A picture made in the test's folder.
    QString picture(const QString& name) {
        const QString path = dir.filePath(name);
        return QFileInfo::exists(path) ? path : test_pictures::make(dir.path(), name);
    }
    void addSlides(int n) {
        const QStringList names = {"flower.jpg", "ladybird.png", "storm.bmp", "size_73x48.pcx"};
        QStringList paths;
        for (int i = 0; i < n; ++i)
            paths.append(picture(names[i % names.size()]));
        main().DropFiles(paths);
        ASSERT_EQ(show().SlideCount, n);
        ASSERT_TRUE(show().ShowModified);
    }
    // Files dropped from a file manager on the main window, outside the show grid.
    void dropOnWindow(const QStringList& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls.append(QUrl::fromLocalFile(path));
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&main(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent dropped(QPointF(2, 2), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&main(), &dropped);
        ASSERT_TRUE(dropped.isAccepted());
    }
    // The main window on screen and active, and the focus moved into the show name field holding
    // `text`.
    void focusShowName(const QString& text) {
        main().show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main(), ConditionWaitMs));
        main().findChild<QWidget*>("BitBtn4")->setFocus();
        showName().setText(text);
        showName().setFocus();
        ASSERT_TRUE(showName().hasFocus());
    }
    // The main window on screen and active, the show name field holding nothing, as a person
    // who clicked into the field finds it.
    void clickIntoEmptyShowName() {
        main().show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main(), ConditionWaitMs));
        showName().clear();
        QTest::mouseClick(&showName(), Qt::LeftButton);
        ASSERT_TRUE(showName().hasFocus());
    }

    QTemporaryDir config;
    QByteArray savedConfig;
    QTemporaryDir dir;
    std::unique_ptr<AppWindows> windows;
    Tconfirmfrm* confirm = nullptr;
    QStringList saveAnswers;
    QString openAnswer;
    QString saveDialogStart;
    int saveDialogs = 0;
    std::vector<Asked> asked;
    bool answering = false;
    QTimer* poll = nullptr;
    std::deque<std::function<void()>> pendingAnswers;
    std::function<void()> standingAnswer;
};

} // namespace lifecycle_test
