// SPDX-License-Identifier: MIT
// The viewer on a machine with a laptop screen and a projector of twice the pixel density: full screen
// on the screen chosen in the settings, the controls and the pointer that hide while the mouse rests,
// and pictures decoded for the screen's own pixels.
#include "caption_band.h"
#include "condition_wait.h"
#include "pref_dialog.h"
#include "tphoto.h"
#include "viewer_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QWindow>

namespace {

testing::Environment* const environment = testing::AddGlobalTestEnvironment(new PlayerTestEnvironment(R"({
    "screens": [
        {"name": "laptop", "x": 0, "y": 0, "width": 800, "height": 600, "logicalDpi": 96, "dpr": 1},
        {"name": "projector", "x": 800, "y": 0, "width": 640, "height": 480, "logicalDpi": 96, "dpr": 2}
    ]
})"));

class Presenting : public ViewerFixture {
  protected:
    // The window system gives a window in full screen its screen's size a moment later.
    bool fillsItsScreen() {
        return QTest::qWaitFor([this] { return viewer->geometry() == viewer->screen()->geometry(); },
                               ConditionWaitMs);
    }
};

TEST_F(Presenting, TheViewerOpensOnTheChosenScreen) {
    struct Row {
        bool fullScreen;
        const char* chosen;
        const char* screen;
    } const rows[] = {
        {true, "", "laptop"}, // none chosen: the main window's
        {true, "projector", "projector"},
        {true, "unplugged", "laptop"},
        {false, "projector", "projector"},
    };
    addSlides(2);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.chosen);
        settings().FullScreen = row.fullScreen;
        settings().ViewerScreen = QLatin1String(row.chosen);
        main().Slideshow1Click(); // the place asked for, before the window system moves it
        EXPECT_EQ(viewer->isFullScreen(), row.fullScreen);
        EXPECT_EQ(viewer->screen()->name(), QLatin1String(row.screen));
        if (row.fullScreen)
            EXPECT_TRUE(fillsItsScreen());
        else
            EXPECT_TRUE(viewer->screen()->geometry().contains(viewer->geometry()));
        EXPECT_EQ(child<QWidget>("Panel4")->isVisible(), !row.fullScreen) << "margins";
        viewer->close();
        EXPECT_FALSE(viewer->isFullScreen());
    }
}

