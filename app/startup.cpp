// SPDX-License-Identifier: MIT
#include "startup.h"

#include "app_windows.h"
#include "instance_handoff.h"
#include "main_window.h"
#include "version.h"

#include <QEvent>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>
#include <string_view>

namespace {
// Once the main window has painted itself for the first time, which is when the user sees it, the
// other windows build their controls: from then on every named control of every window exists.
class BuildAfterFirstPaint : public QObject {
  public:
    BuildAfterFirstPaint(QWidget* main, const AppWindows& windows) : QObject(main), windows_(windows) {
        main->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                windows_.buildContents();
                deleteLater();
            });
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    const AppWindows& windows_;
};
} // namespace

std::optional<int> answerHelpOrVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--version") {
            std::printf("verasco %s\n", VerascoVersion);
            return 0;
        }
        if (argument == "--help" || argument == "-h") {
            std::fputs("Usage: verasco [IMAGE...]\n"
                       "       verasco SHOW.vrs\n"
                       "Composes, plays, prints and exports picture slide shows. The images named are\n"
                       "added to the show as slides; a show named first is opened instead. When Verasco\n"
                       "already runs, it takes over the command line and this start ends.\n"
                       "\n"
                       "  -h, --help     show this help and exit\n"
                       "      --version  show the version and exit\n",
                       stdout);
            return 0;
        }
    }
    return std::nullopt;
}

QStringList absoluteArguments(const QStringList& arguments) {
    QStringList result;
    for (const QString& argument : arguments)
        result.append(argument.isEmpty() ? argument : QFileInfo(argument).absoluteFilePath());
    return result;
}

VerascoStartup::VerascoStartup(const QStringList& commandLine, const std::function<void()>& beforeWindows)
    : handoff_(std::make_unique<InstanceHandoff>()) {
    const QStringList arguments = absoluteArguments(commandLine);
    if (!handoff_->becomeFirstInstance()) {
        handedOver_ = handoff_->forwardToFirstInstance(arguments);
        handOverFailed_ = !handedOver_;
        // A second window beside the running one would not be the one instance the user has: this
        // start ends, having said what did not reach the running one.
        if (handOverFailed_)
            std::fputs("verasco: the running instance does not answer; start again once it does\n", stderr);
        return;
    }

    if (beforeWindows)
        beforeWindows();
    windows_.reset(createAppWindows(ContentsTiming::WhenNeeded));
    TMainFormverasco* main = windows_->MainFormverasco;
    // What the command line asks for may take any window.
    if (!arguments.isEmpty())
        windows_->buildContents();
    new BuildAfterFirstPaint(main, *windows_);
    QObject::connect(handoff_.get(), &InstanceHandoff::pathReceived, main,
                     &TMainFormverasco::CopyDataReceived);
    QObject::connect(handoff_.get(), &InstanceHandoff::raiseRequested, main,
                     &TMainFormverasco::RestoreAndRaise);
    main->processCommandLine(arguments);
    main->listRememberedFolder();

    main->placeAtStart();
    main->show();
}

VerascoStartup::~VerascoStartup() = default;
