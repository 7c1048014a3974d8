// SPDX-License-Identifier: MIT
// Slide times fitted to the show's music: the arithmetic, and a show whose music and held sounds are
// measured by the codec module, undone in one step.

#include "codec_module.h"
#include "condition_wait.h"
#include "music_fit.h"
#include "qt_application_environment.h"
#include "share_test_support.h"
#include "show_extension.h"
#include "stub_codec.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>
#include <QUndoStack>

#include <atomic>

namespace {

testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment<QApplication>);

using sharing::FitSlide;

TEST(MusicFit, TheFreeSlidesShareWhatTheHeldSlidesLeaveInTenthsWithinTheLimits) {
    const struct {
        const char* what;
        std::vector<FitSlide> slides;
        std::int64_t musicMs;
        std::vector<std::int64_t> times;
    } rows[] = {
        {"even", {{5000, -1}, {5000, -1}, {5000, -1}}, 30000, {10000, 10000, 10000}},
        {"the first slides take the tenths left over",
         {{5000, -1}, {5000, -1}, {5000, -1}},
         31600,
         {10600, 10500, 10500}},
        {"rounded to the nearest tenth", {{5000, -1}, {5000, -1}}, 20549, {10300, 10200}},
        {"a held slide keeps its time and lasts as its sound",
         {{3000, 7000}, {5000, -1}, {5000, -1}},
         27000,
         {3000, 10000, 10000}},
        {"a held slide lasts its own time where its sound is shorter",
         {{9500, 2000}, {5000, -1}},
         20000,
         {9500, 10500}},
        {"music shorter than the held slides", {{3000, 9000}, {5000, -1}}, 4000, {3000, 100}},
        {"at least a tenth", {{5000, -1}, {5000, -1}, {5000, -1}}, 100, {100, 100, 100}},
        {"at most 255 seconds", {{5000, -1}}, 600000, {255000}},
        {"only held slides", {{4000, 1000}}, 60000, {4000}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(sharing::fittedSlideTimes(row.slides, row.musicMs), row.times);
    }
}

TEST(MusicFit, TheShowLastsAsLongAsItsMusicMeasuredFromTheFilesAndOneUndoTakesItBack) {
    QString error;
    sharing::CodecBackend* codec = sharing::codecBackend(&error);
    ASSERT_TRUE(codec) << error.toStdString();
    ShareShow made;
    const QString picture = made.picture("a.jpg", {64, 48}, Qt::blue);
    made.add(picture, 5);
    made.add(picture, 2, made.wav("held.wav", 4000), true);
    made.add(picture, 5, made.wav("free.wav", 9000)); // its sound does not hold the slide
    made.show.setShowData(ShowExtension::withMusic(
        {}, {made.wav("one.wav", 6000), made.path("gone.wav"), made.ogg("two.ogg", 10000)}));
    made.show.markOpened();

    EXPECT_EQ(sharing::fitSlidesToMusic(made.show, *codec), QString());
    EXPECT_EQ(made.show.slide(0).Delay, 6);
    EXPECT_EQ(made.show.slide(1).Delay, 2);
    EXPECT_EQ(made.show.slide(2).Delay, 6);
    EXPECT_EQ(made.show.history().count(), 1);
    EXPECT_EQ(made.show.history().undoText(), "Fit Slides to Music");
    made.show.undo();
    EXPECT_EQ(made.show.slide(0).Delay, 5);
    EXPECT_EQ(made.show.slide(2).Delay, 5);
    EXPECT_FALSE(made.show.ShowModified);

    made.show.setShowData(ShowExtension::withMusic({}, {made.path("gone.wav")}));
    EXPECT_FALSE(sharing::fitSlidesToMusic(made.show, *codec).isEmpty()) << "no music to fit to";
    EXPECT_EQ(made.show.slide(0).Delay, 5);
}

// A long list of music, or files measured by decoding them, hold no window: the lengths are read on
// a thread of their own while the window thread goes on serving its timers.
TEST(MusicFit, TheLengthsAreReadWhileTheWindowThreadGoesOn) {
    // Each file lasts 6 s once the window thread has run a timer; given up on after a long wait.
    struct : StubCodec {
        std::atomic<bool> windowRan{false};
        std::atomic<int> probedWithoutWindow{0};
        sharing::SoundFacts probeSound(const QString&) override {
            for (const QDeadlineTimer deadline(ConditionWaitMs);
                 !windowRan && probedWithoutWindow == 0 && !deadline.hasExpired();)
                QThread::msleep(1);
            probedWithoutWindow += windowRan ? 0 : 1;
            return {true, 6000, {}, {}, {}};
        }
    } codec;
    ShareShow made;
    const QString picture = made.picture("a.jpg", {64, 48}, Qt::blue);
    made.add(picture, 5);
    made.add(picture, 5);
    const QString tune = made.wav("tune.wav", 100);
    made.show.setShowData(ShowExtension::withMusic({}, {tune, tune, made.wav("other.wav", 100)}));
    QTimer::singleShot(0, [&codec] { codec.windowRan = true; });
    EXPECT_EQ(sharing::fitSlidesToMusic(made.show, codec), QString());
    EXPECT_EQ(codec.probedWithoutWindow, 0);
    EXPECT_EQ(made.show.slide(0).Delay, 9);
    EXPECT_EQ(made.show.slide(1).Delay, 9);
}

} // namespace
