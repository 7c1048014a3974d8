// SPDX-License-Identifier: MIT
#include "plain_files.h"

#include "work_files.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <vector>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QSaveFile>
#endif

namespace imaging {

namespace {

const char* const NotRegular =
    QT_TRANSLATE_NOOP("PlainFiles", "not a regular file (a folder, a device, a pipe or a socket)");

bool refuse(QString* error, const QString& text) {
    if (error)
        *error = text;
    return false;
}

} // namespace

QString overrunReason(qint64 read, qint64 reported, qint64 limit) {
    if (read > limit)
        return QCoreApplication::translate("PlainFiles", "file too large (over %1 MB)")
            .arg(limit / (1024 * 1024));
    if (read > reported)
        return QCoreApplication::translate("PlainFiles",
                                           "the file holds more than its size says (a system file, "
                                           "or one still being written)");
    return {};
}

std::optional<QByteArray> readAtMost(QFile& file, qint64 limit, QString* error) {
    const qint64 reported = std::max<qint64>(0, file.size() - file.pos());
    if (const QString reason = overrunReason(reported, reported, limit); !reason.isEmpty()) {
        refuse(error, reason);
        return std::nullopt;
    }
    // One byte more than the file should hold tells whether it holds more.
    QByteArray bytes(qsizetype(reported + 1), Qt::Uninitialized);
    qint64 have = 0;
    for (;;) {
        const qint64 n = file.read(bytes.data() + have, bytes.size() - have);
        if (n < 0) {
            refuse(error, file.errorString());
            return std::nullopt;
        }
        if (n == 0)
            break;
        if (const QString reason = overrunReason(have += n, reported, limit); !reason.isEmpty()) {
            refuse(error, reason);
            return std::nullopt;
        }
    }
    bytes.resize(qsizetype(have));
    return bytes;
}

std::optional<QByteArray> readRegularFile(const QString& path, qint64 limit, QString* error) {
    QFile file;
    if (!openRegularFile(file, path, error))
        return std::nullopt;
    return readAtMost(file, limit, error);
}

QString copyRegularFile(const QString& from, const QString& to, qint64 limit) {
    QFile in;
    QString reason;
    if (!openRegularFile(in, from, &reason))
        return reason;
    const qint64 reported = in.size();
    if (QString tooLarge = overrunReason(reported, reported, limit); !tooLarge.isEmpty())
        return tooLarge;
    QFile out(to);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered) ||
        !out.setPermissions(in.permissions()))
        return out.errorString();
    constexpr qint64 Block = 64 * 1024;
    std::vector<char> block(Block);
    for (qint64 copied = 0;;) {
        const qint64 n = in.read(block.data(), Block);
        if (n < 0)
            return in.errorString();
        if (n == 0)
            return {};
        if (QString overrun = overrunReason(copied += n, reported, limit); !overrun.isEmpty())
            return overrun;
        if (!writeAll(out, block.data(), n))
            return out.errorString();
    }
}

bool writeAll(QFile& file, const char* bytes, qint64 size) {
    qint64 done = 0;
    for (qint64 n = 0; done < size && (n = file.write(bytes + done, size - done)) > 0;)
        done += n;
    return done == size;
}

#ifdef Q_OS_UNIX

namespace {

QString systemReason(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

FileWrite writeFailed(int code, bool folderRefused = false) {
    return {false, folderRefused, systemReason(code)};
}

// A new work file beside `target`, with permissions as an earlier file's (or as a new file's), or -1
// with errno set.
int createBeside(const QByteArray& target, const struct stat* earlier, QByteArray& name, WorkLock& lock) {
    const int fd = createWorkFile(target, earlier ? S_IRUSR | S_IWUSR : 0666, name, lock);
    if (fd >= 0 && earlier && ::fchmod(fd, earlier->st_mode & 07777) != 0) {
        const int code = errno;
        ::close(fd);
        ::unlink(name.constData());
        errno = code;
        return -1;
    }
    return fd;
}

// Writes everything, flushes it to the disk and closes the file; 0, or the system's error code.
int writeAndClose(int fd, QByteArrayView bytes) {
    const char* at = bytes.data();
    qsizetype left = bytes.size();
    int code = 0;
    while (left > 0 && code == 0) {
        const ssize_t n = ::write(fd, at, size_t(left));
        if (n > 0) {
            at += n;
            left -= n;
        } else if (n == 0) {
            code = EIO;
        } else if (errno != EINTR) {
            code = errno;
        }
    }
    // A file system that cannot sync (some network and FUSE ones) still took the bytes.
    if (code == 0 && ::fsync(fd) != 0 && errno != EINVAL && errno != ENOTSUP)
        code = errno;
    if (::close(fd) != 0 && code == 0 && errno != EINTR)
        code = errno;
    return code;
}

} // namespace

bool openRegularFile(QFile& file, const QString& path, QString* error) {
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    // A first look by name spares a device the open itself.
    if (::stat(name.constData(), &info) != 0)
        return refuse(error, systemReason(errno));
    if (!S_ISREG(info.st_mode))
        return refuse(error, QCoreApplication::translate("PlainFiles", NotRegular));
    int fd;
    do
        fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return refuse(error, systemReason(errno));
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return refuse(error, QCoreApplication::translate("PlainFiles", NotRegular));
    }
    // Reading a regular file never waits; the flag was only for the open.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file.setFileName(path);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return refuse(error, file.errorString());
    }
    return true;
}

FileWrite writeWholeFile(const QString& path, QByteArrayView bytes) {
    const QFileInfo given(path);
    // Through a link the file it names is replaced; the link stays.
    const QString target = given.isSymLink() && given.exists() ? given.canonicalFilePath() : path;
    const QByteArray name = QFile::encodeName(target);
    struct stat earlier {};
    const bool existed = ::stat(name.constData(), &earlier) == 0;
    if (existed && S_ISDIR(earlier.st_mode))
        return writeFailed(EISDIR);
    if (existed && ::access(name.constData(), W_OK) != 0) {
        const int code = errno;
        return writeFailed(code, code == EROFS);
    }
    // What a save or an export that ended before its time left beside it goes first.
    removeDeadWork(QFileInfo(target).absolutePath());
    QByteArray work;
    WorkLock lock;
    const int fd = createBeside(name, existed ? &earlier : nullptr, work, lock);
    if (fd < 0) {
        const int code = errno;
        return writeFailed(code, code == EACCES || code == EPERM || code == EROFS);
    }
    int code = writeAndClose(fd, bytes);
    if (code == 0 && ::rename(work.constData(), name.constData()) != 0)
        code = errno;
    if (code != 0) {
        ::unlink(work.constData());
        return writeFailed(code);
    }
    return {};
}

#else

bool openRegularFile(QFile& file, const QString& path, QString* error) {
    file.setFileName(path);
    if (!QFileInfo(path).isFile())
        return refuse(error, QCoreApplication::translate("PlainFiles", NotRegular));
    return file.open(QIODevice::ReadOnly) || refuse(error, file.errorString());
}

FileWrite writeWholeFile(const QString& path, QByteArrayView bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {false, !QFileInfo(QFileInfo(path).absolutePath()).isWritable(), file.errorString()};
    if (file.write(bytes.data(), bytes.size()) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return {false, false, reason};
    }
    if (!file.commit())
        return {false, false, file.errorString()};
    return {};
}

#endif

} // namespace imaging
