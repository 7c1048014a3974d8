// SPDX-License-Identifier: MIT
// Program entry: a second start hands its paths to the running instance and ends; the first
// start creates every window, acts on its command line and runs the event loop.

#include "app_windows.h"
#include "deferred_icon_style.h"
#include "font_config_reader.h"
#include "main_window.h"
#include "program_icon.h"
#include "quit_when_painted.h"
#include "shipped_files.h"
#include "startup.h"
#include "translations.h"

#include <QApplication>
#include <QStyle>

#include <csignal>
#include <cstdio>

int main(int argc, char** argv) {
    // A file-size limit makes a write fail with an error the program reports, rather than end it.
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    if (const std::optional<int> exitCode = answerHelpOrVersion(argc, argv))
        return *exitCode;
    FontConfigReader fonts;
    QApplication app(argc, argv);
    const ProgramTranslations translations(desktopLanguage(QProcessEnvironment::systemEnvironment()));
    QApplication::setStyle(new DeferredIconStyle(QApplication::style()->name()));
    // The desktop entry's name lets the desktop match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("verasco"));
    QApplication::setWindowIcon(programIcon());
    VerascoStartup startup(app.arguments().mid(1), [&fonts] { fonts.wait(); });
    if (startup.handedOver())
        return 0;
    if (startup.handOverFailed())
        return 1;
    for (const QString& line : missingShippedFileReport())
        std::fprintf(stderr, "%s\n", qPrintable(line));
    if (qEnvironmentVariableIsSet("VERASCO_QUIT_WHEN_SHOWN"))
        new QuitWhenPainted(startup.windows()->MainFormverasco);
    return app.exec();
}
