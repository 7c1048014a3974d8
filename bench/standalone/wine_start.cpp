// SPDX-License-Identifier: MIT
#include "wine_start.h"

#include "peer_programs.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <chrono>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray wine, package, prefix;
pid_t xServer = 0;
QByteArray display;

using Clock = std::chrono::steady_clock;

// Runs `program` with the arguments under Wine, with its standard output on a pipe; the pid, and
// the pipe's end in `output`.
pid_t startWine(const QByteArray& program, const char* argument, int& output) {
    int fds[2];
    if (pipe(fds) != 0)
        return 0;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    const QByteArray env[] = {"DISPLAY=" + display,      "WINEPREFIX=" + prefix,
                              "WINEDEBUG=-all",          "WINEDLLOVERRIDES=mscoree,mshtml=",
                              "HOME=" + qgetenv("HOME"), "PATH=" + qgetenv("PATH")};
    char* envp[] = {const_cast<char*>(env[0].constData()),
                    const_cast<char*>(env[1].constData()),
                    const_cast<char*>(env[2].constData()),
                    const_cast<char*>(env[3].constData()),
                    const_cast<char*>(env[4].constData()),
                    const_cast<char*>(env[5].constData()),
                    nullptr};
    char* argv[] = {const_cast<char*>(wine.constData()), const_cast<char*>(program.constData()),
                    const_cast<char*>(argument), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, wine.constData(), &actions, nullptr, argv, envp) != 0)
        pid = 0;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    output = fds[0];
    return pid;
}

bool firstLine(int output) {
    char c = 0;
    while (read(output, &c, 1) == 1)
        if (c == '\n')
            return true;
    return false;
}

void finish(pid_t pid, int output) {
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    close(output);
}

// Wine's server ends every Windows program of the prefix.
void killWineServer() {
    const QByteArray server =
        QFileInfo(QString::fromLocal8Bit(wine)).dir().filePath("wineserver").toLocal8Bit();
    const QByteArray prefixVariable = "WINEPREFIX=" + prefix;
    char* envp[] = {const_cast<char*>(prefixVariable.constData()), nullptr};
    char* argv[] = {const_cast<char*>(server.constData()), const_cast<char*>("-k"), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, server.constData(), nullptr, nullptr, argv, envp) == 0)
        waitpid(pid, nullptr, 0);
}

void WindowsPackageStartUnderWine(benchmark::State& state) {
    if (package.isEmpty()) {
        state.SkipWithError("no Windows package (Wine, Xvfb or the Windows programs missing)");
        return;
    }
    for (auto _ : state) {
        int output = -1;
        const auto begin = Clock::now();
        const pid_t pid = startWine(package, "--report", output);
        const bool shown = pid > 0 && firstLine(output);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - begin).count());
        finish(pid, output);
        killWineServer();
        if (!shown) {
            state.SkipWithError("the Windows package showed no slide");
            break;
        }
    }
}
BENCHMARK(WindowsPackageStartUnderWine)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

} // namespace

bool startPackageDisplay() {
    if (xServer > 0)
        return true;
    const QByteArray xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb")).toLocal8Bit();
    int fds[2];
    if (xvfb.isEmpty() || pipe(fds) != 0)
        return false;
    const QByteArray fd = QByteArray::number(fds[1]);
    char* argv[] = {const_cast<char*>(xvfb.constData()),
                    const_cast<char*>("-displayfd"),
                    const_cast<char*>(fd.constData()),
                    const_cast<char*>("-screen"),
                    const_cast<char*>("0"),
                    const_cast<char*>("1024x768x24"),
                    nullptr};
    if (posix_spawn(&xServer, xvfb.constData(), nullptr, nullptr, argv, environ) != 0)
        xServer = 0;
    close(fds[1]);
    char c = 0;
    while (xServer > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
        display += c;
    close(fds[0]);
    display.prepend(':');
    if (xServer <= 0 || display.size() <= 1)
        return false;
    qputenv("DISPLAY", display);
    return true;
}

bool setWinePackage(const QString& packagePath, const QString& scratch, QString& why) {
    for (const QString& path :
         {QStringLiteral("/usr/lib/wine/wine64"), QStandardPaths::findExecutable("wine64")})
        if (wine.isEmpty() && !path.isEmpty() && QFileInfo(path).isExecutable())
            wine = path.toLocal8Bit();
    if (wine.isEmpty())
        return why = QStringLiteral("Wine (wine64) is not installed"), false;
    if (!startPackageDisplay())
        return why = QStringLiteral("Xvfb could not be started"), false;
    prefix = QFile::encodeName(QDir(scratch).filePath(QStringLiteral("wine-prefix")));
    package = QFile::encodeName(packagePath);
    // Wine makes its Windows folders on the first start: once here, outside the measured runs.
    int output = -1;
    const pid_t pid = startWine(package, "--report", output);
    const bool shown = pid > 0 && firstLine(output);
    finish(pid, output);
    killWineServer();
    if (!shown) {
        package.clear();
        return why = QStringLiteral("the Windows package did not start under Wine"), false;
    }
    return true;
}

void endWine() {
    if (xServer > 0) {
        kill(xServer, SIGTERM);
        waitpid(xServer, nullptr, 0);
    }
}
