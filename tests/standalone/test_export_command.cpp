// SPDX-License-Identifier: MIT
// File > "Sa&ve Stand-alone Verasco..." from the save dialog to the message at the end: the ".exe"
// rule, the overwrite question, the settings dialog, the music converted behind a progress dialog
// with Cancel, the busy window given back on every path, and a package that really runs its player
// in a private folder through the head.

#include "condition_wait.h"
#include "dialogs.h"
#include "export_test_support.h"
#include "gui_test_support.h"
#include "package_inspection.h"
#include "qt_application_environment.h"
#include "show_extension.h"
#include "stub_codec.h"
#include "test_wav.h"
#include "watched_fifo.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QThread>
#include <QTimer>

namespace {

testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment<QApplication>);

// Presses a button of the settings dialog once it is the active modal window.
void pressWhenShown(Tsaveexedlg& dialog, const char* button) {
    whenModal(&dialog, [&dialog, button] { dialog.findChild<QPushButton*>(QLatin1String(button))->click(); });
}

class ExportCommand : public ExportTest {
  protected:
    ExportCommand() {
        dialogSeams().getSaveFileName = [this](QWidget*, const QString&, const QString& dir,
                                               const QString& filter) {
            asked << dir;
            filters << filter;
            return answers.isEmpty() ? QString() : answers.takeFirst();
        };
        addSlide(photo(QStringLiteral("sunrise.jpg")));
    }
    ~ExportCommand() override { resetDialogSeams(); }

    // Runs the command; the settings dialog is answered with `button`.
    void runWith(const char* button = "Button1") {
        pressWhenShown(dialog, button);
        exporter().run();
    }
    void expectWindowGivenBack() {
        EXPECT_TRUE(window.isEnabled());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(status->text(), QStringLiteral("Images: 3") + QString(34, QLatin1Char(' ')));
    }

    QStringList answers; // what the save dialog returns, in turn
    QStringList asked;   // the initial path it was opened with, each time
    QStringList filters;
};

// A Linux package gets no extension: a typed ".exe" is dropped. The name offered is the show's.
TEST_F(ExportCommand, ALinuxPackageDropsATypedExeInTheFolderThatIsThenTheShowFolder) {
    QDir().mkpath(target(QStringLiteral("out")));
    showPath = QStringLiteral("/shows/Summer trip.vrs");
    answers << target(QStringLiteral("out/holiday.exe"));
    runWith();
    EXPECT_EQ(asked, QStringList{QDir(root.path()).filePath(QStringLiteral("Summer trip"))});
    EXPECT_EQ(filters, QStringList{QStringLiteral("Morvant Stand-alone Verasco (*.exe)")});
    EXPECT_TRUE(QFileInfo(target(QStringLiteral("out/holiday"))).isExecutable());
    EXPECT_FALSE(QFileInfo::exists(target(QStringLiteral("out/holiday.exe"))));
    EXPECT_EQ(packagePlatform, QStringLiteral("Linux")) << "the choice is kept";
    EXPECT_EQ(messages, QStringList{QStringLiteral("Information|Stand-alone Verasco created.|")});
    EXPECT_TRUE(enabledAtMessage);
    EXPECT_EQ(statusAtMessage,
              QStringLiteral("Creating Stand-alone Verasco...done") + QString(15, QLatin1Char(' ')));
    EXPECT_EQ(slideDirectory, target(QStringLiteral("out")));
    expectWindowGivenBack();
}

// The player member is named like the package, also a name with another extension or one that
// begins with a dot, and comes first.
TEST_F(ExportCommand, ANameWithAnotherExtensionStaysAndNamesThePlayerMember) {
    for (const char* name : {"show.bin", ".secret"}) {
        answers << target(QLatin1String(name));
        runWith();
        const QByteArray bytes = fileBytes(target(QLatin1String(name)));
        QStringList names;
        for (const auto& m :
             package_inspection::walkMembers(bytes, fileBytes(programs + "/verasco1.dat").size()).members)
            names << m.name;
        EXPECT_EQ(names.value(0), QString::fromLatin1(name).toUpper()) << names.join(' ').toStdString();
        EXPECT_EQ(names.size(), 4) << names.join(' ').toStdString();
    }
}

