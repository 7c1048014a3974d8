// SPDX-License-Identifier: MIT
#include "work_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace imaging {

namespace {

// The lock file that marks a work folder. A new lock file is made under another name and locked
// before it takes this one, so that no other program ever finds the mark without its lock.
const char* const LockName = ".verasco-work";
const char* const NewLockName = ".verasco-work.new";

QByteArray randomPart() {
    return QByteArray::number(QRandomGenerator::global()->generate(), 16).rightJustified(8, '0');
}

// ".NAME.XXXXXXXX.part", the Xs hexadecimal digits.
bool isWorkFileName(const char* name) {
    const QByteArrayView view(name);
    if (view.size() < 16 || !view.startsWith('.') || !view.endsWith(".part") || view[view.size() - 14] != '.')
        return false;
    const QByteArrayView digits = view.sliced(view.size() - 13, 8);
    return std::all_of(digits.begin(), digits.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// A descriptor locked for this program, or -1 when another program holds the lock.
int openLocked(int at, const char* name, int flags, mode_t mode = 0) {
    const int fd = ::openat(at, name, flags | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The lock of this user's work `name` in the open `folder` when nobody holds it, else -1.
int deadWorkLock(int folder, const char* name, const struct stat& info) {
    if (S_ISREG(info.st_mode) && isWorkFileName(name))
        return openLocked(folder, name, O_RDONLY | O_NONBLOCK);
    if (!S_ISDIR(info.st_mode))
        return -1;
    const int inside = ::openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (inside < 0)
        return -1;
    const int fd = openLocked(inside, LockName, O_RDONLY | O_NONBLOCK);
    ::close(inside);
    struct stat lock {};
    if (fd >= 0 && (::fstat(fd, &lock) != 0 || !S_ISREG(lock.st_mode) || lock.st_uid != info.st_uid)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

void WorkLock::release() {
    if (fd_ < 0)
        return;
    if (!lockFile_.isEmpty())
        ::unlink(lockFile_.constData());
    ::close(fd_);
    fd_ = -1;
    lockFile_.clear();
}

QString workNameBeside(const QString& target) {
    const QFileInfo info(target);
    return info.dir().filePath(
        QStringLiteral(".%1.%2.part").arg(info.fileName(), QString::fromLatin1(randomPart())));
}

int createWorkFile(const QByteArray& target, mode_t mode, QByteArray& name, WorkLock& lock,
                   const std::function<void(const QByteArray&, const QByteArray&)>& beforeMade) {
    lock.release();
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = QFile::encodeName(workNameBeside(QFile::decodeName(target)));
        const QByteArray fresh = name.chopped(5) + ".new";
        if (::access(name.constData(), F_OK) == 0)
            continue;
        if (beforeMade)
            beforeMade(name, fresh);
        const int fd = ::open(fresh.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return -1;
        lock.fd_ = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
        if (lock.fd_ < 0 || ::flock(lock.fd_, LOCK_EX) != 0 ||
            ::rename(fresh.constData(), name.constData()) != 0) {
            const int code = errno;
            ::close(fd);
            ::unlink(fresh.constData());
            lock.release();
            errno = code;
            return -1;
        }
        return fd;
    }
    errno = EEXIST;
    return -1;
}

bool lockWorkFolder(const QString& folder, WorkLock& lock) {
    lock.release();
    const QByteArray path = QFile::encodeName(folder);
    const int at = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (at < 0)
        return false;
    const int fd = openLocked(at, NewLockName, O_WRONLY | O_CREAT | O_EXCL, 0600);
    const bool marked = fd >= 0 && ::renameat(at, NewLockName, at, LockName) == 0;
    ::close(at);
    if (!marked) {
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    lock.fd_ = fd;
    lock.lockFile_ = path + '/' + LockName;
    return true;
}

void removeDeadWork(const QString& folder) {
    const QByteArray path = QFile::encodeName(folder);
    DIR* dir = ::opendir(path.constData());
    if (!dir)
        return;
    const int at = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        struct stat info {};
        if (entry->d_name[0] == '.' && (!entry->d_name[1] || (entry->d_name[1] == '.' && !entry->d_name[2])))
            continue;
        if (::fstatat(at, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 || info.st_uid != ::geteuid())
            continue;
        const int lock = deadWorkLock(at, entry->d_name, info);
        if (lock < 0)
            continue;
        if (S_ISREG(info.st_mode)) {
            ::unlinkat(at, entry->d_name, 0);
        } else {
            std::error_code ignored;
            std::filesystem::remove_all(std::filesystem::path(path.toStdString()) / entry->d_name, ignored);
        }
        ::close(lock);
    }
    ::closedir(dir);
}

} // namespace imaging
