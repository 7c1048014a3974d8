// SPDX-License-Identifier: MIT
// The viewer window through the program: how a show starts and what happens to the main window,
// its size rules, how a slide's picture and caption are shown, stepping while stopped, the
// preferences, and the keys of a presenter.
#include "appearance.h"
#include "caption_band.h"
#include "condition_wait.h"
#include "confirm_dialog.h"
#include "frame_fill.h"
#include "help_sections.h"
#include "motion_view.h"
#include "ovc_simple_field.h"
#include "ovc_table.h"
#include "picture_ahead.h"
#include "picture_place.h"
#include "pref_dialog.h"
#include "show_extension.h"
#include "show_look.h"
#include "show_motion.h"
#include "stored_font.h"
#include "test_pictures.h"
#include "tphoto.h"
#include "viewer_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QJsonObject>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>

#include <atomic>
#include <future>
#include <map>
#include <mutex>

namespace {

testing::Environment* const environment = testing::AddGlobalTestEnvironment(new PlayerTestEnvironment);

using Viewer = ViewerFixture;

TEST_F(Viewer, ThePlayButtonOpensTheViewerAndPlaysShortlyAfter) {
    addSlides(2);
    QTest::mouseClick(main().findChild<QPushButton*>("BitBtn2"), Qt::LeftButton);
    ASSERT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->windowTitle(), QStringLiteral("Verasco Viewer"));
    EXPECT_TRUE(child<QTimer>("Timer1")->isActive());
    EXPECT_FALSE(flags().ShowPlaying);
    EXPECT_EQ(imageLabel(), QStringLiteral("&Image 1"));
    EXPECT_EQ(child<QLabel>("Label6")->text(), QStringLiteral("2"));
    EXPECT_EQ(child<QSlider>("TrackBar2")->maximum(), 2);
    EXPECT_FALSE(main().centralWidget()->isEnabled()) << "the main window takes no input";
    EXPECT_TRUE(main().findChild<QWidget*>("OvcTable2")->window() == &main());
    ASSERT_TRUE(
        QTest::qWaitFor([this] { return shown.size() == 2 && !flags().ShowPlaying; }, ConditionWaitMs));
    viewer->close();
    EXPECT_TRUE(main().centralWidget()->isEnabled());
}

TEST_F(Viewer, TheMenuOpensTheViewerWithoutPlayingAndAnEmptyShowOpensNothing) {
    main().Slideshow1Click();
    EXPECT_FALSE(viewer->isVisible());
    addSlides(2);
    settings().HideEditor = true;
    main().show();
    openViewer();
    EXPECT_FALSE(child<QTimer>("Timer1")->isActive());
    EXPECT_FALSE(main().isVisible()) << "hidden while the viewer is open";
    viewer->close();
    EXPECT_TRUE(main().isVisible());
}

TEST_F(Viewer, TheControlStripFollowsTheSwitchAndTheFocusAvoidsTheCaption) {
    addSlides(1);
    for (const bool controls : {true, false}) {
        settings().ShowSlideControls = controls;
        openViewer();
        viewer->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(viewer, ConditionWaitMs));
        EXPECT_EQ(child<QWidget>("Panel3")->isVisible(), controls);
        QWidget* expected = child<QWidget>(controls ? "Panel7" : "Panel6");
        child<QWidget>("Memo1")->setFocus();
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == expected; }, ConditionWaitMs))
            << controls;
        viewer->close();
    }
}

TEST_F(Viewer, TheWindowKeepsItsMinimumSize) {
    addSlides(1);
    openViewer();
    EXPECT_EQ(viewer->size(), QSize(582, 453));
    viewer->resize(200, 100);
    QCoreApplication::processEvents();
    EXPECT_GE(viewer->width(), 364);
    EXPECT_GE(viewer->height(), 300);
}

