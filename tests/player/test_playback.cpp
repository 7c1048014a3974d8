// SPDX-License-Identifier: MIT
// The playback loop on the test clock: each slide's time scaled by the speed slider, the end of a
// show with and without loop, stepping and playing again while it runs, and the ways it ends.
#include "condition_wait.h"
#include "picture_ahead.h"
#include "viewer_fixture.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QPushButton>
#include <QThread>

#include <utility>

namespace {

testing::Environment* const environment = testing::AddGlobalTestEnvironment(new PlayerTestEnvironment);

using Playback = ViewerFixture;

TEST_F(Playback, EachSlideStaysForItsTimeScaledBySpeed) {
    struct Row {
        int speed;
        std::vector<qint64> times;
    } const rows[] = {{10, {0, 5000, 10000}}, {0, {0, 10000, 20000}}, {20, {0, 0, 0}}, {18, {0, 1000, 2000}}};
    addSlides(3, 5);
    openViewer();
    for (const Row& row : rows) {
        shown.clear();
        flags().CurrentSlide = 0;
        speed()->setValue(row.speed);
        const qint64 start = clock.nowMs();
        viewer->PlayShow();
        EXPECT_EQ(shownTimes(start), row.times) << "speed " << row.speed;
    }
}

TEST_F(Playback, TheTimeToPutASlideOnScreenCountsTowardsItsTime) {
    struct Row {
        qint64 displayMs;
        std::vector<qint64> times;
    } const rows[] = {{300, {0, 1000, 2000}}, {1500, {0, 1500, 3000}}};
    addSlides(3);
    openViewer();
    qint64 displayMs = 0;
    QObject::connect(viewer, &TshowFrm::slideShown, viewer, [&] { clock.advance(displayMs); });
    for (const Row& row : rows) {
        shown.clear();
        flags().CurrentSlide = 0;
        displayMs = row.displayMs;
        const qint64 start = clock.nowMs();
        viewer->PlayShow();
        EXPECT_EQ(shownTimes(start), row.times) << "display takes " << row.displayMs << " ms";
    }
}

TEST_F(Playback, TimeBetweenSlidesDoesNotAddUpUnlessItIsLong) {
    // Each slide comes that much late, but the next slide's time is shortened by it, so the show
    // keeps its pace; a long delay is not taken off the next slide.
    struct Row {
        qint64 betweenMs;
        std::vector<qint64> times;
    } const rows[] = {{30, {0, 1030, 2030}}, {100, {0, 1100, 2100}}, {400, {0, 1400, 2800}}};
    addSlides(3);
    openViewer();
    qint64 betweenMs = 0;
    // The slider moves to the next slide's number between the end of one slide and the next.
    QObject::connect(child<QSlider>("TrackBar2"), &QSlider::valueChanged, viewer,
                     [&] { clock.advance(betweenMs); });
    for (const Row& row : rows) {
        shown.clear();
        flags().CurrentSlide = 0;
        betweenMs = row.betweenMs;
        const qint64 start = clock.nowMs();
        viewer->PlayShow();
        betweenMs = 0;
        EXPECT_EQ(shownTimes(start), row.times) << row.betweenMs << " ms between slides";
    }
}

// A cross-fade is part of the next slide's time: the show keeps its time, also with a fade longer
// than a slide and with pictures whose decoding takes longer than the fade, which are decoded while
// the slide before them is on screen.
TEST_F(Playback, CrossFadesKeepTheShowsTime) {
    struct Row {
        int fadeMs;
        bool slowDecoding;
        bool reduceMotion = false; // the fade a cut
    } const rows[] = {{0, false}, {300, false}, {2000, false}, {300, true}, {300, false, true}};
    constexpr int Slides = 10, DecodingMs = 900;
    for (int i = 0; i < Slides; ++i)
        addSlide({.image = picture(qPrintable(QStringLiteral("s%1.png").arg(i)))});
    std::vector<qint64> everySecond;
    for (int i = 0; i < Slides; ++i)
        everySecond.push_back(i * 1000);
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << row.fadeMs << " ms fade" << (row.slowDecoding ? ", slow decoding" : ""));
        settings().CrossFade = row.fadeMs > 0;
        settings().CrossFadeTime = row.fadeMs;
        settings().ReduceMotion = row.reduceMotion ? QStringLiteral("On") : QStringLiteral("Off");
        openViewer();
        shown.clear();
        const qint64 start = clock.nowMs();
        if (row.slowDecoding) {
            // On the window's thread decoding takes the clock's time; on the decoding thread slide k's
            // picture is ready DecodingMs after slide k - 1 came on screen.
            setPictureDecoder([this, start](const QString& path, QSize box) {
                const int k = QFileInfo(path).baseName().mid(1).toInt();
                if (QThread::currentThread() == qApp->thread())
                    clock.advance(DecodingMs);
                const QDeadlineTimer deadline(ConditionWaitMs);
                while (clock.nowMs() < start + (k - 1) * 1000 + DecodingMs && !deadline.hasExpired())
                    QThread::msleep(1);
                return imaging::loadImageFile(path, box);
            });
        }
        viewer->PlayShow();
        setPictureDecoder({});
        EXPECT_EQ(shownTimes(start), everySecond);
        EXPECT_EQ(clock.nowMs() - start, Slides * 1000);
        for (std::size_t i = 1; i < shown.size(); ++i)
            EXPECT_EQ(shown[i].fading, row.fadeMs > 0 && !row.reduceMotion) << "slide " << i;
        viewer->close();
    }
}

