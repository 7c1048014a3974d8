#include "startup.h"

#include "app_windows.h"
#include "instance_handoff.h"
#include "main_window.h"

#include <QFileInfo>
#include <QScreen>
#include <QStyle>

#include <cstdio>

QStringList absoluteArguments(const QStringList& arguments) {
    QStringList result;
    for (const QString& argument : arguments)
        result.append(argument.isEmpty() ? argument : QFileInfo(argument).absoluteFilePath());
    return result;
}

VerascoStartup::VerascoStartup(const QStringList& commandLine)
    : handoff_(std::make_unique<InstanceHandoff>()) {
    const QStringList arguments = absoluteArguments(commandLine);
    if (!handoff_->becomeFirstInstance()) {
        if (handoff_->forwardToFirstInstance(arguments)) {
            handedOver_ = true;
            return;
        }
        // The running instance cannot be reached: rather than lose the paths, this start runs too.
        std::fputs("verasco: the running instance does not answer; this one runs on its own\n", stderr);
    }

    windows_.reset(createAppWindows());
    TMainFormverasco* main = windows_->MainFormverasco;
    QObject::connect(handoff_.get(), &InstanceHandoff::pathReceived, main,
                     &TMainFormverasco::CopyDataReceived);
    QObject::connect(handoff_.get(), &InstanceHandoff::raiseRequested, main,
                     &TMainFormverasco::RestoreAndRaise);
    main->processCommandLine(arguments);

    main->adjustSize();
    main->setFixedSize(main->size());
    if (const QScreen* screen = main->screen())
        main->setGeometry(
            QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, main->size(), screen->availableGeometry()));
    main->show();
}

VerascoStartup::~VerascoStartup() = default;
