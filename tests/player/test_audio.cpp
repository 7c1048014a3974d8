// SPDX-License-Identifier: MIT
// Slide audio through the real media device while a show plays on the test clock. The sound itself
// runs in real time, so a test that needs it to have got somewhere waits for that, never for a time.
#include "show_extension.h"
#include "show_music.h"
#include "viewer_fixture.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

namespace {

testing::Environment* const environment = testing::AddGlobalTestEnvironment(new PlayerTestEnvironment);

constexpr int SoundTimeoutMs = 30000;

class Audio : public ViewerFixture {
  protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        longSound = wav("long.wav", 4000);
    }
    // Waits in real time until the sound has played at least `ms`.
    bool soundReaches(qint64 ms) {
        return QTest::qWaitFor([&] { return media().isPlaying() && media().position() >= ms; },
                               SoundTimeoutMs);
    }
    bool soundEnds() {
        return QTest::qWaitFor([&] { return !media().isPlaying(); }, SoundTimeoutMs);
    }
    QString damagedSound() {
        QFile file(dir.filePath(QStringLiteral("damaged.wav")));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4000, '\x33'));
        return file.fileName();
    }
    QString longSound;
};

TEST_F(Audio, SoundPlaysOnAcrossSlidesWithoutAudioAndStartsAgainOnTheSameFile) {
    addSlide({.audio = longSound});
    addSlide({});
    addSlide({.audio = QStringLiteral("   ")}); // blanks only: no audio
    addSlide({.audio = longSound});
    openViewer();
    // While slide 2 is up the sound gets some way, so that a fresh start shows.
    clock.at(1001, [this] { EXPECT_TRUE(soundReaches(300)); });
    viewer->PlayShow();
    ASSERT_EQ(shownIndexes(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_TRUE(shown[1].soundPlaying);
    EXPECT_TRUE(shown[2].soundPlaying);
    EXPECT_GE(shown[2].soundPosition, 300);
    EXPECT_FALSE(media().isPlaying()) << "the end of a show without loop stops the sound";
}

// The show's music plays from the first slide on through a device of its own, at a quarter of its
// loudness while a slide's sound plays, and fades out over the fade time before the show's end; a
// file that cannot be played is passed over.
TEST_F(Audio, MusicPlaysUnderTheShowQuieterUnderASlidesSoundAndFadesOutBeforeItsEnd) {
    addSlide({.audio = wav("blip.wav", 1200)});
    addSlide({});
    addSlide({.delay = 4});
    QJsonObject data = ShowExtension::withMusic({}, {dir.filePath("gone.ogg"), longSound});
    data.insert("musicFadeMs", 2000);
    show().load({show().slide(0), show().slide(1), show().slide(2)}, data);
    openViewer();
    MediaDevice& music = viewer->musicPlayer();
    const auto volumeReaches = [&music](qreal volume) {
        return QTest::qWaitFor([&] { return music.isPlaying() && qAbs(music.volume() - volume) < 0.05; },
                               SoundTimeoutMs);
    };
    // The show of 6 seconds fades its music from the 4th on.
    clock.at(500, [&] { EXPECT_TRUE(media().isPlaying() && volumeReaches(ShowMusic::DuckedVolume)); });
    clock.at(3000, [&] { EXPECT_TRUE(soundEnds() && volumeReaches(1.0)); });
    clock.at(5000, [&] { EXPECT_TRUE(volumeReaches(0.5)); });
    viewer->PlayShow();
    ASSERT_EQ(shownIndexes(), (std::vector<int>{0, 1, 2}));
    EXPECT_FALSE(music.isPlaying()) << "the end of the show ends its music";
}

// A show played from a later slide, or moved to another while it plays, takes its music up where it
// stands at that slide's start: the slides' times before it, over the files one after another,
// those that cannot be played taking no time and named in the status line beside the controls.
TEST_F(Audio, MusicTakesUpWhereTheShowStandsAtTheSlideItStartsOrJumpsTo) {
    addSlides(4);
    const QString gone = dir.filePath("gone.ogg");
    show().setShowData(ShowExtension::withMusic({}, {gone, wav("first.wav", 1500), longSound}));
    openViewer();
    MediaDevice& music = viewer->musicPlayer();
    QLabel* status = child<QLabel>("StatusLine");
    ASSERT_TRUE(status);
    EXPECT_FALSE(status->isVisible());
    // The file that plays and how far into it, once its sound is under way.
    const auto playsAt = [&](qint64 length, qint64 from) {
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return music.isPlaying() && music.position() > 0; }, SoundTimeoutMs));
        EXPECT_NEAR(music.length(), length, 50);
        EXPECT_GE(music.position(), from);
        EXPECT_LT(music.position(), music.length());
    };
    const struct {
        int startAt;   // the slide the show starts playing at
        int jumpTo;    // the slide the End key moves to half-way through the first one; -1 none
        qint64 length; // the music file then playing
        qint64 from;   // and the moment in it the music started at
    } rows[] = {{2, -1, 4000, 500}, {0, 3, 4000, 1500}, {1, -1, 1500, 1000}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.startAt);
        child<QSlider>("TrackBar2")->setValue(row.startAt + 1);
        const qint64 start = clock.nowMs();
        if (row.jumpTo >= 0) {
            clock.at(start + 500, [this] { QTest::keyClick(viewer, Qt::Key_End); });
            clock.at(start + 1000, [&] { playsAt(row.length, row.from); });
        } else {
            clock.at(start + 500, [&] { playsAt(row.length, row.from); });
        }
        viewer->PlayShow();
        ASSERT_TRUE(viewer);
        clock.cancelPlanned();
    }
    EXPECT_TRUE(status->isVisible());
    EXPECT_EQ(status->text(), "Music left out: gone.ogg");
}