// Half way through a fade the old and the new picture are mixed half and half.
TEST_F(Playback, ACrossFadeMixesThePictures) {
    addSlide({.image = writePicture(dir, QStringLiteral("red.png"), {64, 48}, Qt::red)});
    addSlide({.image = writePicture(dir, QStringLiteral("blue.png"), {64, 48}, Qt::blue)});
    settings().CrossFade = true;
    settings().CrossFadeTime = 1000;
    openViewer();
    QColor halfWay;
    clock.at(1500, [&] {
        // The blue picture is decoded on a thread of its own, late on a busy machine.
        waitForPicture();
        auto* area = child<QWidget>("Panel6");
        halfWay = area->grab().toImage().pixelColor(area->rect().center());
    });
    viewer->PlayShow();
    EXPECT_NEAR(halfWay.red(), 128, 3);
    EXPECT_EQ(halfWay.green(), 0);
    EXPECT_NEAR(halfWay.blue(), 128, 3);
}

// The keys of a presenter's clicker step and jump through the show as it plays, and the black screen
// leaves the show its time.
TEST_F(Playback, PresenterKeysWhilePlaying) {
    addSlides(5);
    openViewer();
    bool blankWhileShowing = false;
    clock.at(300, [this] { QTest::keyClick(viewer, Qt::Key_PageDown); });
    clock.at(600, [this] { QTest::keyClick(viewer, Qt::Key_PageUp); });
    clock.at(900, [this] {
        QTest::keyClick(viewer, Qt::Key_4);
        QTest::keyClick(viewer, Qt::Key_Return);
    });
    clock.at(1200, [this] { QTest::keyClick(viewer, Qt::Key_B); });
    clock.at(1950, [&] {
        blankWhileShowing = child<QWidget>("BlankScreen")->isVisible() && flags().CurrentSlide == 4;
        QTest::keyClick(viewer, Qt::Key_Period);
    });
    viewer->PlayShow();
    EXPECT_EQ(shownIndexes(), (std::vector<int>{0, 1, 0, 3, 4}));
    EXPECT_EQ(shownTimes(), (std::vector<qint64>{0, 300, 600, 900, 1900}));
    EXPECT_TRUE(blankWhileShowing);
    EXPECT_FALSE(child<QWidget>("BlankScreen")->isVisible());
    EXPECT_EQ(imageLabel(), QStringLiteral("&Image 5"));
}

TEST_F(Playback, WithoutLoopTheShowStopsOnItsLastSlide) {
    addSlides(3);
    openViewer();
    viewer->PlayShow();
    EXPECT_EQ(shownIndexes(), (std::vector<int>{0, 1, 2}));
    EXPECT_FALSE(flags().ShowPlaying);
    EXPECT_EQ(flags().CurrentSlide, 2);
    EXPECT_EQ(child<QSlider>("TrackBar2")->value(), 3);
    EXPECT_EQ(imageLabel(), QStringLiteral("&Image 3"));
    EXPECT_FALSE(button("SpeedButton2")->isChecked());
    EXPECT_TRUE(child<QPushButton>("Button1")->isEnabled());
    EXPECT_TRUE(child<QSlider>("TrackBar2")->isEnabled());
}