// The screen chosen in the program's preferences is where the viewer opens.
TEST_F(Presenting, TheScreenIsChosenInThePreferences) {
    TprefFrm* preferences = windows->prefFrm;
    whenModal(preferences, [preferences] {
        preferences->findChild<QCheckBox*>("FullScreenBox")->setChecked(true);
        auto* screens = preferences->findChild<QComboBox*>("ScreenBox");
        screens->setCurrentIndex(screens->findData(QStringLiteral("projector")));
        QTest::mouseClick(preferences->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    });
    main().Preferences1Click();
    EXPECT_EQ(settings().ViewerScreen, QStringLiteral("projector"));
    addSlides(1);
    openViewer();
    EXPECT_TRUE(fillsItsScreen());
    EXPECT_EQ(viewer->screen()->name(), QStringLiteral("projector"));
}

// The controls and the pointer go after two seconds without mouse movement and come back with it; a
// slide's caption is on a band over the bottom of the picture and stays, being part of the show, and
// no caption area is shown. Around the picture the screen is black. Back in the window the caption is
// in its box again.
TEST_F(Presenting, TheControlsHideWhileTheMouseRests) {
    addSlide({.image = picture("wide.png", {400, 100})});
    addSlide({.image = picture("full.png", {800, 600}),
              .showText = true,
              .text = QStringLiteral("Harbour at dusk")});
    openViewer();
    QTest::keyClick(viewer, Qt::Key_F11);
    ASSERT_TRUE(viewer->isFullScreen());
    ASSERT_TRUE(fillsItsScreen());
    waitForPicture(); // decoded again for the screen
    auto* band = child<CaptionBandView>("CaptionBand");
    const auto shown = [this, band] {
        return std::vector<bool>{child<QWidget>("Panel3")->isVisible(), band->isVisible(),
                                 viewer->cursor().shape() != Qt::BlankCursor};
    };
    const std::vector<bool> all{true, false, true}, none{false, false, false};
    bool interrupt = false;
    EXPECT_EQ(shown(), all);
    EXPECT_FALSE(child<QWidget>("Panel1")->isVisible());
    WaitPumping(TshowFrm::ControlsIdleMs - 1, interrupt);
    EXPECT_EQ(shown(), all);
    WaitPumping(1, interrupt);
    EXPECT_EQ(shown(), none);

    // The 400 x 100 picture fills 800 x 200 in the middle of the 800 x 600 screen.
    const QImage screen = viewer->grab().toImage();
    ASSERT_EQ(screen.size(), QSize(800, 600));
    int notBlack = 0;
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x)
            notBlack += (y < 200 || y >= 400) && QColor(screen.pixel(x, y)) != Qt::black ? 1 : 0;
    EXPECT_EQ(notBlack, 0);
    EXPECT_EQ(QColor(screen.pixel(400, 300)), QColor(Qt::darkCyan));

    QTest::mouseMove(viewer->windowHandle(), QPoint(400, 100));
    EXPECT_EQ(shown(), all);
    QTest::keyClick(viewer, Qt::Key_Right);
    waitForPicture();
    WaitPumping(TshowFrm::ControlsIdleMs, interrupt);
    EXPECT_EQ(shown(), (std::vector<bool>{false, true, false})) << "the caption stays";
    EXPECT_FALSE(child<QWidget>("Panel1")->isVisible());
    EXPECT_EQ(child<QPlainTextEdit>("Memo1")->toPlainText(), QStringLiteral("Harbour at dusk"));
    // On the picture's bottom, the whole width of the screen, above the screen's bottom edge.
    const QRect onScreen = band->bandRect().translated(band->mapTo(viewer, QPoint()));
    EXPECT_EQ(onScreen.width(), 800);
    EXPECT_GT(onScreen.height(), 0);
    EXPECT_LE(onScreen.bottom(), 599);
    QTest::mouseMove(viewer->windowHandle(), QPoint(400, 120));
    const int controls = child<QWidget>("Panel3")->geometry().top();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return band->bandRect().translated(band->mapTo(viewer, QPoint())).bottom() < controls; },
        ConditionWaitMs))
        << "the band above the controls while they show";

    QTest::keyClick(viewer, Qt::Key_Escape);
    EXPECT_FALSE(viewer->isFullScreen());
    EXPECT_TRUE(child<QWidget>("Panel1")->isVisible());
    EXPECT_FALSE(band->isVisible());
    EXPECT_EQ(child<QWidget>("Panel1")->parentWidget(), child<QSplitter>("Splitter1")) << "back in its place";
}

// Also when the window is moved to a screen of another density.
TEST_F(Presenting, PicturesAreDecodedForTheScreensPixels) {
    addSlide({.image = picture("photo.jpg", {1600, 1200})});
    auto* photo = child<TPhoto>("Photo10");
    const auto decodedFor = [&](qreal ratio) {
        return viewer->devicePixelRatioF() == ratio && photo->IWidth() == 1600 &&
               photo->image().size() == TPhoto::scaledPixels({1600, 1200}, photo->size(), ratio);
    };
    settings().FullScreen = true;
    for (const char* screen : {"laptop", "projector"}) {
        settings().ViewerScreen = QLatin1String(screen);
        openViewer();
        ASSERT_TRUE(fillsItsScreen());
        EXPECT_TRUE(decodedFor(QLatin1String(screen) == QLatin1String("laptop") ? 1 : 2)) << screen;
        viewer->close();
    }
    settings().FullScreen = false;
    settings().ViewerScreen = QStringLiteral("laptop");
    openViewer();
    EXPECT_TRUE(decodedFor(1));
    QScreen* projector = QGuiApplication::screens().back();
    viewer->windowHandle()->setScreen(projector);
    viewer->move(projector->geometry().topLeft() + QPoint(10, 10));
    EXPECT_TRUE(QTest::qWaitFor([&] { return decodedFor(2); }, ConditionWaitMs));
}

} // namespace
