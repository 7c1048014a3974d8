// Program entry: a second start hands its paths to the running instance and ends; the first
// start creates every window, acts on its command line and runs the event loop.

#include "startup.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    VerascoStartup startup(app.arguments().mid(1));
    if (startup.handedOver())
        return startup.exitCode();
    // For start-up measurements: end as soon as the main window has been shown.
    if (qEnvironmentVariableIsSet("VERASCO_QUIT_WHEN_SHOWN"))
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
