// Program entry: a second start hands its paths to the running instance and ends; the first
// start creates every window, acts on its command line and runs the event loop.

#include "app_windows.h"
#include "instance_handoff.h"
#include "main_window.h"

#include <QApplication>
#include <QFileInfo>
#include <QScreen>
#include <QStyle>

namespace {
// Relative paths mean the folder the program was started in, which is neither the running
// instance's folder nor, after start-up, this one's.
QStringList absoluteArguments(const QStringList& arguments) {
    QStringList result;
    for (const QString& argument : arguments)
        result.append(argument.isEmpty() ? argument : QFileInfo(argument).absoluteFilePath());
    return result;
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList arguments = absoluteArguments(app.arguments().mid(1));

    InstanceHandoff handoff;
    if (!handoff.becomeFirstInstance())
        return handoff.forwardToFirstInstance(arguments) ? 0 : 1;

    AppWindows* windows = createAppWindows();
    TMainFormverasco* main = windows->MainFormverasco;
    QObject::connect(&handoff, &InstanceHandoff::pathReceived, main, &TMainFormverasco::CopyDataReceived);
    QObject::connect(&handoff, &InstanceHandoff::raiseRequested, main, &TMainFormverasco::RestoreAndRaise);
    main->processCommandLine(arguments);

    main->adjustSize();
    main->setFixedSize(main->size());
    main->setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, main->size(),
                                          main->screen()->availableGeometry()));
    main->show();
    const int result = app.exec();
    delete windows;
    return result;
}