TEST_F(Audio, TheSameFileStartsAgainFromItsBeginning) {
    addSlide({.audio = longSound});
    addSlide({.audio = longSound});
    openViewer();
    // The sound gets far enough on slide 1 that a fresh start shows even when the machine is slow
    // between the start on slide 2 and the look at its position.
    qint64 positionOnSlide2 = -1;
    clock.at(500, [this] { EXPECT_TRUE(soundReaches(2000)); });
    clock.at(1001, [&] { positionOnSlide2 = media().position(); });
    viewer->PlayShow();
    EXPECT_GE(positionOnSlide2, 0);
    EXPECT_LT(positionOnSlide2, 2000);
}

TEST_F(Audio, AHeldSlideStaysUntilItsSoundHasEnded) {
    // Long enough to outlast the slide's own time, which passes at once on the test clock, also on a
    // slow machine.
    addSlide({.audio = wav("held.wav", 2500), .hold = true});
    addSlide({});
    openViewer();
    viewer->PlayShow();
    ASSERT_EQ(shownIndexes(), (std::vector<int>{0, 1}));
    EXPECT_EQ(shown[1].soundPosition, media().length()) << "the next slide came at the end of the sound";
    EXPECT_GT(media().length(), 0);
    EXPECT_GT(shown[1].atMs, 1000) << "the hold went on after the slide's own time";
}

TEST_F(Audio, AHeldSlideWhoseSoundIsShorterStaysForItsOwnTime) {
    addSlide({.delay = 5, .audio = wav("short.wav", 300), .hold = true});
    addSlide({});
    openViewer();
    clock.at(1, [this] { EXPECT_TRUE(soundEnds()); });
    viewer->PlayShow();
    EXPECT_EQ(shownTimes(), (std::vector<qint64>{0, 5000}));
}

TEST_F(Audio, ASlideWithoutHoldDoesNotWaitForItsSound) {
    addSlide({.audio = longSound});
    addSlide({});
    openViewer();
    viewer->PlayShow();
    EXPECT_EQ(shownTimes(), (std::vector<qint64>{0, 1000}));
    EXPECT_TRUE(shown[1].soundPlaying);
}

// A hold ends at once on stop, previous, next (buttons or a presenter's keys) or close, and the show
// goes on as that control says.
TEST_F(Audio, ControlsEndAHoldAtOnce) {
    struct Row {
        const char* control;
        std::vector<int> indexes;
        bool soundOnThirdSlide; // moving to a slide that holds for its sound stops the sound
        std::vector<Qt::Key> keys = {};
    } const rows[] = {
        {"SpeedButton3", {0, 1}, false},
        {"close", {0, 1}, false},
        {"SpeedButton5", {0, 1, 2}, false},
        {"SpeedButton1", {0, 1, 0}, true},
        {"Page Down", {0, 1, 2}, false, {Qt::Key_PageDown}},
        {"Page Up", {0, 1, 0}, true, {Qt::Key_PageUp}},
        {"3 and Enter", {0, 1, 2}, false, {Qt::Key_3, Qt::Key_Return}},
    };
    for (const Row& row : rows) {
        show().clear();
        addSlide({});
        addSlide({.audio = longSound, .hold = true});
        addSlide({.audio = longSound, .hold = true});
        openViewer();
        shown.clear();
        clock.cancelPlanned();
        const QString control = QLatin1String(row.control);
        // Slide 2's time ends 2000 ms after the start; its hold's first pause moves the clock on by 1.
        const qint64 inHold = clock.nowMs() + 2001;
        bool holding = false;
        clock.at(inHold, [&] {
            holding = media().isPlaying() && flags().CurrentSlide == 1;
            for (const Qt::Key key : row.keys)
                QTest::keyClick(viewer, key);
            if (control == QLatin1String("close"))
                viewer->close();
            else if (row.keys.empty())
                QTest::mouseClick(button(row.control), Qt::LeftButton);
        });
        clock.at(inHold + 1, [this] { viewer->SpeedButton3Click(); });
        viewer->PlayShow();
        EXPECT_TRUE(holding) << row.control;
        EXPECT_EQ(shownIndexes(), row.indexes) << row.control;
        if (shown.size() == 3) {
            EXPECT_EQ(shown[2].atMs, inHold) << row.control << ": shown at once";
            EXPECT_EQ(shown[2].soundPlaying, row.soundOnThirdSlide) << row.control;
        } else {
            EXPECT_FALSE(media().isPlaying()) << row.control;
            EXPECT_EQ(clock.nowMs(), inHold) << row.control << ": the hold ended at once";
        }
        viewer->close();
    }
}

