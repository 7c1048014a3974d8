// SPDX-License-Identifier: MIT
#pragma once
// While an export runs, a signal that ends the program (SIGTERM, SIGINT, SIGHUP, when nothing else
// handles or ignores it) first removes the export's work: its working folder with everything in it,
// and a file being written beside the target. The program then ends as the signal says. One export
// runs at a time. Elsewhere than on Linux the work stays behind as before.

#include <QString>

class WorkRemovedOnSignals {
  public:
    // `folder` (none when empty) holds files and folders up to four levels deep, no links to
    // folders.
    explicit WorkRemovedOnSignals(const QString& folder = QString());
    // Puts back what the signals did before.
    ~WorkRemovedOnSignals();
    WorkRemovedOnSignals(const WorkRemovedOnSignals&) = delete;
    WorkRemovedOnSignals& operator=(const WorkRemovedOnSignals&) = delete;

    // A file outside the folder that goes too, such as the package or the video being written, named
    // before it is made: `path`, and `madeAs` (when given) the name it has until it takes `path`.
    void addFile(const QString& path, const QString& madeAs = QString());
};
