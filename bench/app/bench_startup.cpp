// SPDX-License-Identifier: MIT
// Start-up to the main window shown, against a minimal Qt Widgets program showing one window.
// Both are started as processes; the clock runs from the start until the program reports that its
// window has painted itself. Ending the program (Verasco then writes its settings) is not timed.

#include "ratio_reporter.h"

#include <QTemporaryDir>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {
const std::string BenchBin = VERASCO_BINARY_DIR "/bench/bin/";
const std::string Program = VERASCO_BINARY_DIR "/app/verasco";

// Starts the program with its standard output on a pipe and waits for its "shown" line; returns the
// seconds that took, or a negative number when the program did not report or did not end cleanly.
// The process is started with posix_spawn so that the harness adds as little as it can to both.
double secondsToShown(const std::string& program) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    std::string output;
    char buffer[64];
    ssize_t n = 0;
    while (spawned == 0 && output.find('\n') == std::string::npos &&
           (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
        output.append(buffer, size_t(n));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ::close(pipeFds[0]);
    int status = 0;
    if (spawned != 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return output.rfind("shown\n", 0) == 0 ? seconds : -1;
}

void runToShown(benchmark::State& state, const std::string& program) {
    QTemporaryDir runtime; // no running instance to hand over to
    ::setenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit().constData(), 1);
    // A home and settings of their own, the same on every machine: the image folder at start is the
    // empty home, and after the first start the settings are those that Verasco wrote when it ended,
    // as for a person who has used it before.
    QTemporaryDir home;
    ::setenv("HOME", home.path().toLocal8Bit().constData(), 1);
    ::setenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toLocal8Bit().constData(), 1);
    ::setenv("VERASCO_QUIT_WHEN_SHOWN", "1", 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    for (auto _ : state) {
        const double seconds = secondsToShown(program);
        if (seconds < 0) {
            state.SkipWithError("program did not show its window and end cleanly");
            return;
        }
        state.SetIterationTime(seconds);
    }
}

void StartupVerasco(benchmark::State& state) {
    runToShown(state, Program);
}
void StartupMinimalQtWindow(benchmark::State& state) {
    runToShown(state, BenchBin + "helper_minimal_window");
}
// Short rounds of each, interleaved at random, compared by their medians: a passing load on the
// machine then touches both programs alike.
BENCHMARK(StartupVerasco)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5)
    ->Repetitions(21)
    ->ReportAggregatesOnly(true);
BENCHMARK(StartupMinimalQtWindow)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5)
    ->Repetitions(21)
    ->ReportAggregatesOnly(true);
} // namespace

int main(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    int count = int(args.size());
    return runWithRatios(count, args.data(), {{"StartupVerasco", "StartupMinimalQtWindow"}});
}
