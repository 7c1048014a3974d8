// SPDX-License-Identifier: MIT
#include "package_start.h"

#include "bench_photos.h"
#include "peer_programs.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

#include <chrono>
#include <csignal>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

QString package;
QString scratch;

using Clock = std::chrono::steady_clock;

// A program started with its standard output on a pipe, in a folder, with its temporary folder
// in the scratch folder.
struct Started {
    pid_t pid = 0;
    int output = -1;
};

Started startReporting(const QByteArray& program, const QByteArray& folder) {
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    posix_spawn_file_actions_addchdir_np(&actions, folder.constData());
    char* argv[] = {const_cast<char*>(program.constData()), const_cast<char*>("--report"), nullptr};
    Started started;
    if (posix_spawn(&started.pid, program.constData(), &actions, nullptr, argv, environ) == 0)
        started.output = fds[0];
    else
        close(fds[0]);
    close(fds[1]);
    posix_spawn_file_actions_destroy(&actions);
    return started;
}

// Waits for the report of the first slide put on screen.
bool firstSlideShown(const Started& started) {
    char c = 0;
    while (read(started.output, &c, 1) == 1)
        if (c == '\n')
            return true;
    return false;
}

// Ends the show (the head passes the signal on and cleans up) and waits for it.
void stop(const Started& started) {
    if (started.pid > 0) {
        kill(started.pid, SIGTERM);
        int status = 0;
        waitpid(started.pid, &status, 0);
    }
    if (started.output >= 0)
        close(started.output);
}

void PackageStart(benchmark::State& state) {
    const QByteArray program = QFile::encodeName(package);
    const QByteArray folder = QFile::encodeName(scratch);
    for (auto _ : state) {
        const auto begin = Clock::now();
        const Started started = startReporting(program, folder);
        const bool shown = started.output >= 0 && firstSlideShown(started);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - begin).count());
        stop(started);
        if (!shown) {
            state.SkipWithError("the package showed no slide");
            break;
        }
    }
}
BENCHMARK(PackageStart)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

void LhasaAndPlayerStart(benchmark::State& state) {
    const QByteArray lhasa = peerProgram(QStringLiteral("lhasa"));
    if (lhasa.isEmpty()) {
        state.SkipWithError("lhasa not installed");
        return;
    }
    const QByteArray archive = QFile::encodeName(package);
    for (auto _ : state) {
        QTemporaryDir folder(scratch + QStringLiteral("/lhasa-XXXXXX"));
        const QByteArray into = "-xqw=" + QFile::encodeName(folder.path());
        const QByteArray player = QFile::encodeName(folder.filePath(QStringLiteral("show.exe")));
        const auto begin = Clock::now();
        char* argv[] = {const_cast<char*>("lhasa"), const_cast<char*>(into.constData()),
                        const_cast<char*>(archive.constData()), nullptr};
        const bool expanded = spawnAndWait(lhasa, argv) && chmod(player.constData(), 0700) == 0;
        const Started started =
            expanded ? startReporting(player, QFile::encodeName(folder.path())) : Started();
        const bool shown = started.output >= 0 && firstSlideShown(started);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - begin).count());
        stop(started);
        if (!shown) {
            state.SkipWithError("lhasa or the player failed");
            break;
        }
    }
}
BENCHMARK(LhasaAndPlayerStart)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

} // namespace

bool makeShowPhoto(const QString& path) {
    return makePhoto(path, QStringLiteral("sienna-skyblue"), QSize(1600, 1200), 85);
}

void setStartPackage(const QString& packagePath, const QString& scratchFolder) {
    package = packagePath;
    scratch = scratchFolder;
}
