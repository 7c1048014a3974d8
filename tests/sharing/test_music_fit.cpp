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

TEST(MusicFit, TheFreeSlidesShareWhatTheHeldSlidesLeaveInWholeSecondsFrom1To255) {
    const struct {
        const char* what;
        std::vector<FitSlide> slides;
        std::int64_t musicMs;
        std::vector<int> times;
    } rows[] = {
        {"even", {{5, -1}, {5, -1}, {5, -1}}, 30000, {10, 10, 10}},
        {"the first slides take the seconds left over", {{5, -1}, {5, -1}, {5, -1}}, 31600, {11, 11, 10}},
        {"rounded to the nearest second", {{5, -1}, {5, -1}}, 20499, {10, 10}},
        {"a held slide keeps its time and lasts as its sound",
         {{3, 7000}, {5, -1}, {5, -1}},
         27000,
         {3, 10, 10}},
        {"a held slide lasts its own time where its sound is shorter", {{9, 2000}, {5, -1}}, 20000, {9, 11}},
        {"music shorter than the held slides", {{3, 9000}, {5, -1}}, 4000, {3, 1}},
        {"at least one second", {{5, -1}, {5, -1}, {5, -1}}, 1000, {1, 1, 1}},
        {"at most 255 seconds", {{5, -1}}, 600000, {255}},
        {"only held slides", {{4, 1000}}, 60000, {4}},
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