// A picture smaller than the image area both ways is shown at its own size, centred; one that
// reaches the area's width or height is scaled to the whole area.
TEST_F(Viewer, PicturesSmallerThanTheAreaKeepTheirOwnSize) {
    addSlides(1);
    openViewer();
    const QRect area = child<QWidget>("Panel6")->contentsRect();
    struct Row {
        QSize picture;
        bool ownSize;
    } const rows[] = {{area.size() - QSize(1, 1), true},
                      {{area.width(), area.height() - 1}, false},
                      {{area.width() - 1, area.height()}, false},
                      {{40, 10}, true}};
    auto* photo = child<TPhoto>("Photo10");
    for (const Row& row : rows) {
        const QString name = QStringLiteral("p%1x%2.png").arg(row.picture.width()).arg(row.picture.height());
        const QString path = writePicture(dir, name, row.picture);
        test_shows::edit(show(), 0,
                         [&](TSlideRecord& r) { r.ImageFile.assign(QFile::encodeName(path).toStdString()); });
        viewer->ShowCurrentSlide();
        waitForPicture();
        EXPECT_EQ(photo->AutoSize(), row.ownSize ? TPhoto::AutoSizeOwnSize : TPhoto::AutoSizeScaled)
            << name.toStdString();
        if (row.ownSize) {
            EXPECT_EQ(photo->size(), row.picture) << name.toStdString();
            EXPECT_LE((photo->geometry().center() - area.center()).manhattanLength(), 2)
                << name.toStdString();
        } else {
            EXPECT_EQ(photo->geometry(), area) << name.toStdString();
        }
        EXPECT_TRUE(photo->isVisible());
    }
    // A photograph stored on its side is shown upright, at its upright size.
    const QString turned = writePicture(dir, QStringLiteral("turned.jpg"), {60, 200});
    if (!test_pictures::tagOrientation(turned, 6))
        GTEST_SKIP() << "exiftool (libimage-exiftool-perl) is not installed";
    test_shows::edit(show(), 0,
                     [&](TSlideRecord& r) { r.ImageFile.assign(QFile::encodeName(turned).toStdString()); });
    viewer->ShowCurrentSlide();
    waitForPicture();
    EXPECT_EQ(photo->AutoSize(), TPhoto::AutoSizeOwnSize);
    EXPECT_EQ(photo->size(), QSize(200, 60));
}

TEST_F(Viewer, CaptionsShowInTheSlidesFontAndBlankSlidesShowNoPicture) {
    addSlide({.image = QStringLiteral("BLANK"),
              .showText = true,
              .text = QStringLiteral("  \tA quiet evening \r\n")},
             [](TSlideRecord& r) {
                 r.FontName.assign("DejaVu Sans");
                 r.FontSize = 14;
                 r.FontStyle = FontBold | FontItalic;
                 r.FontColor = 0x000000FF; // red
             });
    addSlide({.showText = false, .text = QStringLiteral("hidden")});
    openViewer();
    auto* memo = child<QPlainTextEdit>("Memo1");
    EXPECT_FALSE(child<TPhoto>("Photo10")->isVisible());
    EXPECT_TRUE(memo->isVisible());
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("A quiet evening"));
    EXPECT_EQ(memo->font().pointSize(), 14);
    EXPECT_TRUE(memo->font().bold());
    EXPECT_TRUE(memo->font().italic());
    EXPECT_EQ(memo->palette().color(QPalette::Text), QColor(255, 0, 0));

    QTest::mouseClick(button("SpeedButton5"), Qt::LeftButton);
    waitForPicture();
    EXPECT_TRUE(child<TPhoto>("Photo10")->isVisible());
    EXPECT_FALSE(memo->isVisible());
    EXPECT_TRUE(child<QWidget>("Panel1")->isVisible()) << "the caption area stays as an empty strip";
}

// The caption box shows the slide's colours readably in a dark and in a light appearance, also when
// the appearance changes while the slide is on screen.
TEST_F(Viewer, CaptionsReadInTheirBoxInEveryAppearance) {
    struct Row {
        const char* appearance;
        std::uint32_t colour;
    } const rows[] = {
        {"Dark", 0x00000000u}, {"Dark", 0x00FFFFFFu},  {"Dark", 0x80000008u},  // default, white, window text
        {"Light", 0u},         {"Light", 0x00FFFFFFu}, {"Light", 0x000000FFu}, // default, white, red
    };
    for (const Row& row : rows)
        addSlide({.showText = true, .text = QStringLiteral("caption")},
                 [&](TSlideRecord& r) { r.FontColor = std::int32_t(row.colour); });
    auto* memo = child<QPlainTextEdit>("Memo1");
    for (int i = 0; i < int(std::size(rows)); ++i) {
        SCOPED_TRACE(i);
        const bool dark = QLatin1String(rows[i].appearance) == QLatin1String("Dark");
        const QPalette look = dark ? darkPalette() : lightPalette();
        viewer->StartShow(false, i);
        applyAppearance(QLatin1String(rows[i].appearance));
        ASSERT_TRUE(QTest::qWaitFor([&] { return viewer->palette() == look; }, ConditionWaitMs));
        const QPalette colours = memo->palette();
        EXPECT_EQ(colours.color(QPalette::Text), storedColor(std::int32_t(rows[i].colour), look));
        EXPECT_GE(contrastRatio(colours.color(QPalette::Text), colours.color(QPalette::Base)),
                  ReadableContrast);
    }
    EXPECT_EQ(memo->palette().color(QPalette::Base), lightPalette().color(QPalette::Base))
        << "a caption that reads on the appearance's own box keeps it";
    applyAppearance(QStringLiteral("System"));
}

