// A first instance of Verasco runs in this process; the real program is started beside it as a
// second instance and must hand its command line over and end.

#include "main_window.h"
#include "app_windows.h"
#include "startup.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QString TestImages = QStringLiteral(VERASCO_TESTDATA "/images/");
const QString Program = QStringLiteral(VERASCO_BINARY_DIR "/app/verasco");

class SecondStart : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // A private runtime folder: the instances meet there, away from a real running Verasco.
        runtime = new QTemporaryDir;
        QFile::setPermissions(runtime->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime->path().toLocal8Bit());
        first = new VerascoStartup({});
        ASSERT_FALSE(first->handedOver());
    }
    static void TearDownTestSuite() {
        delete first;
        delete runtime;
    }
    void SetUp() override { show().SlideCount = 0; }

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
        return process.exitCode();
    }

    std::string slide(int index) { return show().slide(index).ImageFile.str(); }

    static inline QTemporaryDir* runtime = nullptr;
    static inline VerascoStartup* first = nullptr;
};

TEST_F(SecondStart, HandsItsImagesToTheFirstInOrder) {
    EXPECT_EQ(startAgain({TestImages + "flower.jpg", TestImages + "storm_pal8.pcx", TestImages + "ladybird_lzw.tif"}),
              0);
    ASSERT_EQ(show().SlideCount, 3);
    EXPECT_EQ(slide(0), (TestImages + "flower.jpg").toStdString());
    EXPECT_EQ(slide(1), (TestImages + "storm_pal8.pcx").toStdString());
    EXPECT_EQ(slide(2), (TestImages + "ladybird_lzw.tif").toStdString());
}

TEST_F(SecondStart, RelativePathsMeanTheFolderItWasStartedIn) {
    EXPECT_EQ(startAgain({"flower.png", "size_73x48.jif"}, TestImages), 0);
    ASSERT_EQ(show().SlideCount, 2);
    EXPECT_EQ(slide(1), (TestImages + "size_73x48.jif").toStdString());
}

TEST_F(SecondStart, WithoutArgumentsOnlyRaisesTheFirst) {
    main().showMinimized();
    QCoreApplication::processEvents();
    EXPECT_EQ(startAgain({}), 0);
    EXPECT_FALSE(main().isMinimized());
    EXPECT_TRUE(main().isVisible());
    EXPECT_EQ(show().SlideCount, 0);
}

TEST_F(SecondStart, ShowFilesAndJunkAreNotAppended) {
    QTemporaryDir dir;
    const QString showFile = dir.filePath("trip.vrs");
    QFile(showFile).open(QIODevice::WriteOnly);
    EXPECT_EQ(startAgain({showFile, TestImages + "broken_header.png", QString(300, QLatin1Char('x'))}), 0);
    EXPECT_EQ(show().SlideCount, 0);
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config; // the user's own settings stay untouched
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
