// SPDX-License-Identifier: MIT
// File > "Save as Vi&deo..." and "Save as &Web Page..." from the save or folder dialog to the message
// at the end: a name without extension, the overwrite question, an earlier page replaced keeping
// what the user added to its folder and any other folder kept, and the failures: a folder that cannot be
// written, a disk that fills, and Cancel half-way. Whatever stops the work, nothing is left behind and the
// user is told why.
#include "dialogs.h"
#include "file_bytes.h"
#include "qt_application_environment.h"
#include "share_commands.h"
#include "share_test_support.h"
#include "show_extension.h"
#include "watched_fifo.h"
#include "web_page_export.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <deque>
#include <unistd.h>

namespace {

testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment<QApplication>);

// Everything in a folder, hidden entries too.
QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// Answers the next folder dialog as a person would: types the name into its field and takes it.
// A refusal (a message over the dialog) is noted, and the dialog then cancelled.
void typeInFolderDialog(const QString& name, QStringList* refusals) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, name, refusals, typed = false]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (auto* message = qobject_cast<QMessageBox*>(modal)) {
            refusals->append(message->text());
            message->reject();
        } else if (dialog && !typed) {
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(name);
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
            typed = true;
        } else if (typed && (!dialog || !refusals->isEmpty())) {
            if (dialog)
                dialog->reject();
            poll->deleteLater();
        }
    });
    poll->start(5);
}

class ShareCommandTest : public ::testing::Test, public ShareShow {
  protected:
    ShareCommandTest() {
        const QString photo = picture("photo.jpg", {1600, 1200}, QColor(230, 120, 40));
        add(photo, 1, wav("tone.wav", 600), false, "Caption");
        add("BLANK", 1);
        out = path("out");
        QDir().mkpath(out);
        slideDirectory = out;
        dialogSeams().getSaveFileName = [this](QWidget*, const QString&, const QString&, const QString&) {
            ++saveDialogs;
            return answers.empty() ? QString() : answers.takeFirst();
        };
        dialogSeams().getSaveFileNameAndFilter = [this](QWidget* parent, const QString& caption,
                                                        const QString& dir, const QString& filter,
                                                        QString* selected) {
            if (!filterAnswers.empty())
                *selected = filterAnswers.takeFirst();
            return dialogSeams().getSaveFileName(parent, caption, dir, filter);
        };
        // The page's folder is chosen, or made, in the folder dialog.
        dialogSeams().getFolder = [this](QWidget*, const QString&, const QString&) {
            ++saveDialogs;
            return answers.empty() ? QString() : answers.takeFirst();
        };
        dialogSeams().runModal = [](QDialog*) { return int(QDialog::Accepted); };
        sharing::ShareParts parts;
        parts.show = &show;
        parts.slideDirectory = &slideDirectory;
        parts.loop = [] { return true; };
        parts.fadeMs = [] { return 700; };
        parts.window = &window;
        parts.prompts.overwrite = [this] { return answerOverwrite(); };
        parts.prompts.ask = [this](const QString& text, const QString& line2) {
            questions << text + "|" + line2;
            return answerOverwrite();
        };
        parts.prompts.message = [this](const QString& caption, const QString& text, const QString& line2) {
            messages << caption + "|" + text + "|" + line2;
        };
        commands = std::make_unique<sharing::ShareCommands>(std::move(parts));
    }
    ~ShareCommandTest() override {
        resetDialogSeams();
        if (mounted)
            QProcess::execute("umount", {mountPoint});
    }

    // A small file system of its own at out/disk, mounted with `options`; false when this user
    // cannot mount one.
    bool mountDisk(const QString& options) {
        mountPoint = QDir(out).filePath("disk");
        QDir().mkpath(mountPoint);
        mounted = geteuid() == 0 &&
                  QProcess::execute("mount", {"-t", "tmpfs", "-o", options, "tmpfs", mountPoint}) == 0;
        return mounted;
    }

    bool answerOverwrite() {
        ++overwriteQuestions;
        const bool yes = !overwriteAnswers.empty() && overwriteAnswers.front();
        if (!overwriteAnswers.empty())
            overwriteAnswers.pop_front();
        return yes;
    }

