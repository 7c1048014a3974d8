// SPDX-License-Identifier: MIT
// Takes the pictures of the help and of the software-centre entry: starts the program's windows on
// the sample show, opens each window the help explains the way a user opens it, and saves what it
// shows. scripts/screenshots runs it under Xvfb; the packaging tests run it on the offscreen
// platform to make sure every picture can still be taken.
// Usage: verasco-help-screenshots OUTPUT-FOLDER [SAMPLES-FOLDER]
// With a samples folder (where an install put the sample show: scripts/screenshots gives the installed
// place), the windows show that folder and the show in it, as a user who opens the sample show sees
// them; without one, a copy of the source tree's samples in a temporary home folder.

#include "app_windows.h"
#include "appearance.h"
#include "folder_images.h"
#include "image_browser.h"
#include "main_window.h"
#include "ovc_table.h"
#include "pref_dialog.h"
#include "print_dialog.h"
#include "save_exe_dialog.h"
#include "settings.h"
#include "settings_store.h"
#include "show_document.h"
#include "show_form.h"
#include "show_grid.h"
#include "text_dialog.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

const QString Samples = QStringLiteral(VERASCO_SOURCE_DIR "/packaging/samples");

// Processes events until the condition holds or some seconds have passed.
bool waitFor(const std::function<bool()>& condition) {
    const QDeadlineTimer deadline(20000);
    while (!condition() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return condition();
}

bool save(const QImage& image, const QString& folder, const QString& name) {
    const bool saved = image.save(QDir(folder).filePath(name));
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(name));
    return saved;
}

// Runs the command that opens a modal window; once the window is up, saves it under the name and
// closes it.
bool shootModal(QWidget* window, const std::function<void()>& open, const QString& folder,
                const QString& name) {
    bool saved = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QApplication::activeModalWidget() != window || !window->isVisible())
            return;
        poll.stop();
        QCoreApplication::processEvents();
        saved = save(window->grab().toImage(), folder, name);
        window->close();
    });
    poll.start();
    open();
    return saved;
}

// Runs the command that opens a window of its own; once it shows its picture, saves it under the
// name and closes it.
bool shootWindow(QWidget* window, const std::function<void()>& open, const QString& picture,
                 const QString& folder, const QString& name) {
    open();
    const QWidget* shown = window->findChild<QWidget*>(picture);
    const bool ready = waitFor([window, shown] {
        return window->isVisible() && window->windowHandle() && window->windowHandle()->isExposed() &&
               shown && shown->isVisible();
    });
    QCoreApplication::processEvents();
    const bool saved = ready && save(window->grab().toImage(), folder, name);
    window->close();
    return saved;
}

// A copy of the sample pictures, sound and show in a folder of the home folder, which the settings of a
// first run then show in the image browser; the show file in it.
QString copySamples(const QString& home) {
    const QString pictures = QDir(home).filePath(QStringLiteral("Pictures/Holiday"));
    QDir().mkpath(pictures);
    const QStringList kinds = {"*.bmp", "*.jpg", "*.pcx", "*.png", "*.tga", "*.tif", "*.vrs", "*.wav"};
    for (const QString& name : QDir(Samples).entryList(kinds, QDir::Files))
        QFile::copy(QDir(Samples).filePath(name), QDir(pictures).filePath(name));
    Settings settings = Settings::defaults();
    settings.ImageDirectory = pictures;
    settings.SlideDirectory = pictures;
    SettingsStore store;
    settings.write(store);
    return QDir(pictures).filePath(QStringLiteral("sample.vrs"));
}

// The sample show where it is installed, which the settings of a first run then show in the image
// browser.
QString useInstalledSamples(const QString& samples) {
    Settings settings = Settings::defaults();
    settings.ImageDirectory = samples;
    settings.SlideDirectory = samples;
    SettingsStore store;
    settings.write(store);
    return QDir(samples).filePath(QStringLiteral("sample.vrs"));
}

