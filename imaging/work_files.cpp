// SPDX-License-Identifier: MIT
#include "work_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace imaging {

namespace {

// The lock file that marks a work folder; it holds the token of the folder's journal entry. A new
// lock file is made under another name, locked and written before it takes this one, so that no
// other program ever finds the mark without its lock.
const char* const LockName = ".verasco-work";
const char* const NewLockName = ".verasco-work.new";

// A journal entry, "TOKEN.work": this line, the token, "DEVICE INODE" of the work and its path.
const QByteArray EntrySignature = QByteArrayLiteral("verasco work journal 1\n");
const QByteArray EntrySuffix = QByteArrayLiteral(".work");
constexpr qsizetype MaxEntryBytes = 8192;
constexpr qsizetype TokenSize = 32;

QByteArray randomPart() {
    return QByteArray::number(QRandomGenerator::global()->generate(), 16).rightJustified(8, '0');
}

QByteArray newToken() {
    quint32 words[TokenSize / 8];
    QRandomGenerator::system()->fillRange(words);
    return QByteArray(reinterpret_cast<const char*>(words), sizeof words).toHex();
}

QByteArray folderMark(const QByteArray& token) {
    return "verasco work " + token + '\n';
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

bool writeAll(int fd, const QByteArray& bytes) {
    return ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
}

QByteArray readSmall(int fd, qsizetype limit) {
    QByteArray bytes(limit + 1, Qt::Uninitialized);
    qsizetype done = 0;
    for (ssize_t n; done <= limit && (n = ::read(fd, bytes.data() + done, size_t(limit + 1 - done))) > 0;)
        done += n;
    bytes.truncate(done);
    return bytes;
}

// The journal's folder, open, made on the way (only this user reaches it), or -1.
int openJournal(bool make) {
    const QByteArray path = QFile::encodeName(workJournalFolder());
    if (make && QDir().mkpath(QFileInfo(workJournalFolder()).path()))
        ::mkdir(path.constData(), 0700);
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat info {};
    if (fd >= 0 && (::fstat(fd, &info) != 0 || info.st_uid != ::geteuid() || (info.st_mode & 077) != 0)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Enters the work at `path`, identified by `made`, in the journal; the entry's path, or empty when
// the journal cannot take it (the work then stays should the program end before it).
QByteArray enterWork(const QByteArray& path, const struct stat& made, const QByteArray& token) {
    const int journal = openJournal(true);
    if (journal < 0)
        return {};
    const QByteArray name = token + EntrySuffix;
    const QByteArray absolute = QFile::encodeName(QFileInfo(QFile::decodeName(path)).absoluteFilePath());
    const QByteArray entry = EntrySignature + token + '\n' + QByteArray::number(quint64(made.st_dev)) + ' ' +
                             QByteArray::number(quint64(made.st_ino)) + '\n' + absolute + '\n';
    const int fd =
        ::openat(journal, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    const bool written = fd >= 0 && writeAll(fd, entry);
    if (fd >= 0)
        ::close(fd);
    if (fd >= 0 && !written)
        ::unlinkat(journal, name.constData(), 0);
    ::close(journal);
    return written ? QFile::encodeName(workJournalFolder()) + '/' + name : QByteArray();
}

struct Entry {
    QByteArray token;
    quint64 device = 0, inode = 0;
    QByteArray path;
};

std::optional<Entry> readEntry(int journal, const char* name) {
    const int fd = ::openat(journal, name, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat info {};
    const bool plain = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid();
    const QByteArray bytes = plain ? readSmall(fd, MaxEntryBytes) : QByteArray();
    ::close(fd);
    if (!bytes.startsWith(EntrySignature) || !bytes.endsWith('\n') || bytes.size() > MaxEntryBytes)
        return std::nullopt;
    const QList<QByteArray> head = bytes.sliced(EntrySignature.size()).split('\n');
    if (head.size() < 3)
        return std::nullopt;
    const QList<QByteArray> identity = head.value(1).split(' ');
    Entry entry;
    bool device = false, inode = false;
    entry.token = head.value(0);
    entry.device = identity.value(0).toULongLong(&device);
    entry.inode = identity.value(1).toULongLong(&inode);
    const qsizetype pathAt = EntrySignature.size() + head.value(0).size() + head.value(1).size() + 2;
    entry.path = bytes.sliced(pathAt).chopped(1);
    if (!device || !inode || identity.size() != 2 || entry.token + EntrySuffix != name ||
        !entry.path.startsWith('/'))
        return std::nullopt;
    return entry;
}

bool isEntryName(const char* name) {
    const QByteArrayView view(name);
    return view.size() == TokenSize + EntrySuffix.size() && view.endsWith(EntrySuffix);
}

bool sameFile(const struct stat& info, quint64 device, quint64 inode) {
    return quint64(info.st_dev) == device && quint64(info.st_ino) == inode;
}

enum class Judgement { Gone, Elsewhere, Alive, Dead };

// The lock of the dead work folder `entry` records, or -1: its mark must hold the entry's token.
int deadFolderLock(const Entry& entry) {
    const int inside = ::open(entry.path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat info {};
    if (inside < 0)
        return -1;
    const bool same = ::fstat(inside, &info) == 0 && sameFile(info, entry.device, entry.inode);
    const int lock = same ? openLocked(inside, LockName, O_RDONLY | O_NONBLOCK) : -1;
    ::close(inside);
    struct stat mark {};
    if (lock >= 0 && (::fstat(lock, &mark) != 0 || !S_ISREG(mark.st_mode) || mark.st_uid != ::geteuid() ||
                      readSmall(lock, 128) != folderMark(entry.token))) {
        ::close(lock);
        return -1;
    }
    return lock;
}

// What became of the work `entry` records, with its lock in `lock` when it is dead work in `folder`.
Judgement judge(const Entry& entry, const struct stat& folder, int& lock) {
    struct stat item {
    }, parent{};
    if (::lstat(entry.path.constData(), &item) != 0)
        return errno == ENOENT || errno == ENOTDIR ? Judgement::Gone : Judgement::Elsewhere;
    if (!sameFile(item, entry.device, entry.inode) || item.st_uid != ::geteuid())
        return Judgement::Gone;
    const QByteArray where = QFile::encodeName(QFileInfo(QFile::decodeName(entry.path)).path());
    if (::stat(where.constData(), &parent) != 0 || !sameFile(parent, folder.st_dev, folder.st_ino))
        return Judgement::Elsewhere;
    if (S_ISDIR(item.st_mode)) {
        lock = deadFolderLock(entry);
    } else if (S_ISREG(item.st_mode)) {
        lock = openLocked(AT_FDCWD, entry.path.constData(), O_RDONLY | O_NONBLOCK);
        struct stat locked {};
        if (lock >= 0 && (::fstat(lock, &locked) != 0 || !sameFile(locked, entry.device, entry.inode))) {
            ::close(lock);
            lock = -1;
        }
    }
    return lock >= 0 ? Judgement::Dead : Judgement::Alive;
}

} // namespace

void WorkLock::release() {
    if (fd_ < 0)
        return;
    if (!lockFile_.isEmpty())
        ::unlink(lockFile_.constData());
    ::close(fd_);
    if (!entry_.isEmpty())
        ::unlink(entry_.constData());
    fd_ = -1;
    lockFile_.clear();
    entry_.clear();
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
        struct stat made {};
        lock.fd_ = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
        const bool locked = lock.fd_ >= 0 && ::flock(lock.fd_, LOCK_EX) == 0 && ::fstat(fd, &made) == 0;
        // The work is in the journal before it has its name, so that no program ended in between
        // leaves a work file that the journal does not hold.
        if (locked)
            lock.entry_ = enterWork(name, made, newToken());
        if (!locked || ::rename(fresh.constData(), name.constData()) != 0) {
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
    const QByteArray token = newToken();
    struct stat made {};
    const int fd = openLocked(at, NewLockName, O_WRONLY | O_CREAT | O_EXCL, 0600);
    const bool marked = fd >= 0 && writeAll(fd, folderMark(token)) && ::fstat(at, &made) == 0 &&
                        ::renameat(at, NewLockName, at, LockName) == 0;
    if (!marked && fd >= 0)
        ::unlinkat(at, NewLockName, 0);
    ::close(at);
    if (!marked) {
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    lock.fd_ = fd;
    lock.lockFile_ = path + '/' + LockName;
    lock.entry_ = enterWork(path, made, token);
    return true;
}

void removeDeadWork(const QString& folder) {
    struct stat where {};
    if (::stat(QFile::encodeName(folder).constData(), &where) != 0)
        return;
    const int journal = openJournal(false);
    DIR* dir = journal >= 0 ? ::fdopendir(journal) : nullptr;
    if (!dir) {
        if (journal >= 0)
            ::close(journal);
        return;
    }
    while (const dirent* found = ::readdir(dir)) {
        if (!isEntryName(found->d_name))
            continue;
        const std::optional<Entry> entry = readEntry(::dirfd(dir), found->d_name);
        int lock = -1;
        const Judgement judgement = entry ? judge(*entry, where, lock) : Judgement::Elsewhere;
        if (judgement == Judgement::Dead) {
            std::error_code ignored;
            std::filesystem::remove_all(std::filesystem::path(entry->path.toStdString()), ignored);
            ::close(lock);
        }
        if (judgement == Judgement::Dead || judgement == Judgement::Gone)
            ::unlinkat(::dirfd(dir), found->d_name, 0);
    }
    ::closedir(dir);
}

QString workJournalFolder() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/verasco/work");
}

} // namespace imaging