// Where the show asks for it, the window draws the caption on a dark band over the bottom of the
// picture instead of the caption box, and follows a change of the show's caption style at once. The
// band's text is sized from the area's height and made smaller until it fits: nothing of it is cut.
// A caption too long for the box makes the box grow, so no scroll bar hides part of it.
TEST_F(Viewer, CaptionsOnABandOverThePictureOrInABoxThatFitsThem) {
    const QString caption =
        QString(QStringLiteral("A long evening walk along the harbour wall. ")).repeated(5);
    addSlide({.image = picture("wide.png", {400, 300}), .showText = true, .text = caption},
             [](TSlideRecord& r) {
                 r.FontName.assign("DejaVu Sans");
                 r.FontSize = 14;
             });
    show().setShowData(ShowExtension::withCaptions({}, ShowExtension::Captions::Band));
    openViewer();
    auto* band = child<CaptionBandView>("CaptionBand");
    auto* memo = child<QPlainTextEdit>("Memo1");
    const QRect area = child<QWidget>("Panel6")->contentsRect();
    EXPECT_TRUE(band->isVisible());
    EXPECT_FALSE(child<QWidget>("Panel1")->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !band->bandRect().isEmpty(); }, ConditionWaitMs));
    EXPECT_EQ(band->bandRect().width(), area.width());
    EXPECT_GE(band->bandRect().top(), area.top());
    EXPECT_LE(band->bandRect().bottom(), area.bottom());
    // The show's captions at the top: the band lies on the picture's top edge.
    show().setShowData(ShowLook::withOwn(ShowExtension::withCaptions({}, ShowExtension::Captions::Band),
                                         {{}, {}, ShowLook::CaptionPlace::Top}));
    const int top = ShowRules::placePicture(400, 300, {area.x(), area.y(), area.width(), area.height()}).y;
    EXPECT_TRUE(QTest::qWaitFor([&] { return band->bandRect().top() == top; }, ConditionWaitMs))
        << band->bandRect().top() << " against " << top;

    // A caption far too long for a small picture still fits it whole, however large the screen.
    QImage frame(200, 60, QImage::Format_RGB32);
    QPainter painter(&frame);
    const QRect drawn = CaptionBand::draw(painter, frame.rect(), caption, memo->font(), Qt::white, 2160);
    EXPECT_TRUE(frame.rect().contains(drawn));
    EXPECT_GT(drawn.height(), 0);

    show().setShowData({});
    EXPECT_FALSE(band->isVisible());
    EXPECT_TRUE(memo->isVisible());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return child<QWidget>("Panel1")->height() > TshowFrm::CaptionHeight &&
                   memo->verticalScrollBar()->maximum() == 0;
        },
        ConditionWaitMs))
        << "the whole caption is in view: " << child<QWidget>("Panel1")->height() << " "
        << memo->verticalScrollBar()->maximum();
}

// A show saved on Windows: its caption and font name in that system's code page, and a picture on a
// drive that is not there, which keeps its place as a picture marked missing.
TEST_F(Viewer, CaptionsOfAShowSavedOnWindowsAndMissingPicturesShowAsSuch) {
    addSlide({.image = QStringLiteral("/no/such/drive/Harbour.jpg"), .showText = true}, [](TSlideRecord& r) {
        r.Text.assign("Caf\xe9 cr\xe8me \x80 5");
        r.FontName.assign("Caf\xe9 Sans");
    });
    openViewer();
    auto* photo = child<TPhoto>("Photo10");
    EXPECT_EQ(child<QPlainTextEdit>("Memo1")->toPlainText(), QStringLiteral("Caf\u00e9 cr\u00e8me \u20ac 5"));
    EXPECT_EQ(child<QPlainTextEdit>("Memo1")->font().family(), QStringLiteral("Caf\u00e9 Sans"));
    EXPECT_TRUE(photo->isVisible());
    EXPECT_EQ(photo->FXError(), 0);
    EXPECT_EQ(photo->geometry(), child<QWidget>("Panel6")->contentsRect());
    EXPECT_EQ(QColor(photo->image().pixel(2, 2)), QColor(192, 192, 192))
        << "grey, with the name and \"missing\"";
    const QImage picture = photo->image();
    int written = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            written += picture.pixel(x, y) != picture.pixel(2, 2) ? 1 : 0;
    EXPECT_GT(written, 0);
}

