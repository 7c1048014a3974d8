#pragma once
// Starting the peer programs of the benchmarks: found on the path, started with posix_spawn so that
// the harness adds as little as it can to their time, and waited for.

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

// The full path of a program on the path; empty when it is not installed.
inline QByteArray peerProgram(const QString& name) {
    return QFile::encodeName(QStandardPaths::findExecutable(name));
}

// ImageMagick's `convert`, the real one in /usr/bin when there is one in front of it on the path.
inline QString imageMagickConvert() {
    return QFile::exists(QStringLiteral("/usr/bin/convert")) ? QStringLiteral("/usr/bin/convert")
                                                             : QStringLiteral("convert");
}

// Makes a 4000 x 3000 JPEG file (quality 90) of a gradient with noise: detail in every block, like a
// photograph, so that entropy decoding has work. `gradient` is ImageMagick's, such as "navy-orange".
inline bool makeLargePhoto(const QString& path, const QString& gradient) {
    return QProcess::execute(imageMagickConvert(),
                             {QStringLiteral("-size"), QStringLiteral("4000x3000"),
                              QStringLiteral("gradient:") + gradient, QStringLiteral("-attenuate"),
                              QStringLiteral("0.4"), QStringLiteral("+noise"), QStringLiteral("Gaussian"),
                              QStringLiteral("-quality"), QStringLiteral("90"), path}) == 0;
}

// Runs `program` with `argv` (argv[0] first, a null pointer last) to its end; true when it ended
// normally with exit code 0.
inline bool spawnAndWait(const QByteArray& program, char* const argv[]) {
    pid_t pid = 0;
    int status = 0;
    return posix_spawn(&pid, program.constData(), nullptr, nullptr, argv, environ) == 0 &&
           waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
