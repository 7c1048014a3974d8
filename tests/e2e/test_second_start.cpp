// SPDX-License-Identifier: MIT
// A first instance of Verasco runs in this process; the real program is started beside it as a
// second instance and must hand its command line over and end.

#include "app_windows.h"
#include "main_window.h"
#include "show_file.h"
#include "show_form.h"
#include "startup.h"
#include "test_pictures.h"
#include "test_shows.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {
const QString Program = QStringLiteral(VERASCO_BINARY_DIR "/app/verasco");

class SecondStart : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        // A private runtime folder: the instances meet there, away from a real running Verasco.
        runtime = new QTemporaryDir;
        QFile::setPermissions(runtime->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime->path().toLocal8Bit());
        pictures = new QTemporaryDir;
        for (const char* name :
             {"flower.jpg", "storm_pal8.pcx", "ladybird_lzw.tif", "flower.png", "size_73x48.jif"})
            ASSERT_FALSE(test_pictures::make(pictures->path(), name).isEmpty()) << name;
        first = new VerascoStartup({});
        ASSERT_FALSE(first->handedOver());
    }
    static void TearDownTestSuite() {
        delete first;
        delete pictures;
        delete runtime;
    }
    void SetUp() override { show().clear(); }

    static TMainFormverasco& main() { return *first->windows()->MainFormverasco; }
    static ShowDocument& show() { return main().document(); }

    // Runs the program with the arguments while this instance keeps answering; its exit code.
    static int startAgain(const QStringList& arguments, const QString& folder = QString()) {
        QProcess process;
        process.setProgram(Program);
        process.setArguments(arguments);
        if (!folder.isEmpty())
            process.setWorkingDirectory(folder);
        process.start();
        const QDeadlineTimer deadline(60000);
        while (process.state() != QProcess::NotRunning && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            process.waitForFinished(5);
        }
        QCoreApplication::processEvents();
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        output = process.readAllStandardOutput();
        return process.exitCode();
    }

    static QString picture(const char* name) { return pictures->filePath(name); }
    // The slide's file, named the way the kernel names it (without symbolic links).
    static QString slide(int index) { return QFileInfo(show().imagePath(index)).canonicalFilePath(); }
    static QString canonical(const QString& path) { return QFileInfo(path).canonicalFilePath(); }

    static inline QByteArray output; // the standard output of the last start
    static inline QTemporaryDir* runtime = nullptr;
    static inline QTemporaryDir* pictures = nullptr;
    static inline VerascoStartup* first = nullptr;
};

TEST_F(SecondStart, HandsItsImagesToTheFirstInOrder) {
    EXPECT_EQ(startAgain({picture("flower.jpg"), picture("storm_pal8.pcx"), picture("ladybird_lzw.tif")}), 0);
    ASSERT_EQ(show().SlideCount, 3);
    EXPECT_EQ(slide(0), canonical(picture("flower.jpg")));
    EXPECT_EQ(slide(1), canonical(picture("storm_pal8.pcx")));
    EXPECT_EQ(slide(2), canonical(picture("ladybird_lzw.tif")));
}

TEST_F(SecondStart, RelativePathsMeanTheFolderItWasStartedIn) {
    // Started in a folder reached through a symbolic link, as the test data may be.
    QTemporaryDir links;
    const QString folder = links.filePath("pictures");
    ASSERT_TRUE(QFile::link(pictures->path(), folder));
    EXPECT_EQ(startAgain({"flower.png", "size_73x48.jif"}, folder), 0);
    ASSERT_EQ(show().SlideCount, 2);
    EXPECT_EQ(slide(1), canonical(folder + "/size_73x48.jif"));
}

TEST_F(SecondStart, WithoutArgumentsOnlyRaisesTheFirst) {
    main().showMinimized();
    QCoreApplication::processEvents();
    EXPECT_EQ(startAgain({}), 0);
    EXPECT_FALSE(main().isMinimized());
    EXPECT_TRUE(main().isVisible());
    EXPECT_EQ(show().SlideCount, 0);
}

