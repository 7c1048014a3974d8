// SPDX-License-Identifier: MIT
#pragma once
// Work beside a target: the file or folder a save or an export writes under a hidden name
// (".NAME.XXXXXXXX.part") until it is whole. While the work runs its lock is held: on the work file
// itself, or on a lock file inside a work folder. Each piece of work is also entered in the user's
// own work journal (a record of its path and its file's identity, in a folder only this user
// reaches), and the entry goes when the work does. A program that ended without removing its work
// (killed, or the machine went down) holds no lock any more, and a later save or export in that
// folder removes what it left, found through the journal: only work it entered there and whose lock
// nobody holds is removed. A name that looks like work proves nothing, so a file or folder of the
// user's stays whatever its name or its contents.

#include <QByteArray>
#include <QString>

#include <functional>

#include <sys/types.h>

namespace imaging {

// The lock of one piece of work, held until this goes or release() is called.
class WorkLock {
  public:
    WorkLock() = default;
    ~WorkLock() { release(); }
    WorkLock(const WorkLock&) = delete;
    WorkLock& operator=(const WorkLock&) = delete;
    void release();

  private:
    friend int createWorkFile(const QByteArray&, mode_t, QByteArray&, WorkLock&,
                              const std::function<void(const QByteArray&, const QByteArray&)>&);
    friend bool lockWorkFolder(const QString&, WorkLock&);
    int fd_ = -1;
    QByteArray lockFile_; // removed on release, for a work folder
    QByteArray entry_;    // the work's entry in the journal, removed on release
};

// A hidden work name beside `target` that nothing has yet when it is chosen.
QString workNameBeside(const QString& target);

// Makes a new work file beside `target` with `mode` (before the file mask), already locked when its
// name appears, and returns a descriptor open for reading and writing (the lock stays when it is closed), or
// -1 with errno set. `beforeMade`, when given, is told before the file exists the name it gets and
// the name it is made under until it is locked, so that a signal handler can remove it at any time.
int createWorkFile(
    const QByteArray& target, mode_t mode, QByteArray& name, WorkLock& lock,
    const std::function<void(const QByteArray& name, const QByteArray& madeAs)>& beforeMade = {});

// Marks the new, empty `folder` as work while `lock` is held; the mark goes with release(), before
// the folder is put in its place. False when the mark cannot be made.
bool lockWorkFolder(const QString& folder, WorkLock& lock);

// Removes from `folder` the work files and work folders that this user's journal records and
// whose lock nobody holds; entries whose work is gone leave the journal.
void removeDeadWork(const QString& folder);

// The folder of this user's work journal: "verasco/work" in the user's state folder
// ($XDG_STATE_HOME, else ~/.local/state).
QString workJournalFolder();

} // namespace imaging