TEST_F(ExportCommand, NoToTheOverwriteQuestionAsksForANameAgain) {
    const QString old = file(QStringLiteral("../show"), "older file");
    answers << old << QString();
    overwriteAnswers = {false};
    runWith();
    EXPECT_EQ(asked.size(), 2);
    EXPECT_EQ(overwriteQuestions, 1);
    EXPECT_EQ(fileBytes(old), QByteArray("older file"));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(ExportCommand, YesToTheOverwriteQuestionReplacesTheOldFileEntirely) {
    const QString old = file(QStringLiteral("../show"), QByteArray(5'000'000, 'o'));
    answers << old;
    overwriteAnswers = {true};
    runWith();
    const QByteArray bytes = fileBytes(old);
    EXPECT_TRUE(bytes.startsWith(fileBytes(programs + "/verasco1.dat")));
    EXPECT_FALSE(bytes.contains(QByteArray(1000, 'o')));
}

TEST_F(ExportCommand, CancellingTheSettingsWritesNothing) {
    answers << target(QStringLiteral("show"));
    runWith("Button2");
    EXPECT_FALSE(QFileInfo::exists(target(QStringLiteral("show"))));
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(temporaryEntries().isEmpty());
}

// (A picture that cannot be read asks about a blank slide instead: a folder that is a file fails the
// export.)
TEST_F(ExportCommand, AFailureIsReportedWithTheWindowGivenBack) {
    const QString blocker = file(QStringLiteral("notafolder"), "mine");
    answers << blocker + QStringLiteral("/show");
    runWith();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Error|The stand-alone show could not be written.|")))
        << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(QStringLiteral("notafolder")));
    EXPECT_TRUE(enabledAtMessage);
    expectWindowGivenBack();
    EXPECT_EQ(fileBytes(blocker), QByteArray("mine"));
    EXPECT_TRUE(temporaryEntries().isEmpty());
}

TEST_F(ExportCommand, AnEmptyShowStopsWithoutAWord) {
    show.clear();
    answers << target(QStringLiteral("show"));
    exporter().run();
    EXPECT_FALSE(QFileInfo::exists(target(QStringLiteral("show"))));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(ExportCommand, ThePackageRunsItsPlayerInAFolderOfItsOwnAndRemovesIt) {
    addSlide(QStringLiteral("BLANK"), file(QStringLiteral("tune.wav"), "RIFF"));
    answers << target(QStringLiteral("show"));
    runWith();
    QDir().mkpath(target(QStringLiteral("run-tmp")));
    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TMPDIR"), target(QStringLiteral("run-tmp")));
    run.setProcessEnvironment(env);
    run.setWorkingDirectory(target(QStringLiteral("run-tmp")));
    run.start(target(QStringLiteral("show")), {QStringLiteral("--exit"), QStringLiteral("5")});
    ASSERT_TRUE(run.waitForFinished(60000));
    const QString out = QString::fromLocal8Bit(run.readAllStandardOutput());
    EXPECT_EQ(run.exitCode(), 5) << run.readAllStandardError().toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("file=IMAGES.DAT\nfile=IMAGES.SLD\nfile=QPXRUN30.DLL\nfile=SHOW\n"
                                            "file=TUNE.WAV\n")))
        << out.toStdString();
    EXPECT_TRUE(QDir(target(QStringLiteral("run-tmp"))).isEmpty());
}

// A music file that is no sound, or no regular file (a FIFO, which would hold the window in its open
// for good), is left out and named in the message at the end. Long music is packed while the windows
// go on: their timers run meanwhile.
TEST_F(ExportCommand, MusicThatCannotBeConvertedIsLeftOutAndNamedAndLongMusicIsPackedAside) {
    const WatchedFifo fifo(pictures + QStringLiteral("/pipe.mp3"));
    ASSERT_TRUE(fifo.made());
    const QString tune = pictures + QStringLiteral("/tune.wav");
    ASSERT_TRUE(writeTestWav(tune, 600000));
    show.setShowData(ShowExtension::withMusic({}, {tune, pictures + QStringLiteral("/pipe.mp3")}));
    bool servedWhilePacked = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        servedWhilePacked |= status->text().startsWith(QLatin1String("Creating Stand-alone Verasco...")) &&
                             !status->text().contains(QLatin1String("done"));
    });
    poll.start(1);
    answers << target(QStringLiteral("show"));
    runWith();
    EXPECT_EQ(messages, QStringList{QStringLiteral("Information|Stand-alone Verasco created.|Music left out: "
                                                   "pipe.mp3")});
    EXPECT_FALSE(fifo.opened());
    EXPECT_TRUE(servedWhilePacked);
}

// The music is converted on a thread of its own behind the progress dialog, whose Cancel stops the
// export without a word and leaves nothing.
TEST_F(ExportCommand, CancelWhileTheMusicIsConvertedLeavesNothing) {
    // Converts nothing: holds each conversion until it is cancelled.
    struct : StubCodec {
        bool convertToOgg(const QString&, const QString&, const std::atomic<bool>& cancel,
                          QString*) override {
            for (const QDeadlineTimer deadline(ConditionWaitMs); !cancel && !deadline.hasExpired();)
                QThread::msleep(1);
            return false;
        }
    } held;
    codec = &held;
    show.setShowData(ShowExtension::withMusic({}, {pictures + QStringLiteral("/tune.wav")}));
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        if (!progress || progress->objectName() != QLatin1String("shareProgress"))
            return;
        poll.stop();
        progress->findChild<QPushButton*>()->click();
    });
    poll.start(2);
    answers << target(QStringLiteral("show"));
    runWith();
    EXPECT_FALSE(poll.isActive()) << "the progress dialog was shown";
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(target(QStringLiteral("show"))));
    EXPECT_TRUE(temporaryEntries().isEmpty());
    expectWindowGivenBack();
}

} // namespace