TEST_F(Playback, WithLoopTheShowGoesOnUntilStopped) {
    struct Row {
        int slides;
        std::vector<int> indexes;
    } const rows[] = {{3, {0, 1, 2, 0, 1}}, {1, {0, 0, 0, 0, 0}}};
    settings().LoopSlideShow = true;
    for (const Row& row : rows) {
        show().clear();
        addSlides(row.slides);
        openViewer();
        shown.clear();
        // Stop while the fifth slide is shown.
        clock.at(clock.nowMs() + 4500, [this] { QTest::mouseClick(button("SpeedButton3"), Qt::LeftButton); });
        viewer->PlayShow();
        EXPECT_EQ(shownIndexes(), row.indexes) << row.slides << " slides";
        EXPECT_FALSE(flags().ShowPlaying);
        viewer->close();
    }
}

TEST_F(Playback, PlayStartsFromTheSlideSteppedTo) {
    addSlides(4);
    openViewer();
    QTest::mouseClick(button("SpeedButton5"), Qt::LeftButton);
    QTest::mouseClick(button("SpeedButton5"), Qt::LeftButton);
    shown.clear();
    QTest::mouseClick(button("SpeedButton2"), Qt::LeftButton);
    EXPECT_EQ(shownIndexes(), (std::vector<int>{2, 3}));
}

TEST_F(Playback, StepsDuringTheTimeShowTheSlideStraightAway) {
    addSlides(4);
    openViewer();
    clock.at(300, [this] { QTest::mouseClick(button("SpeedButton5"), Qt::LeftButton); });
    clock.at(600, [this] { QTest::mouseClick(button("SpeedButton5"), Qt::LeftButton); });
    clock.at(900, [this] { QTest::mouseClick(button("SpeedButton1"), Qt::LeftButton); });
    viewer->PlayShow();
    EXPECT_EQ(shownIndexes(), (std::vector<int>{0, 1, 2, 1, 2, 3}));
    EXPECT_EQ(shownTimes(), (std::vector<qint64>{0, 300, 600, 900, 1900, 2900}));
}

// Steps asked for while a slide comes on screen, before its time begins: each is taken once, in
// order, and the slide they lead to comes at once and keeps its whole time.
TEST_F(Playback, StepsWhileASlideComesOnScreenAreAllTakenInOrder) {
    struct Row {
        std::vector<Qt::Key> keys;
        std::vector<int> indexes;
        std::vector<qint64> times;
    } const rows[] = {
        {{Qt::Key_PageDown}, {0, 1, 2, 3}, {0, 0, 1000, 2000}},
        {{Qt::Key_Right, Qt::Key_PageDown}, {0, 2, 3}, {0, 0, 1000}},
        {{Qt::Key_PageDown, Qt::Key_Left}, {0, 0, 1, 2, 3}, {0, 0, 1000, 2000, 3000}},
    };
    addSlides(4);
    openViewer();
    const std::vector<Qt::Key>* keys = nullptr;
    QObject::connect(viewer, &TshowFrm::slideShown, viewer, [&](int index) {
        if (index != 0 || !keys)
            return;
        for (Qt::Key key : *std::exchange(keys, nullptr))
            QTest::keyClick(viewer, key);
    });
    for (const Row& row : rows) {
        shown.clear();
        flags().CurrentSlide = 0;
        keys = &row.keys;
        const qint64 start = clock.nowMs();
        viewer->PlayShow();
        EXPECT_EQ(shownIndexes(), row.indexes) << row.keys.size() << " keys";
        EXPECT_EQ(shownTimes(start), row.times) << row.keys.size() << " keys";
    }
}

// A picture handed over by a later start while the show plays is played in its turn, and the
// slider and the count take it in.
TEST_F(Playback, APictureHandedOverWhileTheShowPlaysIsPlayedInItsTurn) {
    struct Row {
        bool loop;
        std::vector<int> indexes;
    } const rows[] = {{false, {0, 1, 2}}, {true, {0, 1, 2, 0, 1, 2}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.loop ? "loop" : "no loop");
        settings().LoopSlideShow = row.loop;
        show().clear();
        addSlides(2);
        openViewer();
        shown.clear();
        const qint64 start = clock.nowMs();
        clock.at(start + 1500, [this] { main().CopyDataReceived(picture("handed.png")); });
        // The picture handed over has the default time, 5 s.
        clock.at(start + 9500, [this] { viewer->SpeedButton3Click(); });
        viewer->PlayShow();
        clock.cancelPlanned();
        EXPECT_EQ(shownIndexes(), row.indexes);
        EXPECT_EQ(child<QSlider>("TrackBar2")->maximum(), 3);
        EXPECT_EQ(child<QLabel>("Label6")->text(), QStringLiteral("3"));
        viewer->close();
    }
}

