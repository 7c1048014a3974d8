// SPDX-License-Identifier: MIT
#pragma once
// Starting the peer programs of the benchmarks: found on the path, started with posix_spawn so that
// the harness adds as little as it can to their time, and waited for.

#include <QByteArray>
#include <QFile>
#include <QStandardPaths>
#include <QString>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

// The full path of a program on the path; empty when it is not installed.
inline QByteArray peerProgram(const QString& name) {
    return QFile::encodeName(QStandardPaths::findExecutable(name));
}

// Runs `program` with `argv` (argv[0] first, a null pointer last) to its end; true when it ended
// normally with exit code 0. `usage`, when given, receives that process's own resource use (the
// children's total of getrusage would include every earlier child, ImageMagick's too).
inline bool spawnAndWait(const QByteArray& program, char* const argv[], rusage* usage = nullptr) {
    pid_t pid = 0;
    int status = 0;
    return !program.isEmpty() &&
           posix_spawn(&pid, program.constData(), nullptr, nullptr, argv, environ) == 0 &&
           wait4(pid, &status, 0, usage) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// libjpeg's djpeg decoding a file into /dev/null, at a reduced scale such as "1/8" or at full size,
// started as a process each time (start-up included), as a viewer would.
class Djpeg {
  public:
    // `scale` is djpeg's -scale argument; nullptr decodes at full size.
    explicit Djpeg(const char* scale = nullptr)
        : program_(peerProgram(QStringLiteral("djpeg"))), scale_(scale) {}

    bool installed() const { return !program_.isEmpty(); }

    // Decodes `file` once; true when djpeg ended cleanly.
    bool decode(const QString& file, rusage* usage = nullptr) const {
        const QByteArray path = QFile::encodeName(file);
        char* scaled[] = {const_cast<char*>("djpeg"),
                          const_cast<char*>("-scale"),
                          const_cast<char*>(scale_),
                          const_cast<char*>("-outfile"),
                          const_cast<char*>("/dev/null"),
                          const_cast<char*>(path.constData()),
                          nullptr};
        char* full[] = {const_cast<char*>("djpeg"), const_cast<char*>("-outfile"),
                        const_cast<char*>("/dev/null"), const_cast<char*>(path.constData()), nullptr};
        return spawnAndWait(program_, scale_ ? scaled : full, usage);
    }

  private:
    QByteArray program_;
    const char* scale_;
};
