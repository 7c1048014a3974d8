// SPDX-License-Identifier: MIT
// The media device with real sound files through the real media module. This machine may have no
// sound card; the device must play all the same, its position advancing in real time.
#include "media_device.h"
#include "qt_application_environment.h"
#include "test_wav.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace {

testing::Environment* const qtApplication =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment<QCoreApplication>);

constexpr int SoundEndsWithinMs = 20000;

class Media : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        device.setOpenTimeoutMs(SoundEndsWithinMs); // a very busy machine may load slowly
    }
    QString wav(const char* name, int ms) {
        const QString path = dir.filePath(QLatin1String(name));
        EXPECT_TRUE(writeTestWav(path, ms));
        return path;
    }
    QTemporaryDir dir;
    MediaDevice device;
};

TEST_F(Media, PlaysAFileToItsEnd) {
    ASSERT_TRUE(device.open(wav("tone.wav", 700)));
    EXPECT_NEAR(device.length(), 700, 20);
    EXPECT_EQ(device.position(), device.length()) << "not playing yet";
    ASSERT_TRUE(device.play());
    EXPECT_TRUE(device.isPlaying());
    EXPECT_LT(device.position(), device.length());
    EXPECT_TRUE(QTest::qWaitFor([&] { return device.position() > 0; }, SoundEndsWithinMs))
        << "position advances";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !device.isPlaying(); }, SoundEndsWithinMs)) << "sound ends";
    EXPECT_EQ(device.position(), device.length());
    EXPECT_TRUE(device.isOpen()) << "the file stays open after its end";
}

TEST_F(Media, StopEndsTheSoundAndKeepsTheFileOpen) {
    ASSERT_TRUE(device.open(wav("long.wav", 5000)));
    ASSERT_TRUE(device.play());
    device.stop();
    EXPECT_FALSE(device.isPlaying());
    EXPECT_EQ(device.position(), device.length());
    EXPECT_TRUE(device.isOpen());
}

TEST_F(Media, OpeningAnotherFileEndsTheSoundEvenWhenTheOtherFails) {
    QFile damaged(dir.filePath(QStringLiteral("damaged.wav")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(3000, '\x5a'));
    damaged.close();
    const QString tone = wav("long.wav", 5000);
    for (const QString& next : {damaged.fileName(), dir.filePath(QStringLiteral("missing.wav")), tone}) {
        ASSERT_TRUE(device.open(tone));
        ASSERT_TRUE(device.play());
        const bool opened = device.open(next);
        EXPECT_FALSE(device.isPlaying()) << next.toStdString();
        EXPECT_EQ(opened, next == tone) << next.toStdString();
        EXPECT_EQ(device.isOpen(), opened) << next.toStdString();
        if (!opened) {
            EXPECT_EQ(device.length(), 0);
            EXPECT_FALSE(device.play()) << "nothing plays after a failed open";
        }
    }
}

TEST_F(Media, TheSameFileStartsAgainFromItsBeginning) {
    const QString tone = wav("long.wav", 5000);
    ASSERT_TRUE(device.open(tone));
    ASSERT_TRUE(device.play());
    ASSERT_TRUE(QTest::qWaitFor([&] { return device.position() >= 2000; }, SoundEndsWithinMs));
    ASSERT_TRUE(device.open(tone));
    ASSERT_TRUE(device.play());
    EXPECT_LT(device.position(), 2000);
}

// The show's music taken up where it stands at a later slide: the sound starts a moment into the
// file; a moment at or past the end plays nothing.
TEST_F(Media, PlaysFromAMomentIntoTheFile) {
    ASSERT_TRUE(device.open(wav("long.wav", 5000)));
    EXPECT_FALSE(device.play(device.length()));
    EXPECT_FALSE(device.isPlaying());
    ASSERT_TRUE(device.play(3000));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !device.isPlaying() || device.position() > 0; }, SoundEndsWithinMs));
    EXPECT_GE(device.position(), 3000);
}

} // namespace