// The main window, the preferences and the viewer once more, in the Dark appearance as the
// preferences choose it.
bool shootDark(AppWindows& windows, const QString& folder) {
    TMainFormverasco* main = windows.MainFormverasco;
    // Activated again, the main window lists its folder anew; then the new look is chosen.
    main->activateWindow();
    waitFor([main] { return main->isActiveWindow(); });
    QCoreApplication::processEvents();
    main->settings().Appearance = QStringLiteral("Dark");
    applyAppearance(main->settings().Appearance);
    // The windows take the new palette from posted events; the folder's thumbnails are then drawn
    // anew on the dark ground, from pictures decoded in the background as the grid asks for them.
    waitFor([main] { return main->palette().color(QPalette::Base) == darkPalette().color(QPalette::Base); });
    QCoreApplication::processEvents();
    auto* grid = main->findChild<TOvcTable*>(QStringLiteral("OvcTable1"));
    const FolderImages& images = main->browser().folder();
    waitFor([grid, &images] {
        grid->viewport()->grab();
        const int shown = std::min(images.count(), grid->TopRow() + grid->height() / grid->RowHeight() + 1);
        return std::all_of(images.FolderThumbnailReady.begin(), images.FolderThumbnailReady.begin() + shown,
                           [](bool ready) { return ready; });
    });
    bool ok = save(main->grab().toImage(), folder, QStringLiteral("main-window-dark.png"));
    ok = shootModal(
             windows.prefFrm, [main] { main->Preferences1Click(); }, folder,
             QStringLiteral("preferences-dark.png")) &&
         ok;
    return shootWindow(
               windows.showFrm, [main] { main->Slideshow1Click(); }, QStringLiteral("Photo10"), folder,
               QStringLiteral("viewer-dark.png")) &&
           ok;
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral(".config")).toLocal8Bit());
    QApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: verasco-help-screenshots OUTPUT-FOLDER [SAMPLES-FOLDER]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    const QString show =
        argc == 3 ? useInstalledSamples(QString::fromLocal8Bit(argv[2])) : copySamples(home.path());

    std::unique_ptr<AppWindows> windows(createAppWindows());
    TMainFormverasco* main = windows->MainFormverasco;
    main->processCommandLine({show});
    main->show();
    if (!waitFor([main] {
            return main->isVisible() && main->windowHandle() && main->windowHandle()->isExposed();
        }))
        return 1;
    // The browser lists the sample pictures once the main window has been activated, which a
    // window manager does for a program that starts; a bare X server leaves it to the program.
    main->activateWindow();
    const QLabel* files = main->findChild<QLabel*>(QStringLiteral("Label6"));
    waitFor([files] { return files && !files->text().startsWith(QLatin1String("Files: 0")); });
    QCoreApplication::processEvents();

    bool ok = save(main->grab().toImage(), folder, QStringLiteral("main-window.png"));
    // The windows the help explains, opened by the commands of the main window.
    const struct {
        QWidget* window;
        std::function<void()> open;
        const char* picture;
    } windowsOfTheHelp[] = {
        {windows->prefFrm, [main] { main->Preferences1Click(); }, "preferences.png"},
        {windows->printdlg, [main] { main->FilePrint(); }, "print.png"},
        {windows->saveexedlg,
         [&windows, show] {
             // As File > Save Stand-alone Verasco fills it for the sample show.
             windows->saveexedlg->setFacts(QFileInfo(show).dir().filePath(QStringLiteral("show.exe")), 7, 7,
                                           1);
             windows->saveexedlg->exec();
         },
         "stand-alone.png"},
        {windows->textdlg,
         [main] {
             // The last slide of the sample show, which has a caption and a sound, as Edit > Image
             // Properties opens it.
             const int last = main->document().SlideCount - 1;
             auto* grid = main->findChild<TOvcTable*>(QStringLiteral("OvcTable2"));
             grid->setActiveCell(ShowGrid::rowOf(last, grid->ColumnCount()),
                                 ShowGrid::columnOf(last, grid->ColumnCount()));
             main->SlideProperties1Click();
         },
         "image-properties.png"},
    };
    for (const auto& shot : windowsOfTheHelp)
        ok = shootModal(shot.window, shot.open, folder, QLatin1String(shot.picture)) && ok;
    // The viewer on the first slide, as View > Verasco opens it.
    ok = shootWindow(
             windows->showFrm, [main] { main->Slideshow1Click(); }, QStringLiteral("Photo10"), folder,
             QStringLiteral("viewer.png")) &&
         ok;
    return shootDark(*windows, folder) && ok ? 0 : 1;
}