    void save(const char* command) {
        if (QByteArray(command) == "video")
            commands->saveVideo();
        else
            commands->saveWebPage();
    }

    QWidget window;
    QString out, slideDirectory, mountPoint;
    bool mounted = false;
    QStringList answers;
    QStringList filterAnswers; // the file type chosen in the video's save dialog
    int saveDialogs = 0;
    std::deque<bool> overwriteAnswers;
    int overwriteQuestions = 0;
    QStringList questions; // "text|line2" of the questions other than the plain overwrite one
    QStringList messages;
    std::unique_ptr<sharing::ShareCommands> commands;
};

} // namespace

TEST_F(ShareCommandTest, ANameWithoutExtensionBecomesAnMp4AndNoToTheOverwriteQuestionAsksAgain) {
    answers << out + "/holiday";
    commands->saveVideo();
    const QString video = out + "/holiday.mp4";
    EXPECT_EQ(fileBytes(video).mid(4, 4), QByteArray("ftyp"));
    EXPECT_EQ(messages, QStringList{"Information|Video created.|"});
    EXPECT_EQ(entries(out), QStringList{"holiday.mp4"});
    // Under the WebM file type, a name of another container becomes a WebM video.
    answers << out + "/trip.avi";
    filterAnswers << "WebM video (*.webm)";
    commands->saveVideo();
    EXPECT_EQ(fileBytes(out + "/trip.webm").left(4), QByteArray("\x1a\x45\xdf\xa3"));
    EXPECT_EQ(entries(out), (QStringList{"holiday.mp4", "trip.webm"}));
    QFile::remove(out + "/trip.webm");

    QFile::remove(video);
    QFile old(video);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("older file") == 10);
    old.close();
    answers << video << video;
    overwriteAnswers = {false, true};
    saveDialogs = 0;
    // A music file that is not there, or no regular file (a FIFO, whose open would wait for a writer
    // for good), is left out, and the message at the end names it.
    const WatchedFifo fifo(path("pipe.ogg"));
    ASSERT_TRUE(fifo.made());
    show.setShowData(ShowExtension::withMusic({}, {out + "/gone.ogg", path("pipe.ogg")}));
    messages.clear();
    commands->saveVideo();
    EXPECT_EQ(saveDialogs, 2);
    EXPECT_EQ(overwriteQuestions, 2);
    EXPECT_EQ(fileBytes(video).mid(4, 4), QByteArray("ftyp"));
    EXPECT_EQ(messages, QStringList{"Information|Video created.|Music left out: gone.ogg, pipe.ogg"});
    EXPECT_FALSE(fifo.opened());
}

// The page goes into a new folder, an empty one, or the folder of an earlier page, where it replaces
// only the earlier page's files after a question saying so; any other folder keeps what it holds.
TEST_F(ShareCommandTest, AnEarlierPageIsReplacedKeepingTheFilesAddedToItsFolder) {
    const QString page = out + "/page";
    // Through the folder dialog itself: the name of a new folder, or of an empty one, typed into it.
    const DialogSeams answered = dialogSeams();
    resetDialogSeams();
    for (const char* name : {"page", "empty"}) {
        QDir().mkpath(out + "/empty");
        QStringList refusals;
        typeInFolderDialog(QString::fromLatin1(name), &refusals);
        commands->saveWebPage();
        EXPECT_EQ(refusals, QStringList());
        ASSERT_TRUE(sharing::isSharedWebPage(QDir(out).filePath(name))) << name;
        EXPECT_TRUE(questions.isEmpty());
    }
    dialogSeams() = answered;
    // The viewer's cross-fade goes with the show.
    EXPECT_TRUE(fileBytes(page + "/index.html").contains("\"fade\":700"));
    const QStringList added = {"notes.txt", "extra/map.png", "pictures/mine.jpg", ".hidden"};
    for (const QString& name : added) {
        QDir(page).mkpath(QFileInfo(name).path());
        QFile file(QDir(page).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(name.toUtf8()) > 0);
    }
    ASSERT_TRUE(QFile::link("notes.txt", page + "/link"));
    QDir(page).mkpath("sounds/empty");
    add("BLANK", 1);
    const QByteArray earlier = fileBytes(page + "/index.html");
    answers << page << page;
    overwriteAnswers = {false, true};
    commands->saveWebPage();
    EXPECT_EQ(questions,
              QStringList(2, "File already exists, overwrite older file?|Only the page's own files are "
                             "replaced: other files in the folder stay."));
    EXPECT_NE(fileBytes(page + "/index.html"), earlier) << "the new page";
    for (const QString& name : added)
        EXPECT_EQ(fileBytes(QDir(page).filePath(name)), name.toUtf8()) << name.toStdString();
    EXPECT_EQ(QFile::symLinkTarget(page + "/link"), page + "/notes.txt");
    EXPECT_TRUE(QFileInfo(page + "/sounds/empty").isDir());
    EXPECT_EQ(entries(out), (QStringList{"empty", "page"}));

    const QString photos = out + "/photos";
    QDir().mkpath(photos);
    QFile(photos + "/mine.jpg").open(QIODevice::WriteOnly);
    answers << photos;
    messages.clear();
    questions.clear();
    commands->saveWebPage();
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_EQ(entries(photos), QStringList{"mine.jpg"});
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Error|The web page could not be written.|"))
        << messages[0].toStdString();
}