// A show double-clicked while Verasco runs opens there; files that are no pictures are not added.
TEST_F(SecondStart, AShowOpensAndJunkIsNotAppended) {
    QTemporaryDir dir;
    const QString showFile = dir.filePath("trip.vrs");
    ShowDocument trip;
    test_shows::append(trip, {"BLANK", "BLANK"});
    ASSERT_TRUE(ShowFile::write(showFile, trip).ok);
    const QString broken = test_pictures::makeBroken(dir.path()).front();
    EXPECT_EQ(startAgain({broken, QString(300, QLatin1Char('x')), showFile}), 0);
    EXPECT_TRUE(QTest::qWaitFor([] { return show().SlideCount == 2; }, 60000));
    EXPECT_TRUE(show().isBlank(1));
}

// A path too long to keep in a show is refused and named as at a start, also when the record cut
// to 255 bytes would name another picture that is there.
TEST_F(SecondStart, APathTooLongToKeepIsRefusedAsAtAStart) {
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    const QString cut =
        folder + QString(255 - QFile::encodeName(folder).size() - 4, QLatin1Char('p')) + ".jpg";
    ASSERT_EQ(QFile::encodeName(cut).size(), 255);
    const QString whole = cut + ".jpg";
    for (const QString& name : {cut, whole})
        ASSERT_TRUE(QFile::copy(picture("flower.jpg"), name));
    EXPECT_EQ(startAgain({whole}), 0);
    EXPECT_TRUE(QTest::qWaitFor(
        [] { return main().findChild<QLabel*>("Label7")->text().startsWith("Path too long: "); }, 60000));
    EXPECT_EQ(main().findChild<QLabel*>("Label7")->text().toStdString(),
              ("Path too long: " + QFileInfo(whole).fileName()).toStdString());
    EXPECT_EQ(show().SlideCount, 0);
}

// Asked for its usage or version, the program answers on standard output and hands nothing over.
TEST_F(SecondStart, HelpAndVersionAnswerWithoutHandingOver) {
    EXPECT_EQ(startAgain({"--help"}), 0);
    EXPECT_TRUE(output.startsWith("Usage: verasco")) << output.toStdString();
    EXPECT_EQ(startAgain({picture("flower.png"), "--version"}), 0);
    EXPECT_TRUE(output.startsWith("verasco ")) << output.toStdString();
    EXPECT_EQ(show().SlideCount, 0);
}

// A picture handed over while the show plays is played in its turn: the viewer takes in the slide
// added to the show it plays.
TEST_F(SecondStart, APictureHandedOverWhileTheShowPlaysIsPlayedInItsTurn) {
    EXPECT_EQ(startAgain({picture("flower.jpg"), picture("flower.png")}), 0);
    ASSERT_EQ(show().SlideCount, 2);
    main().settings().LoopSlideShow = true;
    TshowFrm* viewer = first->windows()->showFrm;
    QProcess later;
    later.setProgram(Program);
    later.setArguments({picture("size_73x48.jif")});
    std::vector<int> shown;
    int shownSinceHandedOver = 0;
    const QMetaObject::Connection watching =
        QObject::connect(viewer, &TshowFrm::slideShown, viewer, [&](int index) {
            shown.push_back(index);
            if (shown.size() == 1)
                later.start();
            shownSinceHandedOver += show().SlideCount == 3 ? 1 : 0;
            // Twice round the show after the hand-off without the new slide: it is not played.
            if (index == 2 || shownSinceHandedOver > 6)
                viewer->SpeedButton3Click();
        });
    main().BitBtn2Click();
    viewer->findChild<QSlider*>("TrackBar1")->setValue(19); // half a second a slide
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return !shown.empty() && !main().flags().ShowPlaying && later.state() == QProcess::NotRunning;
        },
        60000));
    QObject::disconnect(watching);
    viewer->close();
    EXPECT_EQ(later.exitCode(), 0);
    EXPECT_EQ(show().SlideCount, 3);
    EXPECT_EQ(shown.back(), 2) << "the slides shown ended on slide " << shown.back();
}
} // namespace
