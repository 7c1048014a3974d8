// Start-up to the main window shown, against a minimal Qt Widgets program showing one window.
// Both are started as processes and end as soon as their window is up.

#include "ratio_reporter.h"

#include <QProcess>
#include <QTemporaryDir>

namespace {
const QString BenchBin = QStringLiteral(VERASCO_BINARY_DIR "/bench/bin/");
const QString Program = QStringLiteral(VERASCO_BINARY_DIR "/app/verasco");

void runToShown(benchmark::State& state, const QString& program) {
    QTemporaryDir runtime; // no running instance to hand over to
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.insert("VERASCO_QUIT_WHEN_SHOWN", "1");
    if (!env.contains("QT_QPA_PLATFORM"))
        env.insert("QT_QPA_PLATFORM", "offscreen");
    for (auto _ : state) {
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(program, {});
        if (!process.waitForFinished(30000) || process.exitCode() != 0) {
            state.SkipWithError("program did not start and end cleanly");
            return;
        }
    }
}

void StartupVerasco(benchmark::State& state) {
    runToShown(state, Program);
}
void StartupMinimalQtWindow(benchmark::State& state) {
    runToShown(state, BenchBin + "helper_minimal_window");
}
BENCHMARK(StartupVerasco)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(StartupMinimalQtWindow)->Unit(benchmark::kMillisecond)->Iterations(20);
} // namespace

int main(int argc, char** argv) {
    return runWithRatios(argc, argv, {{"StartupVerasco", "StartupMinimalQtWindow"}});
}