TEST_F(Playback, PlayDuringPlayPlaysOnFromTheSlideAndOneStopEndsBoth) {
    settings().LoopSlideShow = true;
    addSlides(3);
    openViewer();
    int playsReturned = 0;
    clock.at(400, [&] {
        viewer->SpeedButton2Click();
        ++playsReturned;
    });
    clock.at(1500, [this] { QTest::mouseClick(button("SpeedButton3"), Qt::LeftButton); });
    viewer->PlayShow();
    ++playsReturned;
    EXPECT_EQ(playsReturned, 2);
    EXPECT_EQ(shownIndexes(), (std::vector<int>{0, 0, 1}));
    EXPECT_EQ(shownTimes(), (std::vector<qint64>{0, 400, 1400}));
    EXPECT_FALSE(button("SpeedButton2")->isChecked());
}

TEST_F(Playback, ControlsOfTheStoppedShowAreOffWhilePlaying) {
    addSlides(2);
    openViewer();
    std::vector<bool> enabled;
    clock.at(10, [&] {
        for (const char* name : {"Button1", "TrackBar1", "TrackBar2", "Label1", "Label4", "Label6"})
            enabled.push_back(viewer->findChild<QWidget*>(QLatin1String(name))->isEnabled());
        enabled.push_back(button("SpeedButton2")->isChecked());
    });
    viewer->PlayShow();
    EXPECT_EQ(enabled, (std::vector<bool>{false, false, false, false, false, false, true}));
}

TEST_F(Playback, ClosingTheViewerEndsTheShow) {
    settings().LoopSlideShow = true;
    addSlides(2);
    openViewer();
    clock.at(1500, [this] { viewer->close(); });
    viewer->PlayShow();
    EXPECT_EQ(shownIndexes(), (std::vector<int>{0, 1}));
    EXPECT_FALSE(viewer->isVisible());
    EXPECT_FALSE(flags().ShowPlaying);
}

// Closing during the putting on screen of a slide: the show ends there, before that slide's time.
TEST_F(Playback, AStopWhileASlideIsPutOnScreenEndsTheShowAtOnce) {
    settings().LoopSlideShow = true;
    addSlides(2, 100);
    openViewer();
    bool stopped = false;
    QObject::connect(viewer, &TshowFrm::slideShown, viewer, [&](int index) {
        if (index == 1 && !stopped) {
            stopped = true;
            QTimer::singleShot(0, viewer, [this] { viewer->close(); });
        }
    });
    const qint64 start = clock.nowMs();
    viewer->PlayShow();
    EXPECT_TRUE(stopped);
    EXPECT_EQ(clock.nowMs() - start, 100000) << "the slide put on screen did not wait its time";
}

TEST_F(Playback, ClosingTheProgramEndsTheShowAndWaitsOnNothing) {
    settings().LoopSlideShow = true;
    addSlides(2);
    main().BitBtn2Click();
    clock.at(2500, [this] { main().close(); });
    ASSERT_TRUE(QTest::qWaitFor([this] { return !shown.empty() && !flags().ShowPlaying; }, ConditionWaitMs));
    EXPECT_FALSE(viewer->isVisible());
    EXPECT_FALSE(main().isVisible());
}

// The program may go while a handler runs inside the show's wait; the loop then touches nothing of it.
TEST_F(Playback, WindowsDestroyedDuringTheWaitAreLeftAlone) {
    settings().LoopSlideShow = true;
    addSlides(2);
    openViewer();
    clock.at(500, [this] { windows.reset(); });
    QPointer<TshowFrm> gone(viewer);
    viewer->PlayShow();
    EXPECT_TRUE(gone.isNull());
}

// On the real clock: quitting the application ends the wait at once, and with it the show.
TEST_F(Playback, QuittingTheApplicationEndsTheShow) {
    setWaitClock(nullptr);
    settings().LoopSlideShow = true;
    addSlides(2, 60);
    openViewer();
    QObject::connect(viewer, &TshowFrm::slideShown, viewer,
                     [] { QTimer::singleShot(0, qApp, &QCoreApplication::quit); });
    QTimer::singleShot(0, viewer, [this] { viewer->PlayShow(); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_EQ(shownIndexes(), std::vector<int>{0});
    EXPECT_FALSE(flags().ShowPlaying);
    setWaitClock(&clock);
}

} // namespace