TEST_F(Viewer, SteppingAtTheEndsShowsTheSameSlideAgain) {
    addSlides(3);
    openViewer();
    QTest::mouseClick(button("SpeedButton1"), Qt::LeftButton);
    EXPECT_EQ(flags().CurrentSlide, 0);
    QTest::mouseClick(button("SpeedButton5"), Qt::LeftButton);
    QTest::mouseClick(button("SpeedButton5"), Qt::LeftButton);
    QTest::mouseClick(button("SpeedButton5"), Qt::LeftButton);
    EXPECT_EQ(shownIndexes(), (std::vector<int>{0, 1, 2, 2}));
    EXPECT_EQ(imageLabel(), QStringLiteral("&Image 3"));
    child<QSlider>("TrackBar2")->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(flags().CurrentSlide, 1);
    EXPECT_EQ(imageLabel(), QStringLiteral("&Image 2"));
}

// Steps that come faster than the pictures load: each step puts its slide on screen while the one
// before it still processes events, and the last slide's caption stays under the last picture.
TEST_F(Viewer, QuickStepsWhileStoppedEndOnTheLastSlideWithItsOwnCaption) {
    for (const char* text : {"first", "second", "third"})
        addSlide({.showText = true, .text = QLatin1String(text)});
    openViewer();
    for (int i = 0; i < 2; ++i) {
        QCoreApplication::postEvent(viewer, new QKeyEvent(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier));
        QCoreApplication::postEvent(viewer, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier));
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(flags().CurrentSlide, 2);
    EXPECT_EQ(imageLabel(), QStringLiteral("&Image 3"));
    EXPECT_EQ(child<QPlainTextEdit>("Memo1")->toPlainText(), QStringLiteral("third"));
    EXPECT_EQ(shownIndexes().back(), 2);
}

// Stop or Play in the half second after "&Play Verasco": the play that was about to begin does not,
// and the show does not start by itself later.
TEST_F(Viewer, StopOrPlayBeforeTheAutoPlayEndsTheWaitForIt) {
    addSlides(2);
    const auto timer = [this] { return child<QTimer>("Timer1"); };
    QTest::mouseClick(main().findChild<QPushButton*>("BitBtn2"), Qt::LeftButton);
    ASSERT_TRUE(timer()->isActive());
    QTest::mouseClick(button("SpeedButton3"), Qt::LeftButton);
    EXPECT_FALSE(timer()->isActive());
    viewer->close();

    QTest::mouseClick(main().findChild<QPushButton*>("BitBtn2"), Qt::LeftButton);
    bool waitingWhilePlaying = true;
    clock.at(500, [&] {
        waitingWhilePlaying = timer()->isActive();
        QTest::mouseClick(button("SpeedButton3"), Qt::LeftButton);
    });
    QTest::mouseClick(button("SpeedButton2"), Qt::LeftButton);
    EXPECT_FALSE(waitingWhilePlaying) << "a second play would begin inside the first";
    EXPECT_FALSE(timer()->isActive());
}

