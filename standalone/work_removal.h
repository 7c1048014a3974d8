// SPDX-License-Identifier: MIT
#pragma once
// While an export runs, a signal that ends the program (SIGTERM, SIGINT, SIGHUP, when nothing else
// handles or ignores it) first removes the export's work: every file in its private folder and the
// folder, and the package file being written beside the target. The program then ends as the
// signal says. Elsewhere than on Linux the work stays behind as before.

#include <QString>

class WorkRemovedOnSignals {
  public:
    // `folder` holds files only, no folders.
    explicit WorkRemovedOnSignals(const QString& folder);
    // Puts back what the signals did before.
    ~WorkRemovedOnSignals();
    WorkRemovedOnSignals(const WorkRemovedOnSignals&) = delete;
    WorkRemovedOnSignals& operator=(const WorkRemovedOnSignals&) = delete;

    // A file outside the folder that goes too: the package being written.
    void addFile(const QString& path);
};
