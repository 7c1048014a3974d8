// SPDX-License-Identifier: MIT
// The real program given paths that name no picture file: a FIFO without a writer, links to
// /dev/zero and to /proc/self/pagemap (a regular file that reports size 0 and goes on for hundreds
// of GB) named like pictures, a folder, a show whose picture is such a link. Whether on its command
// line, in the folder it lists or handed over to it by a later start, it neither waits for the FIFO
// nor reads the device or the procfs file until its memory runs out (it runs with 1 GB of address
// space here): it starts, shows its window and goes on answering.

#include "sanitizers.h"
#include "show_file.h"
#include "test_pictures.h"
#include "test_shows.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

namespace {
const QString Program = QStringLiteral(VERASCO_BINARY_DIR "/app/verasco");
[[maybe_unused]] constexpr rlim_t AddressSpace = 1024ull * 1024 * 1024;
constexpr int HangMs = 90000; // far beyond any start; only a program that waits forever gets there

class HostilePaths : public ::testing::Test {
  protected:
    void SetUp() override {
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        ASSERT_EQ(::mkfifo(QFile::encodeName(files.filePath("pipe")).constData(), 0600), 0);
        ASSERT_EQ(::mkfifo(QFile::encodeName(files.filePath("pipe.jpg")).constData(), 0600), 0);
        ASSERT_TRUE(QFile::link("/dev/zero", files.filePath("zero.jpg")));
        ASSERT_TRUE(QFile::link("/proc/self/pagemap", files.filePath("pagemap.jpg")));
        ASSERT_TRUE(QDir(files.path()).mkdir("folder.png"));
        ASSERT_FALSE(test_pictures::make(files.path(), "flower.jpg").isEmpty());
        ShowDocument show;
        test_shows::append(show, {test_shows::slide(show, files.filePath("flower.jpg")),
                                  test_shows::slide(show, files.filePath("pagemap.jpg"))});
        ASSERT_TRUE(ShowFile::write(files.filePath("pagemap.vrs"), show).ok);
    }
    void TearDown() override {
        if (first.state() != QProcess::NotRunning) {
            first.kill();
            first.waitForFinished();
        }
    }

    // The first argument is probed as a show (it has no extension); the others are taken as images.
    QStringList hostileArguments() const {
        QStringList arguments;
        for (const char* name : {"pipe", "zero.jpg", "pagemap.jpg", "pipe.jpg", "folder.png", "flower.jpg"})
            arguments.append(files.filePath(name));
        return arguments;
    }
    // A show whose second picture is the procfs file.
    QStringList showArguments() const { return {files.filePath("pagemap.vrs")}; }

    void prepare(QProcess& process, const QStringList& arguments, bool quitWhenShown) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", runtime.path());
        environment.insert("XDG_CONFIG_HOME", config.path());
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        if (quitWhenShown)
            environment.insert("VERASCO_QUIT_WHEN_SHOWN", "1");
        process.setProcessEnvironment(environment);
        process.setProgram(Program);
        process.setArguments(arguments);
        process.setWorkingDirectory(files.path()); // the folder the program lists at its start
#ifndef VERASCO_TEST_SANITIZED // the sanitizers reserve more address space than any such limit
        process.setChildProcessModifier([] {
            const rlimit limit{AddressSpace, AddressSpace};
            ::setrlimit(RLIMIT_AS, &limit);
        });
#endif
    }

    // Runs a start to its end: nothing when it ended well, else how it went.
    QString runToEnd(const QStringList& arguments, bool quitWhenShown) {
        QProcess process;
        prepare(process, arguments, quitWhenShown);
        process.start();
        if (!process.waitForFinished(HangMs)) {
            process.kill();
            process.waitForFinished();
            return QStringLiteral("did not end");
        }
        const QString errors = QString::fromLocal8Bit(process.readAllStandardError());
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
            return QStringLiteral("ended badly: ") + errors;
        return errors.contains(QLatin1String("does not answer")) ? errors : QString();
    }

    QTemporaryDir runtime, config, files;
    QProcess first;
};

TEST_F(HostilePaths, OnTheCommandLineTheProgramStillStartsAndShowsItsWindow) {
    for (const QStringList& arguments : {hostileArguments(), showArguments()})
        EXPECT_EQ(runToEnd(arguments, true).toStdString(), "") << arguments.join(' ').toStdString();
}

TEST_F(HostilePaths, HandedOverTheRunningProgramGoesOnAnswering) {
    // Its show of one picture is not saved: it must not die with it.
    prepare(first, {files.filePath("flower.jpg")}, false);
    first.start();
    // Once its socket is there, the first instance listens and later starts hand over to it.
    const QDeadlineTimer deadline(HangMs);
    while (QDir(runtime.filePath("verasco")).entryList({"*.socket"}, QDir::System).isEmpty() &&
           !deadline.hasExpired())
        first.waitForFinished(20);
    ASSERT_EQ(first.state(), QProcess::Running);
    // A later start that finds no one answering says so and ends with an error.
    EXPECT_EQ(runToEnd(hostileArguments(), false).toStdString(), "");
    EXPECT_EQ(runToEnd(showArguments(), false).toStdString(), "");
    EXPECT_EQ(runToEnd({}, false).toStdString(), "");
    EXPECT_EQ(first.state(), QProcess::Running);
}
} // namespace
