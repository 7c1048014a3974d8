// SPDX-License-Identifier: MIT
#pragma once
// A video file or a web page folder is written under a hidden working name beside its target and
// put in its place only once it is whole; what was written is removed when it is not, so that a
// cancelled or failed export leaves nothing behind and an older file of that name stays as it was.
// The work is locked while it runs and removed when a signal ends the program; work that an ended
// program left in the folder goes when the next export there begins.

#include "folder_replacement.h"
#include "work_files.h"
#include "work_removal.h"

#include <QString>

#include <optional>

namespace sharing {

class WorkBesideTarget {
  public:
    enum class Kind { File, Folder };
    WorkBesideTarget(const QString& target, Kind kind) : target_(target), kind_(kind) {}
    ~WorkBesideTarget();
    WorkBesideTarget(const WorkBesideTarget&) = delete;
    WorkBesideTarget& operator=(const WorkBesideTarget&) = delete;

    // Makes the empty file or folder, with the permissions new files get; false with *error.
    bool create(QString* error);
    QString path() const { return work_; }
    // Puts the work in the target's place, replacing a file of that name; or, for a folder, the
    // files of an earlier folder that `earlierOwn` claims, every other one moving into the new
    // folder. False with *error, the work then removed and the target left as it was.
    bool commit(
        QString* error, const OwnFiles& earlierOwn = [](const QString&) { return true; });

  private:
    void remove(const QString& path) const;

    QString target_;
    Kind kind_;
    QString work_;
    bool committed_ = false;
    imaging::WorkLock lock_;
    std::optional<WorkRemovedOnSignals> removal_;
};

} // namespace sharing