// A folder the user may not write to, and a disk that fills while the work is written.
TEST_F(ShareCommandTest, AFailureIsReportedAndLeavesNothingBehind) {
    const struct {
        const char* command;
        const char* mount;
        const char* reason;
    } rows[] = {{"video", "ro,size=64k", "Read-only file system"},
                {"web page", "ro,size=64k", "Read-only file system"},
                {"video", "size=48k", "No space left on device"},
                {"web page", "size=48k", "No space left on device"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.command) + " " + row.mount);
        if (!mountDisk(row.mount))
            GTEST_SKIP() << "only root can mount the small file systems these failures need";
        answers << mountPoint + "/shared";
        messages.clear();
        save(row.command);
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(
            messages[0].startsWith(QStringLiteral("Error|The %1 could not be written.|").arg(row.command)))
            << messages[0].toStdString();
        EXPECT_TRUE(messages[0].contains(row.reason)) << messages[0].toStdString();
        EXPECT_EQ(entries(mountPoint), QStringList());
        QProcess::execute("umount", {mountPoint});
        mounted = false;
    }
}

// Save as Video asked again while a cancelled one winds down starts once that one has ended.
TEST_F(ShareCommandTest, ASecondVideoAskedWhileOneStopsStartsWhenItHasEnded) {
    const QString photo = picture("big.jpg", {1920, 1080}, QColor(40, 200, 90));
    for (int i = 0; i < 10; ++i)
        add(photo, 1);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        if (!progress || progress->objectName() != "shareProgress")
            return;
        poll.stop();
        progress->findChild<QPushButton*>()->click();
        commands->saveVideo();
    });
    poll.start(2);
    answers << out + "/first" << out + "/second";
    commands->saveVideo();
    EXPECT_EQ(saveDialogs, 2);
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[1], "Information|Video created.|");
    EXPECT_TRUE(entries(out).contains("second.mp4"));
}

TEST_F(ShareCommandTest, CancelHalfWayLeavesNothingAndSaysSo) {
    const QString photo = picture("big.jpg", {1920, 1080}, QColor(40, 200, 90));
    for (int i = 0; i < 60; ++i) {
        const QString copy = path(QStringLiteral("copy%1.jpg").arg(i));
        ASSERT_TRUE(QFile::copy(photo, copy));
        add(copy, 1);
    }
    for (const char* command : {"video", "web page"}) {
        SCOPED_TRACE(command);
        // Cancel as soon as the progress dialog shows that some of the work is done.
        int valueAtCancel = -1;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
            if (!progress || progress->objectName() != "shareProgress" || progress->value() < 50)
                return;
            poll.stop();
            valueAtCancel = progress->value();
            progress->findChild<QPushButton*>()->click();
        });
        poll.start(2);
        answers << out + "/cancelled";
        messages.clear();
        save(command);
        EXPECT_GE(valueAtCancel, 50);
        EXPECT_LT(valueAtCancel, 900);
        EXPECT_EQ(
            messages,
            QStringList{QStringLiteral("Information|The %1 was not saved.|Cancelled: nothing was written.")
                            .arg(command)});
        EXPECT_EQ(entries(out), QStringList());
    }
}