// Stop or close while the slide's sound is being opened: the sound does not start once it is open,
// and the stopped show does not go on to the next slide unseen.
TEST_F(Audio, AStopWhileTheSoundOpensStartsNoSoundAndEndsTheShowThere) {
    for (const bool close : {false, true}) {
        SCOPED_TRACE(close ? "close" : "stop");
        show().clear();
        addSlide({.audio = longSound});
        addSlide({});
        openViewer();
        bool stoppedWhileOpening = false;
        const auto connection = QObject::connect(viewer, &TshowFrm::slideShown, viewer, [&] {
            QTimer::singleShot(0, viewer, [&] {
                stoppedWhileOpening = !media().isOpen();
                close ? (void)viewer->close() : QTest::mouseClick(button("SpeedButton3"), Qt::LeftButton);
            });
        });
        viewer->PlayShow();
        QObject::disconnect(connection);
        ASSERT_TRUE(stoppedWhileOpening) << "the stop came after the sound had opened";
        EXPECT_FALSE(media().isPlaying());
        EXPECT_EQ(shownIndexes().back(), 0);
        EXPECT_EQ(flags().CurrentSlide, 0);
        EXPECT_EQ(imageLabel(), QStringLiteral("&Image 1"));
        shown.clear();
        viewer->close();
    }
}

TEST_F(Audio, SteppingWhileStoppedPlaysNothing) {
    addSlide({});
    addSlide({.audio = longSound});
    addSlide({.audio = longSound, .hold = true});
    openViewer();
    QTest::mouseClick(button("SpeedButton5"), Qt::LeftButton);
    QTest::mouseClick(button("SpeedButton5"), Qt::LeftButton);
    child<QSlider>("TrackBar2")->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(shownIndexes(), (std::vector<int>{1, 2, 0}));
    EXPECT_FALSE(media().isOpen());
}

TEST_F(Audio, AFileThatCannotBeOpenedEndsTheEarlierSoundAndNeverHoldsOrAsks) {
    addSlide({.audio = longSound});
    addSlide({.audio = damagedSound(), .hold = true});
    addSlide({.audio = dir.filePath(QStringLiteral("missing.wav")), .hold = true});
    openViewer();
    QWidget* modal = nullptr;
    clock.at(1500, [&] { modal = QApplication::activeModalWidget(); });
    viewer->PlayShow();
    EXPECT_EQ(shownTimes(), (std::vector<qint64>{0, 1000, 2000}));
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_TRUE(shown[1].soundPlaying) << "the first slide's sound played";
    EXPECT_FALSE(shown[2].soundPlaying) << "the damaged file ended the earlier sound";
    EXPECT_EQ(modal, nullptr);
}

// The sample show, copied elsewhere: its pictures and its chime are found next to it, and its last
// slide stays until the chime has played.
TEST_F(Audio, TheSampleShowPlaysWithItsChimeFromAnyFolder) {
    const QDir samples(QStringLiteral(VERASCO_SOURCE_DIR "/packaging/samples"));
    for (const QString& name : samples.entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(samples.filePath(name), dir.filePath(name))) << name.toStdString();
    main().processCommandLine({dir.filePath(QStringLiteral("sample.vrs"))});
    ASSERT_EQ(show().SlideCount, 7);
    const TSlideRecord& last = show().slide(6);
    EXPECT_EQ(QFile::decodeName(QByteArray::fromStdString(last.AudioFile.str())),
              dir.filePath(QStringLiteral("chime.wav")));
    speed()->setValue(20);
    openViewer();
    viewer->PlayShow();
    EXPECT_EQ(shownIndexes(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_NEAR(media().length(), 1600, 20) << "the chime was opened";
    EXPECT_FALSE(media().isPlaying()) << "and held the last slide until it ended";
    EXPECT_GT(clock.nowMs(), 0) << "the hold paused while the chime played";
}

} // namespace