// While the viewer is open the editor behind it takes nothing: no dropped files, no close box; a
// later start adds its images but brings the viewer to the front, never the editor.
TEST_F(Viewer, TheEditorTakesNoInputWhileTheViewerIsOpen) {
    addSlides(1);
    const QString dropped = picture("dropped.png");
    for (const bool hide : {false, true}) {
        SCOPED_TRACE(hide ? "editor hidden" : "editor disabled");
        settings().HideEditor = hide;
        main().show();
        openViewer();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(dropped)});
        auto* showGrid = main().findChild<QAbstractScrollArea*>("OvcTable2");
        for (QWidget* target : {static_cast<QWidget*>(&main()), showGrid->viewport()}) {
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
            QCoreApplication::sendEvent(target, &enter);
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
            QCoreApplication::sendEvent(target, &drop);
        }
        QCoreApplication::processEvents();
        EXPECT_EQ(show().SlideCount, 1);
        if (!hide) {
            QCloseEvent closeBox;
            QCoreApplication::sendEvent(main().windowHandle(), &closeBox);
            EXPECT_TRUE(main().isVisible());
        }
        main().RestoreAndRaise();
        EXPECT_EQ(main().isVisible(), !hide);
        EXPECT_TRUE(viewer->isVisible());
        main().CopyDataReceived(dropped);
        EXPECT_EQ(show().SlideCount, 2) << "a later start's image is added";
        show().remove(1);
        viewer->close();
        EXPECT_TRUE(main().isVisible());
    }
}

