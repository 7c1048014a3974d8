// SPDX-License-Identifier: MIT
#include "work_removal.h"

#include <QFile>

#ifdef Q_OS_LINUX
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

constexpr int EndingSignals[] = {SIGTERM, SIGINT, SIGHUP};

// What the handler works on is set before it is installed and never changes while it may run; it
// uses nothing but calls that are safe in a signal handler.
struct Work {
    int folder = -1; // the open folder
    char folderPath[4096] = {};
    char filePath[4096] = {};
    char madeAsPath[4096] = {};
    volatile sig_atomic_t haveFile = 0;
    struct sigaction previous[std::size(EndingSignals)] = {};
    bool caught[std::size(EndingSignals)] = {};
};
Work work;

bool copyPath(char (&to)[4096], const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    if (bytes.size() >= qsizetype(sizeof to))
        return false;
    std::memcpy(to, bytes.constData(), size_t(bytes.size()) + 1);
    return true;
}

// Removes every entry of the open folder, the folders in it to `depth` levels; false when there
// was none left.
bool unlinkEntries(int folder, int depth) {
    char buffer[2048];
    bool found = false;
    lseek(folder, 0, SEEK_SET);
    for (;;) {
        const long n = syscall(SYS_getdents64, folder, buffer, sizeof buffer);
        if (n <= 0)
            return found;
        for (long at = 0; at < n;) {
            // struct linux_dirent64: inode (8), offset (8), record length (2), type (1), name.
            unsigned short length = 0;
            std::memcpy(&length, buffer + at + 16, sizeof length);
            const unsigned char type = static_cast<unsigned char>(buffer[at + 18]);
            const char* name = buffer + at + 19;
            if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0) {
                if (type == DT_DIR && depth > 0) {
                    const int inner = openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
                    if (inner >= 0) {
                        for (int round = 0; round < 3 && unlinkEntries(inner, depth - 1); ++round) {
                        }
                        close(inner);
                    }
                    unlinkat(folder, name, AT_REMOVEDIR);
                } else {
                    unlinkat(folder, name, 0);
                }
                found = true;
            }
            at += length;
        }
    }
}

void removeWorkAndEnd(int signal) {
    if (work.folder >= 0) {
        // Another thread of the export may still add a file; a few rounds outlast it.
        for (int round = 0; round < 3 && unlinkEntries(work.folder, 3); ++round) {
        }
        rmdir(work.folderPath);
    }
    if (work.haveFile) {
        unlink(work.filePath);
        if (work.madeAsPath[0] != '\0')
            unlink(work.madeAsPath);
    }
    ::signal(signal, SIG_DFL);
    raise(signal);
}

} // namespace

WorkRemovedOnSignals::WorkRemovedOnSignals(const QString& folder) {
    if (!folder.isEmpty() && !copyPath(work.folderPath, folder))
        return;
    if (!folder.isEmpty())
        work.folder = open(work.folderPath, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    work.haveFile = 0;
    struct sigaction action {};
    action.sa_handler = removeWorkAndEnd;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < std::size(EndingSignals); ++i) {
        sigaction(EndingSignals[i], nullptr, &work.previous[i]);
        // A signal that is ignored, or handled by someone else, is left as it is.
        work.caught[i] = work.previous[i].sa_handler == SIG_DFL;
        if (work.caught[i])
            sigaction(EndingSignals[i], &action, nullptr);
    }
}

WorkRemovedOnSignals::~WorkRemovedOnSignals() {
    for (size_t i = 0; i < std::size(EndingSignals); ++i)
        if (work.caught[i])
            sigaction(EndingSignals[i], &work.previous[i], nullptr);
    if (work.folder >= 0)
        close(work.folder);
    work = Work();
}

void WorkRemovedOnSignals::addFile(const QString& path, const QString& madeAs) {
    // Written while the handler may run: the flag goes up only once the paths are whole.
    work.haveFile = 0;
    work.madeAsPath[0] = '\0';
    if (copyPath(work.filePath, path) && (madeAs.isEmpty() || copyPath(work.madeAsPath, madeAs)))
        work.haveFile = 1;
}

#else

WorkRemovedOnSignals::WorkRemovedOnSignals(const QString&) {}
WorkRemovedOnSignals::~WorkRemovedOnSignals() = default;
void WorkRemovedOnSignals::addFile(const QString&, const QString&) {}

#endif
