// SPDX-License-Identifier: MIT
// The hidden work of a video or web page export when the program ends before the export does: a
// signal that ends it removes the work first, and what a killed program left goes with the next
// export into that folder, while the work of a program still running and the user's own files stay.
// Each export runs in a process of its own (a death test), ended from a thread that waits until the
// work is under way.
#include "qt_application_environment.h"
#include "share_test_support.h"
#include "video_export.h"
#include "web_page_export.h"
#include "work_files.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <thread>
#include <unistd.h>

namespace {

testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment<QApplication>);

struct Kind {
    const char* target;
    bool page;
};
const Kind Video{"show.mp4", false}, Page{"page", true};

// Hidden work beside a target that holds written bytes (a work folder's mark is none of them).
bool workUnderWay(const QString& folder) {
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        if (file.contains(QLatin1String(".part")) && !file.contains(QLatin1String("/.verasco-work")) &&
            QFileInfo(file).size() > 0)
            return true;
    }
    return false;
}

// A show of many large pictures, so that its exports take a while; the exports go into "out" (named
// by the environment in the process of a death test).
class ExportWork : public ::testing::Test, public ShareShow {
  protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        for (int i = 0; i < 12; ++i)
            add(picture(QStringLiteral("p%1.jpg").arg(i), {1600, 1000}, QColor(20 * i, 120, 200 - 10 * i)),
                2);
        if (qEnvironmentVariableIsEmpty("VERASCO_EXPORT_WORK"))
            qputenv("VERASCO_EXPORT_WORK", QFile::encodeName(path(QStringLiteral("out"))));
        out = qEnvironmentVariable("VERASCO_EXPORT_WORK");
        for (const Kind& kind : {Video, Page})
            QDir().mkpath(folderOf(kind));
    }

    // Each kind of export writes into a folder of its own.
    QString folderOf(const Kind& kind) const {
        return QDir(out).filePath(QLatin1String(kind.target) + "-folder");
    }

    sharing::ShareOutcome run(const Kind& kind) {
        const QString target = QDir(folderOf(kind)).filePath(QLatin1String(kind.target));
        if (kind.page)
            return sharing::writeWebPage({shared(), target}, {});
        sharing::VideoJob job;
        job.show = shared();
        job.target = target;
        job.size = {640, 360};
        return sharing::writeVideo(job, {});
    }

    // Runs the export in this process and ends it with `signal` once its work holds bytes.
    void endedBy(const Kind& kind, int signal) {
        const QString folder = folderOf(kind);
        std::thread([folder, signal] {
            while (!workUnderWay(folder))
                std::this_thread::yield();
            kill(getpid(), signal);
        }).detach();
        run(kind);
        std::_Exit(0);
    }

    QStringList entries(const Kind& kind) const {
        QStringList names =
            QDir(folderOf(kind))
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        names.sort();
        return names;
    }

    QString out;
};

TEST_F(ExportWork, AnExportEndedByASignalRemovesItsWork) {
    for (const Kind& kind : {Video, Page}) {
        QFile notes(QDir(folderOf(kind)).filePath(QStringLiteral("notes.txt")));
        ASSERT_TRUE(notes.open(QIODevice::WriteOnly) && notes.write("mine") == 4);
    }
    for (const Kind& kind : {Video, Page}) {
        for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
            SCOPED_TRACE(std::string(kind.target) + " " + strsignal(signal));
            EXPECT_EXIT(endedBy(kind, signal), testing::KilledBySignal(signal), "");
            EXPECT_EQ(entries(kind), QStringList{"notes.txt"});
        }
    }
}

// (The kills come first: a death test's process runs the test up to its own statement.)
TEST_F(ExportWork, WorkLeftByAKilledProgramGoesWithTheNextExportThere) {
    for (const Kind& kind : {Video, Page})
        EXPECT_EXIT(endedBy(kind, SIGKILL), testing::KilledBySignal(SIGKILL), "") << kind.target;
    for (const Kind& kind : {Video, Page}) {
        SCOPED_TRACE(kind.target);
        const QStringList left = entries(kind);
        ASSERT_EQ(left.size(), 1);
        ASSERT_TRUE(left[0].endsWith(QLatin1String(".part")));

        // Work of a program still running (its locks held here), and the user's own files: a file
        // and folders with names like work's, or holding a file named like work's mark, but not
        // made as work.
        const QDir folder(folderOf(kind));
        QByteArray liveFile;
        imaging::WorkLock fileLock, folderLock;
        const int fd = imaging::createWorkFile(QFile::encodeName(folder.filePath("other.mp4")), 0666,
                                               liveFile, fileLock);
        ASSERT_GE(fd, 0);
        close(fd);
        const QString liveFolder = imaging::workNameBeside(folder.filePath("other"));
        ASSERT_TRUE(folder.mkdir(liveFolder) && imaging::lockWorkFolder(liveFolder, folderLock));
        ASSERT_TRUE(folder.mkpath(".trip.0000abcd.part/pictures"));
        ASSERT_TRUE(folder.mkpath("Photos"));
        for (const char* name :
             {".holiday.part", ".notes.txt.0badcafe.part", "Photos/.verasco-work", "Photos/a.jpg"}) {
            QFile user(folder.filePath(name));
            ASSERT_TRUE(user.open(QIODevice::WriteOnly));
        }
        QStringList expected = entries(kind);

        const sharing::ShareOutcome outcome = run(kind);
        ASSERT_EQ(outcome.result, sharing::ShareOutcome::Done) << outcome.reason.toStdString();
        expected.removeOne(left[0]);
        expected << QLatin1String(kind.target);
        expected.sort();
        EXPECT_EQ(entries(kind), expected);
        EXPECT_TRUE(folder.exists("Photos/a.jpg") && folder.exists("Photos/.verasco-work"));
    }
}

} // namespace