// The slide on screen follows the reset at once: its caption switched off goes, and comes back
// with Undo.
TEST_F(Viewer, PreferencesWhileStoppedGreyTheWindowSwitchesAndResetTheSlides) {
    addSlide({.delay = 9, .showText = true, .text = QStringLiteral("first")});
    addSlide({.delay = 9});
    openViewer();
    auto* memo = child<QPlainTextEdit>("Memo1");
    ASSERT_TRUE(memo->isVisible());
    std::vector<bool> enabled;
    whenModal(windows->prefFrm, [&] {
        for (const char* name : {"CheckBox1", "CheckBox5", "CheckBox4"})
            enabled.push_back(windows->prefFrm->findChild<QCheckBox*>(QLatin1String(name))->isEnabled());
        windows->prefFrm->findChild<QCheckBox*>("CheckBox4")->setChecked(true);
        windows->prefFrm->findChild<QCheckBox*>("CheckBox3")->setChecked(false);
        auto* delay = windows->prefFrm->findChild<TOvcSimpleField*>("dlyfld");
        delay->selectAll();
        QTest::keyClicks(delay, "4");
        QTest::mouseClick(windows->prefFrm->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    });
    QString asked;
    whenModal(windows->confirmfrm, [&] {
        asked = windows->confirmfrm->findChild<QLabel*>("Label1")->text();
        QTest::mouseClick(windows->confirmfrm->findChild<QPushButton*>("Button3"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
    EXPECT_EQ(enabled, (std::vector<bool>{false, false, true}));
    EXPECT_EQ(asked, QStringLiteral("Give all 2 slides the default time, audio hold and caption setting?"));
    EXPECT_EQ(show().slide(1).Delay, 4);
    EXPECT_TRUE(show().ShowModified);
    EXPECT_TRUE(settings().LoopSlideShow);
    EXPECT_TRUE(windows->prefFrm->findChild<QCheckBox*>("CheckBox1")->isEnabled());
    EXPECT_FALSE(memo->isVisible());
    show().undo();
    EXPECT_TRUE(memo->isVisible());
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("first"));
    show().redo();

    // The loop switch just set takes effect.
    clock.at(8500, [this] { viewer->SpeedButton3Click(); }); // slides now last 4000 ms
    viewer->PlayShow();
    EXPECT_EQ(shownIndexes(), (std::vector<int>{0, 1, 0}));
}

TEST_F(Viewer, PresenterKeys) {
    addSlides(4);
    openViewer();
    struct Row {
        std::vector<Qt::Key> keys;
        int slide;
    } const rows[] = {
        {{Qt::Key_End}, 3},
        {{Qt::Key_Left}, 2},
        {{Qt::Key_Home}, 0},
        {{Qt::Key_Right}, 1},
        {{Qt::Key_PageDown}, 2},
        {{Qt::Key_PageUp}, 1},
        {{Qt::Key_4, Qt::Key_Return}, 3},
        {{Qt::Key_1, Qt::Key_Enter}, 0},
        {{Qt::Key_5, Qt::Key_Return}, 0}, // no such slide
        {{Qt::Key_0, Qt::Key_Return}, 0},
        {{Qt::Key_3, Qt::Key_Right, Qt::Key_Return}, 1}, // another key drops the digits
    };
    for (const Row& row : rows) {
        for (const Qt::Key key : row.keys)
            QTest::keyClick(viewer, key);
        EXPECT_EQ(flags().CurrentSlide, row.slide) << row.keys.front();
        EXPECT_EQ(imageLabel(), QStringLiteral("&Image %1").arg(row.slide + 1)) << row.keys.front();
        EXPECT_EQ(shownIndexes().back(), row.slide) << row.keys.front();
    }

    // B or "." puts a black screen over everything, and takes it away again.
    for (const Qt::Key key : {Qt::Key_B, Qt::Key_Period}) {
        QTest::keyClick(viewer, key);
        const QImage black = viewer->grab().toImage();
        EXPECT_EQ(QColor(black.pixel(black.width() / 2, black.height() / 2)), QColor(Qt::black));
        EXPECT_EQ(QColor(black.pixel(black.width() / 2, black.height() - 5)), QColor(Qt::black))
            << "controls too";
        QTest::keyClick(viewer, key == Qt::Key_B ? Qt::Key_Period : Qt::Key_B);
        EXPECT_FALSE(child<QWidget>("BlankScreen")->isVisible());
    }

    // Space plays; Space again, while the second slide is up, stops.
    shown.clear();
    clock.at(clock.nowMs() + 1500, [this] { QTest::keyClick(viewer, Qt::Key_Space); });
    QTest::keyClick(viewer, Qt::Key_Space);
    EXPECT_EQ(shownIndexes(), (std::vector<int>{1, 2}));
    EXPECT_FALSE(flags().ShowPlaying);

    QTest::keyClick(viewer, Qt::Key_F11);
    EXPECT_TRUE(viewer->isFullScreen());
    EXPECT_TRUE(child<QWidget>("Panel3")->isVisible());
    QTest::mouseClick(button("SpeedButton5"), Qt::LeftButton);
    EXPECT_EQ(flags().CurrentSlide, 3) << "the controls work in full screen";
    QTest::keyClick(viewer, Qt::Key_Escape);
    EXPECT_FALSE(viewer->isFullScreen());
    EXPECT_TRUE(viewer->isVisible()) << "Esc first leaves full screen";
    QTest::keyClick(viewer, Qt::Key_Escape);
    EXPECT_FALSE(viewer->isVisible());
}

// "&Play Verasco" plays from the slide active in the show grid; View > "Ver&asco" still opens on the
// first; View > "&Resume Verasco" plays on from the slide the viewer was closed on, while the show
// still has that picture.
TEST_F(Viewer, PlayStartsAtTheActiveSlideAndResumeGoesOnWhereTheViewerClosed) {
    for (int i = 0; i < 4; ++i)
        addSlide({.image = picture(qPrintable(QStringLiteral("s%1.png").arg(i)))});
    const auto resumable = [this] {
        main().View1Click();
        return main().findChild<QAction*>("ResumeSlideshow1")->isEnabled();
    };
    EXPECT_FALSE(resumable());
    main().findChild<TOvcTable*>("OvcTable2")->setActiveCell(0, 1);
    openViewer();
    EXPECT_EQ(flags().CurrentSlide, 0);
    viewer->close();

    main().BitBtn2Click();
    EXPECT_EQ(imageLabel(), QStringLiteral("&Image 2"));
    EXPECT_EQ(child<QSlider>("TrackBar2")->value(), 2);
    ASSERT_TRUE(
        QTest::qWaitFor([this] { return shown.size() == 3 && !flags().ShowPlaying; }, ConditionWaitMs));
    EXPECT_EQ(shownIndexes(), (std::vector<int>{1, 2, 3}));
    QTest::keyClick(viewer, Qt::Key_Left);
    viewer->close();

    EXPECT_TRUE(resumable());
    shown.clear();
    main().ResumeSlideshow1Click();
    EXPECT_EQ(flags().CurrentSlide, 2);
    EXPECT_TRUE(child<QTimer>("Timer1")->isActive()) << "it plays";
    viewer->close();

    // The slide was moved: it is found by its picture; once gone, there is nothing to resume.
    show().move(2, 0);
    main().ResumeSlideshow1Click();
    EXPECT_EQ(flags().CurrentSlide, 0);
    viewer->close();
    show().clear();
    addSlides(2);
    EXPECT_FALSE(resumable());
}

TEST_F(Viewer, F1OpensTheHelpAtTheViewersPage) {
    useTheHelpOfTheSourceTree();
    addSlides(1);
    openViewer();
    QTest::keyClick(viewer, Qt::Key_F1);
    EXPECT_EQ(helpHeadingShown(), "The Show Viewer");
    helpViewerWindow()->close();
}

// A picture that takes long to decode never holds the window: the slide comes on screen at once
// without it, the keys are taken meanwhile, and the picture of the slide then on screen follows, with
// the blurred fill made of it.
TEST_F(Viewer, APictureSlowToDecodeNeverHoldsTheWindow) {
    addSlide({.image = picture("first.png")});
    addSlide({.image = writePicture(dir, QStringLiteral("second.png"), {90, 60})});
    show().replace(1, {show().slide(1), show().thumbnail(1), QJsonObject{{"fill", "blur"}}});
    std::promise<void> release;
    const std::shared_future<void> released = release.get_future().share();
    std::atomic<bool> onWindowThread = false;
    setPictureDecoder([&](const QString& path, QSize box) {
        if (QThread::currentThread() == qApp->thread())
            onWindowThread = true;
        released.wait_for(std::chrono::seconds(5)); // without end where the window thread waits
        return imaging::loadImageFile(path, box);
    });
    main().Slideshow1Click();
    auto* photo = child<TPhoto>("Photo10");
    EXPECT_TRUE(viewer->pictureOnItsWay());
    EXPECT_FALSE(photo->isVisible());
    QTest::keyClick(viewer, Qt::Key_Right);
    EXPECT_EQ(imageLabel(), QStringLiteral("&Image 2"));
    release.set_value();
    waitForPicture();
    setPictureDecoder({});
    EXPECT_FALSE(onWindowThread);
    EXPECT_TRUE(photo->isVisible());
    EXPECT_EQ(photo->IWidth(), 90);
    const QImage fill = child<FrameFillView>("FrameFill")->drawn();
    ASSERT_FALSE(fill.isNull());
    EXPECT_GT(qGreen(fill.pixel(0, 0)) + qBlue(fill.pixel(0, 0)), 40)
        << "the picture blurred beside it, not black";
}

// A slide's motion moves over its picture, decoded ahead as large as the motion's smallest frame
// needs, and ends at rest on its last frame; the slide after it, without motion, shows its picture
// still. With motion reduced, the slide shows its last frame from the start.
TEST_F(Viewer, ASlidesMotionMovesOverItsPictureDecodedLargeEnoughForIt) {
    addSlide({.image = picture("wide.png", {1600, 1200}), .delay = 1});
    addSlide({.image = picture("still.png", {1600, 1200}), .delay = 1});
    const ShowMotion::Motion zoom{{0, 0, 1, 1}, {0.25, 0.25, 0.5, 0.5}};
    show().replace(0, {show().slide(0), show().thumbnail(0), ShowMotion::withMotion({}, zoom)});
    std::mutex lock;
    std::map<QString, QSize> boxes;
    setPictureDecoder([&](const QString& path, QSize box) {
        const std::lock_guard<std::mutex> guard(lock);
        boxes[QFileInfo(path).fileName()] = box;
        return imaging::loadImageFile(path, box);
    });
    settings().ReduceMotion = QStringLiteral("On");
    openViewer();
    auto* motion = child<MotionView>("MotionView");
    ASSERT_TRUE(QTest::qWaitFor([&] { return motion->isVisible(); }, ConditionWaitMs));
    EXPECT_EQ(motion->frameNow(), zoom.to);
    viewer->close();
    settings().ReduceMotion = QStringLiteral("Off");
    openViewer();
    ASSERT_TRUE(QTest::qWaitFor([&] { return motion->isVisible(); }, ConditionWaitMs));
    EXPECT_EQ(motion->frameNow(), zoom.from);
    // On the wait clock: half-way through the slide's time, half-way through the motion.
    const int slideMs = (20 - speed()->value()) * 100;
    clock.advance(slideMs / 2);
    EXPECT_DOUBLE_EQ(motion->frameNow().w, 0.75);
    clock.advance(slideMs);
    EXPECT_EQ(motion->frameNow(), zoom.to);
    QTest::keyClick(viewer, Qt::Key_Right);
    waitForPicture();
    setPictureDecoder({});

    EXPECT_FALSE(motion->isVisible());
    EXPECT_TRUE(child<TPhoto>("Photo10")->isVisible());
    const QWidget* area = child<QWidget>("Panel6");
    const QSize pixels = area->contentsRect().size() * area->devicePixelRatioF();
    EXPECT_EQ(boxes["wide.png"], pixels * 2);
    EXPECT_EQ(boxes["still.png"], pixels);
}

} // namespace
