// SPDX-License-Identifier: MIT
// The package's player in this process: a show read from a package folder plays full screen in the
// program's viewer; the presenter's keys act on it and Esc quits. The decoding run-time is loaded
// from a folder and refuses what is not itself.

#include "file_bytes.h"
#include "package_pictures.h"
#include "package_show.h"
#include "qt_application_environment.h"
#include "runtime_decoder.h"
#include "standalone_player.h"
#include "test_pictures.h"

#include <QApplication>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest/QTest>

namespace {

testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment<QApplication>);

const QString Samples = QStringLiteral(VERASCO_SOURCE_DIR "/packaging/samples/");

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
}

// A package folder of `count` slides of the sample photograph, with `options` in the first field.
void writeShow(const QString& folder, int count, const std::string& options, const std::string& audio = {}) {
    const QByteArray jpeg = fileBytes(Samples + "sunrise.jpg");
    SlideList list;
    list.options = options;
    QByteArray data;
    for (int i = 0; i < count; ++i) {
        TSlideRecord r{};
        r.ImageFile.assign(OffsetText(data.size()));
        r.AudioFile.assign(audio);
        r.Delay = 255;
        list.records.push_back(r);
        data += jpeg;
    }
    const std::string bytes = list.bytes();
    write(folder + "/IMAGES.SLD", QByteArray::fromStdString(bytes));
    write(folder + "/IMAGES.DAT", data);
}

TEST(PackageShowReading, OptionsRangesAndSoundsFoundWhateverTheLetterCase) {
    QTemporaryDir folder;
    writeShow(folder.path(), 2, "loop=0 speed=17 controls=1", "tune.wav");
    write(folder.filePath("TUNE.WAV"), "RIFF");
    PackageShow package;
    QString error;
    ASSERT_TRUE(package.open(folder.path(), error)) << error.toStdString();
    EXPECT_FALSE(package.options().loop);
    EXPECT_EQ(package.options().speed, 17);
    EXPECT_TRUE(package.options().controls);
    ASSERT_EQ(package.show().SlideCount, 2);
    const qint64 size = QFileInfo(Samples + "sunrise.jpg").size();
    EXPECT_EQ(package.range(1).offset, size);
    EXPECT_EQ(package.pictureData(1).size(), size);
    EXPECT_EQ(package.show().slide(0).AudioFile.str(),
              QFile::encodeName(folder.filePath("TUNE.WAV")).toStdString());
}

TEST(RuntimeDecoderLoading, TheRunTimeOfTheBuildDecodesAndOtherFilesAreRefused) {
    QTemporaryDir folder;
    RuntimeDecoder missing;
    EXPECT_FALSE(missing.load(folder.path()));
    EXPECT_FALSE(missing.error().isEmpty());

    write(folder.filePath("qpxrun30.dll"), "not a library");
    RuntimeDecoder notALibrary;
    EXPECT_FALSE(notALibrary.load(folder.path()));

    QFile::remove(folder.filePath("qpxrun30.dll"));
    QFile::copy(QStringLiteral(VERASCO_BINARY_DIR "/app/verasco3.dat"), folder.filePath("qpxrun30.dll"));
    RuntimeDecoder runtime;
    ASSERT_TRUE(runtime.load(folder.path())) << runtime.error().toStdString();
    QString why;
    const QImage picture = runtime.decode(fileBytes(Samples + "sunrise.jpg"), why);
    EXPECT_EQ(picture.size(), QImageReader(Samples + "sunrise.jpg").size()) << why.toStdString();
    EXPECT_EQ(picture.pixel(0, 0), QImage(Samples + "sunrise.jpg").pixel(0, 0));
    EXPECT_TRUE(runtime.decode(QByteArray("\xFF\xD8\xFF garbage"), why).isNull());
    EXPECT_FALSE(why.isEmpty());

    // A photograph packed as it is is shown upright by its orientation tag.
    const QString turned = folder.filePath("turned.jpg");
    QFile::copy(Samples + "sunrise.jpg", turned);
    if (!test_pictures::tagOrientation(turned, 6))
        GTEST_SKIP() << "exiftool (libimage-exiftool-perl) is not installed";
    const SlidePicture upright = decodeSlidePicture(fileBytes(turned), QSize(800, 600), runtime);
    EXPECT_TRUE(upright.byRuntime);
    EXPECT_EQ(upright.image.size(), picture.size().transposed());
    EXPECT_EQ(upright.image.pixel(picture.height() - 1, 0), picture.pixel(0, 0)) << "turned a quarter right";
}

QWidget* keyTarget(QWidget& window) {
    return QApplication::focusWidget() ? QApplication::focusWidget() : &window;
}

TEST(StandalonePlayerKeys, ArrowsStepSpacePausesAndEscapeQuits) {
    QTemporaryDir folder;
    writeShow(folder.path(), 3, "loop=1 speed=10 controls=0");
    PackageShow package;
    QString error;
    ASSERT_TRUE(package.open(folder.path(), error)) << error.toStdString();
    RuntimeDecoder runtime; // not loaded: the pictures are decoded by the program's own reader
    StandalonePlayer player(package, runtime, nullptr);
    TshowFrm& viewer = player.viewer();
    auto* play = viewer.findChild<QToolButton*>(QStringLiteral("SpeedButton2"));
    std::vector<int> shown;
    QObject::connect(&viewer, &TshowFrm::slideShown, [&shown](int index) { shown.push_back(index); });
    // The show plays in the viewer's own loop: the keys are pressed from within it, one step at a time,
    // the first once the first slide is on screen and its time runs.
    int step = 0;
    bool pausedStillOpen = false;
    QTimer script;
    QObject::connect(&script, &QTimer::timeout, [&] {
        if (step == 0 && play->isChecked() && !shown.empty()) {
            QTest::keyClick(keyTarget(viewer), Qt::Key_Right);
            step = 1;
        } else if (step == 1 && !shown.empty() && shown.back() == 1) {
            QTest::keyClick(keyTarget(viewer), Qt::Key_Space);
            step = 2;
        } else if (step == 2 && !play->isChecked()) {
            pausedStillOpen = viewer.isVisible();
            QTest::keyClick(keyTarget(viewer), Qt::Key_Escape);
            step = 3;
        }
    });
    script.start(5);
    // The player quits when its window closes; this test program goes on.
    QApplication::setQuitOnLastWindowClosed(false);
    player.start();
    EXPECT_TRUE(viewer.isFullScreen());
    EXPECT_TRUE(QTest::qWaitFor([&] { return step == 3 && !viewer.isVisible(); }, 60000));
    EXPECT_TRUE(pausedStillOpen);
    EXPECT_EQ(shown.front(), 0);
}

} // namespace
