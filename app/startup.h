// SPDX-License-Identifier: MIT
#pragma once
// Start-up of the program: a second start hands its paths to the running instance; the first
// start creates every window, listens for later starts and acts on its command line.

#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class InstanceHandoff;
struct AppWindows;

class VerascoStartup {
  public:
    // arguments: the command line without the program name. beforeWindows runs, in a first
    // instance, just before the first window is created.
    explicit VerascoStartup(const QStringList& arguments, const std::function<void()>& beforeWindows = {});
    ~VerascoStartup();

    // True when another instance was running and received the paths; the process then ends
    // without creating a window.
    bool handedOver() const { return handedOver_; }
    // True when another instance holds the place but did not take the paths in time: the process
    // ends without a window as well, with an error (said on standard error).
    bool handOverFailed() const { return handOverFailed_; }
    // The windows of a first instance, the main window shown.
    AppWindows* windows() const { return windows_.get(); }

  private:
    std::unique_ptr<InstanceHandoff> handoff_;
    std::unique_ptr<AppWindows> windows_;
    bool handedOver_ = false;
    bool handOverFailed_ = false;
};

// "--help" (or "-h") or "--version" anywhere on the command line (the program name left out): the
// usage or the version written on standard output, and the exit code 0 for the program to end with
// before any window or hand-off; nothing for every other command line.
std::optional<int> answerHelpOrVersion(int argc, char** argv);

// Relative paths are made absolute against the folder the program was started in, which is
// neither the running instance's folder nor, after start-up, this one's.
QStringList absoluteArguments(const QStringList& arguments);
