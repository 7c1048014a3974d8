// SPDX-License-Identifier: MIT
// The image properties dialog on the editor's own parts: its controls filled from the slide, and OK
// or Cancel writing back or not; the audio file chosen and removed with its mark on the thumbnail,
// listened to through the media device, and the caption's font through the font dialog. Then the
// dialog opened in the real main window by a right press or from the Edit menu.

#include "appearance.h"
#include "caption_sources.h"
#include "condition_wait.h"
#include "drag_window_support.h"
#include "editing_desk.h"
#include "frame_fill.h"
#include "image_loader.h"
#include "look_field.h"
#include "media_device.h"
#include "motion_field.h"
#include "ovc_simple_field.h"
#include "show_file.h"
#include "show_selection.h"
#include "stored_font.h"
#include "test_pictures.h"
#include "test_shows.h"
#include "title_slides.h"

#include <QCheckBox>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonObject>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStandardPaths>
#include <QToolButton>
#include <QUndoStack>

#include <vector>

namespace {
testing::Environment* const environment = testing::AddGlobalTestEnvironment(new PlayerTestEnvironment);

class Properties : public EditingDesk {
  protected:
    void SetUp() override {
        show.setDefaultDelay(7);
        paths = addSlides({"Pic_a", "Pic_b", "Pic_c"});
    }
    template <typename T> T& control(const char* name) { return *dialog.findChild<T*>(name); }

    // Opens the dialog for a slide, lets `inside` work in it, and closes it with the named button
    // (unless inside closed it).
    void withDialog(int index, const char* closeWith, std::function<void()> inside) {
        withDialogFor({index}, closeWith, std::move(inside));
    }
    // The same for the slides at `indexes`, selected in the grid, through the menu's way in.
    void withDialogFor(const std::vector<int>& indexes, const char* closeWith, std::function<void()> inside) {
        opened = false;
        const QPointer<QTimer> wait = whenModal(&dialog, [this, closeWith, inside] {
            opened = true;
            inside();
            if (dialog.isVisible())
                QTest::mouseClick(&control<QPushButton>(closeWith), Qt::LeftButton);
        });
        if (indexes.size() > 1) {
            view.selection().select(indexes);
            properties.openActive();
        } else {
            properties.open(indexes.front());
        }
        delete wait;
    }
    // The thumbnail's audio mark area, (0, 33)-(18, 50).
    static QImage markArea(const QImage& thumbnail) { return thumbnail.copy(0, 33, 18, 17); }

    QStringList paths;
    bool opened = false;
};

// The slide keeps its data beyond the record (its motion, keys of later versions). The picture of a
// thumbnail drawn twice as large is shown whole.
TEST_F(Properties, ShowsTheSlideAndOkStoresTimeSwitchesAndTheCaptionLinesJoined) {
    const QJsonObject data{{"motion", QJsonObject{{"to", QJsonArray{0, 0, 0.5, 0.5}}}}, {"later", 1}};
    QImage grown(160, 140, QImage::Format_RGB32);
    grown.fill(Qt::blue);
    QPainter(&grown).fillRect(100, 80, 32, 20, Qt::red); // the picture's lower right corner
    show.replace(1, {show.slide(1), grown, data});
    show.markOpened();
    withDialog(1, "BitBtn1", [this] {
        const QImage shown = control<QLabel>("Image1").pixmap().toImage();
        EXPECT_EQ(shown.size(), QSize(66, 50));
        EXPECT_EQ(QColor(shown.pixel(65, 49)), QColor(Qt::red));
        EXPECT_EQ(control<QLabel>("Label6").text(), QStringLiteral("2"));
        EXPECT_EQ(control<QLineEdit>("Edit2").text(), paths[1]);
        EXPECT_EQ(control<TOvcSimpleField>("dlyfld").value(), 7);
        EXPECT_FALSE(control<QToolButton>("SpeedButton2").isEnabled());
        auto& delay = control<TOvcSimpleField>("dlyfld");
        delay.selectAll();
        QTest::keyClicks(&delay, "12.5");
        control<QCheckBox>("CheckBox1").setChecked(true);
        control<QCheckBox>("CheckBox2").setChecked(false);
        auto& memo = control<QPlainTextEdit>("Memo1");
        QTest::keyClicks(&memo, "one");
        QTest::keyClick(&memo, Qt::Key_Return);
        QTest::keyClicks(&memo, "two");
        QTest::keyClick(&memo, Qt::Key_Return);
        QTest::keyClicks(&memo, "three");
    });
    ASSERT_TRUE(opened);
    const TSlideRecord& slide = show.slide(1);
    // A time in tenths: the record holds it rounded, the slide's object the time itself.
    EXPECT_EQ(slide.Delay, 13);
    EXPECT_EQ(show.timeMs(1), 12500);
    EXPECT_EQ(slide.Text.str(), "one two three ");
    EXPECT_EQ(slide.HoldForAudio, 1);
    EXPECT_EQ(slide.ShowText, 0);
    QJsonObject withMs = data;
    withMs.insert("ms", 12500);
    EXPECT_EQ(show.extra(1), withMs);
    EXPECT_TRUE(show.ShowModified);

    // The active slide opens; the caption comes back as one line, and OK again stores it as it
    // was rather than with one more blank.
    whenModal(&dialog, [this] {
        EXPECT_EQ(control<QPlainTextEdit>("Memo1").toPlainText(), QStringLiteral("one two three"));
        EXPECT_EQ(control<TOvcSimpleField>("dlyfld").text(), QStringLiteral("12.5"));
        QTest::mouseClick(&control<QPushButton>("BitBtn1"), Qt::LeftButton);
    });
    activate(1);
    EXPECT_EQ(properties.openActive(), Ttextdlg::Ok);
    EXPECT_EQ(show.slide(1).Text.str(), "one two three ");
    // After the last slide nothing opens.
    withDialog(3, "Button1", [] {});
    EXPECT_FALSE(opened);
}

// The motion is kept as it was read until the user changes it; a choice gives its motion, frames
// dragged on the picture make a custom one, Cancel changes nothing, and several slides take it alike.
TEST_F(Properties, TheMotionChoiceAndTheDraggedFramesAreStoredInTheSlidesObject) {
    const QJsonObject odd{{"later", 1}, {"motion", QJsonObject{{"from", "everything"}}}};
    show.replace(0, {show.slide(0), show.thumbnail(0), odd});
    // The small picture under the frames is decoded on another thread.
    const quint64 windowDecodes = imaging::decodedOnThisThreadCount();
    withDialog(0, "BitBtn1", [this] { EXPECT_EQ(control<QComboBox>("MotionBox").currentText(), "None"); });
    EXPECT_EQ(imaging::decodedOnThisThreadCount(), windowDecodes);
    EXPECT_EQ(show.extra(0), odd);

    withDialog(0, "BitBtn1", [this] {
        auto& box = control<QComboBox>("MotionBox");
        box.setFocus();
        QTest::keyClick(&box, Qt::Key_Down);
        EXPECT_EQ(box.currentText(), "Zoom in");
    });
    const auto zoomIn = ShowMotion::preset(ShowMotion::Kind::ZoomIn, {4, 3});
    EXPECT_EQ(ShowMotion::motion(show.extra(0)), zoomIn);
    EXPECT_EQ(show.extra(0).value("later"), 1);

    withDialog(0, "BitBtn1", [this, &zoomIn] {
        EXPECT_EQ(control<QComboBox>("MotionBox").currentText(), "Zoom in");
        auto& frames = control<MotionFrames>("MotionFrames");
        // The last frame, red, dragged to the picture's left edge: a custom motion.
        const QRectF last = frames.frameRect(zoomIn->to);
        const QPoint grip = last.center().toPoint();
        QTest::mousePress(&frames, Qt::LeftButton, {}, grip);
        QTest::mouseMove(&frames, grip - QPoint(100, 0));
        QTest::mouseRelease(&frames, Qt::LeftButton, {}, grip - QPoint(100, 0));
        EXPECT_EQ(control<QComboBox>("MotionBox").currentText(), "Custom");
    });
    const auto custom = ShowMotion::motion(show.extra(0));
    ASSERT_TRUE(custom);
    EXPECT_EQ(custom->from, zoomIn->from);
    EXPECT_EQ(custom->to.x, 0) << "held within the picture";
    EXPECT_NEAR(custom->to.y, zoomIn->to.y, 1e-9);
    EXPECT_EQ(custom->to.w, zoomIn->to.w);

    withDialog(0, "Button1", [this] { control<QComboBox>("MotionBox").setCurrentIndex(0); });
    EXPECT_EQ(ShowMotion::motion(show.extra(0)), custom);
    withDialog(0, "BitBtn1", [this] { control<QComboBox>("MotionBox").setCurrentIndex(0); });
    EXPECT_EQ(show.extra(0), (QJsonObject{{"later", 1}}));

    // For several slides a motion chosen goes to each of them; left untouched, it changes none.
    show.replace(2, {show.slide(2), show.thumbnail(2), odd});
    withDialogFor({1, 2}, "BitBtn1", [] {});
    EXPECT_EQ(show.extra(2), odd);
    withDialogFor({1, 2}, "BitBtn1", [this] { control<QComboBox>("MotionBox").setCurrentIndex(2); });
    const auto zoomOut = ShowMotion::preset(ShowMotion::Kind::ZoomOut, {4, 3});
    EXPECT_EQ(ShowMotion::motion(show.extra(1)), zoomOut);
    EXPECT_EQ(ShowMotion::motion(show.extra(2)), zoomOut);
    EXPECT_EQ(show.extra(2).value("later"), 1);
    EXPECT_EQ(show.extra(0), (QJsonObject{{"later", 1}}));
}

// The fill and the caption's place: "As the show" is no value of the slide's own, a value is kept
// as it was read until it is changed, and for several slides only the choice changed goes to each.
// The preview follows the caption as it is typed.
TEST_F(Properties, TheFillAndCaptionPlaceGoToTheSlidesOwnObjects) {
    const QJsonObject coloured{{"later", 1}, {"fill", "colour"}, {"fillColour", "#102030"}};
    show.replace(1, {show.slide(1), show.thumbnail(1), coloured});
    show.replace(2, {show.slide(2), show.thumbnail(2), QJsonObject{{"captionPlace", "top"}}});
    withDialog(1, "BitBtn1", [this] {
        EXPECT_EQ(control<QComboBox>("FillBox").currentText(), "One colour");
        EXPECT_EQ(control<QComboBox>("CaptionPlaceBox").currentText(), "As the show");
    });
    EXPECT_EQ(show.extra(1), coloured);
    withDialogFor({1, 2}, "BitBtn1", [this] { control<QComboBox>("CaptionPlaceBox").setCurrentIndex(1); });
    QJsonObject bottom = coloured;
    bottom.insert("captionPlace", "bottom");
    EXPECT_EQ(show.extra(1), bottom);
    EXPECT_EQ(show.extra(2), (QJsonObject{{"captionPlace", "bottom"}}));
    withDialog(2, "BitBtn1", [this] { control<QComboBox>("FillBox").setCurrentIndex(0); });
    EXPECT_EQ(show.extra(2), (QJsonObject{{"captionPlace", "bottom"}}));
    withDialog(2, "BitBtn1", [this] { control<QComboBox>("FillBox").setCurrentIndex(2); });
    EXPECT_EQ(show.extra(2), (QJsonObject{{"captionPlace", "bottom"}, {"fill", "blur"}}));

    // The preview shows the caption as it is typed, drawn as the show draws it.
    LookPreview::setDraw(&FrameFill::drawSlide);
    withDialog(2, "Button1", [this] {
        auto& preview = control<LookPreview>("LookPreview");
        control<QCheckBox>("CheckBox2").setChecked(true);
        control<QPlainTextEdit>("Memo1").setPlainText(QStringLiteral("Harbour at dusk"));
        const QImage captioned = preview.grab().toImage();
        control<QPlainTextEdit>("Memo1").clear();
        EXPECT_NE(preview.grab().toImage(), captioned);
    });
}

// A caption and font name saved on Windows show as they were written there; the memo holds only
// what the slide can keep (255 bytes, not characters); an empty memo keeps no caption. A default
// (black) caption reads in the dark appearance.
TEST_F(Properties, TheMemoShowsAndKeepsExactlyWhatTheSlideStores) {
    test_shows::edit(show, 0, [](TSlideRecord& r) {
        r.Text.assign("Caf\xe9 cr\xe8me ");
        r.FontName.assign("Caf\xe9 Sans");
    });
    withDialog(0, "BitBtn1", [this] {
        EXPECT_EQ(control<QPlainTextEdit>("Memo1").toPlainText(), QStringLiteral("Caf\u00e9 cr\u00e8me"));
        EXPECT_EQ(control<QPlainTextEdit>("Memo1").font().family(), QStringLiteral("Caf\u00e9 Sans"));
    });
    EXPECT_EQ(show.slide(0).Text.str(), "Caf\xc3\xa9 cr\xc3\xa8me ");
    EXPECT_EQ(show.slide(0).FontName.str(), "Caf\xc3\xa9 Sans");

    QString typed;
    withDialog(1, "BitBtn1", [&] {
        auto& memo = control<QPlainTextEdit>("Memo1");
        for (int i = 0; i < 200; ++i)
            QTest::sendKeyEvent(QTest::Click, &memo, Qt::Key_Eacute, QString(QChar(0xE9)), Qt::NoModifier);
        typed = memo.toPlainText();
    });
    EXPECT_EQ(typed, QString(127, QChar(0xE9))) << "two bytes each";
    EXPECT_EQ(show.slide(1).Text.str(), (typed.toUtf8() + ' ').toStdString());

    applyAppearance(QStringLiteral("Dark"));
    ASSERT_TRUE(QTest::qWaitFor([this] { return dialog.palette() == darkPalette(); }, ConditionWaitMs));
    withDialog(2, "BitBtn1", [this] {
        const QPalette memo = control<QPlainTextEdit>("Memo1").palette();
        EXPECT_EQ(memo.color(QPalette::Text), QColor(Qt::black));
        EXPECT_GE(contrastRatio(memo.color(QPalette::Text), memo.color(QPalette::Base)), ReadableContrast);
    });
    applyAppearance(QStringLiteral("System"));
    EXPECT_EQ(show.slide(2).Text.str(), "");
}

TEST_F(Properties, AnInvalidTimeShowsTheErrorColoursAndKeepsTheDialogOpen) {
    for (const char* typed : {"", "0", "256"}) {
        SCOPED_TRACE(typed);
        withDialog(0, "Button1", [this, typed] {
            auto& delay = control<TOvcSimpleField>("dlyfld");
            delay.selectAll();
            QTest::keyClick(&delay, Qt::Key_Delete);
            QTest::keyClicks(&delay, typed);
            EXPECT_EQ(delay.palette().color(QPalette::Base), QColor(Qt::red));
            EXPECT_EQ(delay.palette().color(QPalette::Text), QColor(Qt::black));
            QTest::mouseClick(&control<QPushButton>("BitBtn1"), Qt::LeftButton);
            EXPECT_TRUE(dialog.isVisible());
        });
        ASSERT_TRUE(opened);
        EXPECT_EQ(show.slide(0).Delay, 7);
        EXPECT_FALSE(show.ShowModified);
    }
}

// Audio chosen by the button or by Enter marks the thumbnail and is kept as the file system spells
// it; deleted, the thumbnail is drawn again without the mark; Cancel keeps the slide as it was.
TEST_F(Properties, ChosenAudioMarksTheThumbnailAndDeletedAudioDrawsItAgainWithout) {
    const QString sound = writeWav(dir, "Tone.WAV", 300);
    const QImage plain = show.thumbnail(0);
    QString filter;
    dialogSeams().getOpenFileName = [&](QWidget*, const QString&, const QString&, const QString& f) {
        filter = f;
        return sound;
    };
    withDialog(0, "Button1", [this, &sound, &plain] {
        QTest::mouseClick(&control<QToolButton>("SpeedButton1"), Qt::LeftButton);
        EXPECT_EQ(control<QLineEdit>("Edit4").text(), sound);
        EXPECT_NE(markArea(dialog.thumbnail()), markArea(plain));
    });
    // The chooser opens on every kind of sound the program plays.
    EXPECT_EQ(filter.section(QStringLiteral(";;"), 0, 0),
              QStringLiteral("Sound Files (*.wav *.mp3 *.ogg *.oga *.opus *.flac *.au *.snd)"));
    EXPECT_TRUE(show.audioPath(0).isEmpty());
    EXPECT_EQ(show.thumbnail(0), plain);

    withDialog(0, "BitBtn1", [this] {
        QTest::keyClick(&control<QLineEdit>("Edit4"), Qt::Key_Return);
        EXPECT_TRUE(control<QToolButton>("SpeedButton2").isEnabled());
    });
    EXPECT_EQ(show.audioPath(0), sound);
    const QImage marked = show.thumbnail(0);
    EXPECT_EQ(markArea(marked), markArea(dialog.thumbnail()));
    EXPECT_NE(markArea(marked), markArea(plain));

    for (const char* closeWith : {"Button1", "BitBtn1"}) {
        SCOPED_TRACE(closeWith);
        withDialog(0, closeWith, [this, &plain] {
            QTest::keyClick(&control<QLineEdit>("Edit4"), Qt::Key_Delete);
            EXPECT_TRUE(control<QLineEdit>("Edit4").text().isEmpty());
            EXPECT_FALSE(control<QToolButton>("SpeedButton2").isEnabled());
            EXPECT_EQ(dialog.thumbnail(), plain);
        });
        const bool ok = QLatin1String(closeWith) == QLatin1String("BitBtn1");
        EXPECT_EQ(show.audioPath(0), ok ? QString() : sound);
        EXPECT_EQ(show.thumbnail(0), ok ? plain : marked);
    }
}

// For several slides the dialog shows what they share and leaves empty what differs; OK gives every
// slide the fields the user changed, each keeping the others as it had them, in one step.
TEST_F(Properties, SeveralSlidesGetOnlyTheFieldsChangedAndKeepTheirOwnOthers) {
    test_shows::edit(show, 1, [](TSlideRecord& r) {
        r.Delay = 9;
        r.Text.assign("Quay ");
        r.ShowText = 1;
    });
    show.markOpened();
    const auto fields = [this](int index) {
        const TSlideRecord& r = show.slide(index);
        return std::tuple(int(r.Delay), int(r.HoldForAudio), int(r.ShowText), r.Text.str());
    };
    withDialogFor({0, 1, 2}, "BitBtn1", [this] {
        EXPECT_EQ(control<QLabel>("Label6").text(), QStringLiteral("3"));
        EXPECT_EQ(control<TOvcSimpleField>("dlyfld").text(), QString());
        EXPECT_EQ(control<QCheckBox>("CheckBox1").checkState(), Qt::Unchecked);
        EXPECT_EQ(control<QCheckBox>("CheckBox2").checkState(), Qt::PartiallyChecked);
        EXPECT_EQ(control<QPlainTextEdit>("Memo1").toPlainText(), QString());
        control<QCheckBox>("CheckBox1").setChecked(true);
    });
    ASSERT_TRUE(opened);
    EXPECT_EQ(fields(0), std::tuple(7, 1, 0, std::string()));
    EXPECT_EQ(fields(1), std::tuple(9, 1, 1, std::string("Quay ")));
    EXPECT_EQ(fields(2), std::tuple(7, 1, 0, std::string()));
    EXPECT_EQ(show.history().count(), 1);

    withDialogFor({1, 2}, "BitBtn1", [this] {
        auto& delay = control<TOvcSimpleField>("dlyfld");
        QTest::keyClicks(&delay, "3");
        QTest::keyClicks(&control<QPlainTextEdit>("Memo1"), "Harbour");
        control<QCheckBox>("CheckBox2").setCheckState(Qt::Unchecked);
    });
    EXPECT_EQ(fields(0), std::tuple(7, 1, 0, std::string()));
    EXPECT_EQ(fields(1), std::tuple(3, 1, 0, std::string("Harbour ")));
    EXPECT_EQ(fields(2), std::tuple(3, 1, 0, std::string("Harbour ")));
    show.undo();
    EXPECT_EQ(fields(1), std::tuple(9, 1, 1, std::string("Quay ")));
    EXPECT_EQ(fields(2), std::tuple(7, 1, 0, std::string()));
}

// Captions from the photos: each of several slides takes its own, the slide keeps where it came
// from, typing makes it a typed caption again, and Refresh Captions follows a changed photo as one step.
TEST_F(Properties, CaptionsComeFromEachPhotoAndRefreshFollowsAChangedPhoto) {
    if (QStandardPaths::findExecutable(QStringLiteral("exiftool")).isEmpty())
        GTEST_SKIP() << "exiftool (libimage-exiftool-perl) is not installed";
    const QString door = writePicture(dir, "Door.jpg", {60, 40}),
                  quay = writePicture(dir, "Quay.jpg", {60, 40});
    ASSERT_TRUE(test_pictures::tagExif(
        door, {"-DateTimeOriginal=2021:06:01 12:30:00", "-XMP-dc:Description=A red door"}));
    ASSERT_TRUE(
        test_pictures::tagExif(quay, {"-DateTimeOriginal=2022:01:02 08:00:00", "-ImageDescription=Harbour"}));
    slides.appendAcceptedImages({door, quay});
    ASSERT_TRUE(QTest::qWaitFor([this] { return !slides.picturesOnTheirWay(); }, ConditionWaitMs));
    const auto choose = [this](int source) {
        auto& box = control<QComboBox>("CaptionFromBox");
        box.setCurrentIndex(source);
        emit box.activated(source);
    };
    withDialogFor({3, 4}, "BitBtn1", [&] { choose(1); });
    EXPECT_EQ(show.slide(3).Text.str(), "1 June 2021 ");
    EXPECT_EQ(show.slide(4).Text.str(), "2 January 2022 ");
    EXPECT_EQ(show.extra(4).value("captionFrom").toString(), QStringLiteral("date"));

    withDialog(3, "BitBtn1", [&] {
        choose(3);
        EXPECT_EQ(control<QPlainTextEdit>("Memo1").toPlainText(), QStringLiteral("A red door"));
    });
    withDialog(4, "BitBtn1", [&] { choose(3); });
    EXPECT_EQ(show.slide(4).Text.str(), "Harbour ");
    ASSERT_TRUE(test_pictures::tagExif(quay, {"-ImageDescription=Harbour at dawn"}));
    const int steps = show.history().count();
    EXPECT_EQ(CaptionSources::refreshAll(show), 1);
    EXPECT_EQ(show.slide(3).Text.str(), "A red door ");
    EXPECT_EQ(show.slide(4).Text.str(), "Harbour at dawn ");
    EXPECT_EQ(show.history().count(), steps + 1);
    EXPECT_EQ(show.history().undoText(), QStringLiteral("Refresh Captions"));

    withDialog(4, "BitBtn1", [this] {
        EXPECT_EQ(control<QComboBox>("CaptionFromBox").currentIndex(), 3);
        QTest::keyClicks(&control<QPlainTextEdit>("Memo1"), "!");
        EXPECT_EQ(control<QComboBox>("CaptionFromBox").currentIndex(), 0);
    });
    EXPECT_FALSE(show.extra(4).contains("captionFrom"));
}

// Audio chosen for several slides marks every thumbnail; deleting the audio shown for slides with
// different sounds takes it off each and draws each thumbnail again without the mark.
TEST_F(Properties, AudioChosenOrDeletedForSeveralSlidesMarksOrUnmarksEachThumbnail) {
    const QString sound = writeWav(dir, "Tone.wav", 300);
    const QString other = writeWav(dir, "Bell.wav", 300);
    const QImage plain[] = {show.thumbnail(0), show.thumbnail(1), show.thumbnail(2)};
    dialogSeams().getOpenFileName = [&](QWidget*, const QString&, const QString&, const QString&) {
        return sound;
    };
    withDialogFor({0, 2}, "BitBtn1",
                  [this] { QTest::mouseClick(&control<QToolButton>("SpeedButton1"), Qt::LeftButton); });
    for (int i : {0, 2}) {
        EXPECT_EQ(show.audioPath(i), sound) << i;
        EXPECT_NE(markArea(show.thumbnail(i)), markArea(plain[i])) << i;
    }
    EXPECT_EQ(show.thumbnail(1), plain[1]);

    dialogSeams().getOpenFileName = [&](QWidget*, const QString&, const QString&, const QString&) {
        return other;
    };
    withDialog(1, "BitBtn1",
               [this] { QTest::mouseClick(&control<QToolButton>("SpeedButton1"), Qt::LeftButton); });
    withDialogFor({0, 1, 2}, "BitBtn1", [this] {
        EXPECT_FALSE(control<QLineEdit>("Edit4").text().isEmpty()) << "the sounds differ";
        QTest::keyClick(&control<QLineEdit>("Edit4"), Qt::Key_Delete);
    });
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(show.audioPath(i).isEmpty()) << i;
        EXPECT_EQ(show.thumbnail(i), plain[i]) << i;
    }
}

TEST_F(Properties, ListeningPlaysTheFileThroughTheMediaDeviceUntilTheDialogCloses) {
    const QString sound = writeWav(dir, "long.wav", 20000);
    dialogSeams().getOpenFileName = [&](QWidget*, const QString&, const QString&, const QString&) {
        return sound;
    };
    bool listened = false;
    withDialog(0, "Button1", [this, &listened] {
        dialog.mediaPlayer().setOpenTimeoutMs(ConditionWaitMs); // slow loading on a busy machine
        QTest::mouseClick(&control<QToolButton>("SpeedButton1"), Qt::LeftButton);
        QTest::mouseClick(&control<QToolButton>("SpeedButton2"), Qt::LeftButton);
        listened = dialog.mediaPlayer().isOpen() && dialog.mediaPlayer().length() > 0;
    });
    EXPECT_TRUE(listened);
    EXPECT_FALSE(dialog.mediaPlayer().isOpen());
    EXPECT_FALSE(dialog.mediaPlayer().isPlaying());
}

TEST_F(Properties, TheFontDialogSetsTheCaptionFontAndItsNameIsStoredCutTo32Bytes) {
    const QString longName = QStringLiteral("An Unusually Long Font Family Name For Captions");
    dialogSeams().chooseFont = [&](QFont& font, QColor& colour, QWidget*) {
        font = QFont(longName);
        font.setPointSize(14);
        font.setBold(true);
        font.setItalic(true);
        colour = QColor(10, 20, 30);
        return true;
    };
    withDialog(0, "BitBtn1", [this] {
        QTest::mouseClick(&control<QPushButton>("Button3"), Qt::LeftButton);
        EXPECT_EQ(control<QPlainTextEdit>("Memo1").font().pointSize(), 14);
    });
    const TSlideRecord& slide = show.slide(0);
    EXPECT_EQ(slide.FontName.str(), longName.left(32).toStdString());
    EXPECT_EQ(slide.FontSize, 14);
    EXPECT_EQ(slide.FontStyle, FontBold | FontItalic);
    EXPECT_EQ(slide.FontColor, 0x1E140A);

    // A font dialog that is cancelled, or accepted unchanged, leaves the stored font as it was.
    dialogSeams().chooseFont = [](QFont&, QColor&, QWidget*) { return true; };
    withDialog(1, "BitBtn1", [this] { QTest::mouseClick(&control<QPushButton>("Button3"), Qt::LeftButton); });
    EXPECT_EQ(show.slide(1).FontName.str(), "MS Sans Serif");
    EXPECT_EQ(show.slide(1).FontSize, 8);
    EXPECT_EQ(show.slide(1).FontColor, 0);
}

TEST_F(Properties, ASavedShowOpenedAgainKeepsEveryEdit) {
    const QString sound = writeWav(dir, "tone.wav", 300);
    dialogSeams().getOpenFileName = [&](QWidget*, const QString&, const QString&, const QString&) {
        return sound;
    };
    dialogSeams().chooseFont = [](QFont& font, QColor& colour, QWidget*) {
        font = QFont(QStringLiteral("DejaVu Serif"), 12);
        colour = Qt::darkRed;
        return true;
    };
    withDialog(2, "BitBtn1", [this] {
        auto& delay = control<TOvcSimpleField>("dlyfld");
        delay.selectAll();
        QTest::keyClicks(&delay, "42");
        QTest::keyClicks(&control<QPlainTextEdit>("Memo1"), "harbour");
        QTest::mouseClick(&control<QToolButton>("SpeedButton1"), Qt::LeftButton);
        QTest::mouseClick(&control<QPushButton>("Button3"), Qt::LeftButton);
    });
    // The edited slide moves to the front.
    showGrid.setFocus();
    activate(2);
    editing.EditCut();
    activate(0);
    editing.EditPaste();
    ASSERT_EQ(show.SlideCount, 3);
    const QByteArray edited = ShowFile::encode(show);
    std::vector<QImage> thumbnails;
    for (int i = 0; i < 3; ++i)
        thumbnails.push_back(show.thumbnail(i));

    const QString file = dir.filePath("edited.vrs");
    ASSERT_TRUE(ShowFile::write(file, show).ok);
    show.clear();
    ASSERT_TRUE(ShowFile::read(file, show).ok());
    slides.buildThumbnailsForRead(show.SlideCount);
    ASSERT_TRUE(thumbnailsArrived());
    EXPECT_EQ(ShowFile::encode(show), edited);
    EXPECT_EQ(show.imagePath(0), paths[2]);
    EXPECT_EQ(show.audioPath(0), sound);
    EXPECT_EQ(show.slide(0).Delay, 42);
    EXPECT_EQ(show.slide(0).Text.str(), "harbour ");
    EXPECT_EQ(show.slide(0).FontName.str(), "DejaVu Serif");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(show.thumbnail(i), thumbnails[i]) << i;
}

// A right press on a slide opens its properties, with the preferences' time for a slide dropped in;
// a right press after the last slide opens nothing and gives the show grid the focus; the menu item
// opens the active slide.
TEST_F(DragWindow, ARightPressOrTheMenuOpensTheSlidesProperties) {
    addSlides({"a", "b", "c"});
    showWindow();
    Ttextdlg& dialog = *windows->textdlg;
    // The slide number shown by the dialog that `open` opened, empty when none opened.
    auto numberShown = [&](const std::function<void()>& open) {
        QString shown;
        const QPointer<QTimer> wait = whenModal(&dialog, [&] {
            shown = dialog.findChild<QLabel*>("Label6")->text();
            EXPECT_EQ(dialog.findChild<TOvcSimpleField*>("dlyfld")->value(), main().settings().DefaultDelay);
            QTest::mouseClick(dialog.findChild<QPushButton*>("Button1"), Qt::LeftButton);
        });
        open();
        delete wait;
        return shown;
    };
    auto rightPress = [this](int col) {
        return [this, col] {
            QTest::mouseClick(showGrid().viewport(), Qt::RightButton, {},
                              showGrid().cellRect(0, col).center());
        };
    };
    EXPECT_EQ(numberShown(rightPress(1)), QStringLiteral("2"));
    EXPECT_EQ(showGrid().ActiveCol(), 1);
    folderGrid().setFocus();
    EXPECT_EQ(numberShown(rightPress(4)), QString());
    EXPECT_EQ(main().focusWidget(), &showGrid());
    showGrid().setActiveCell(0, 2);
    EXPECT_EQ(numberShown([this] { action("SlideProperties1").trigger(); }), QStringLiteral("3"));
}

// Insert Title puts a title slide before the active slide once its properties close with OK, as
// one step; Cancel inserts nothing. Only blank slides take the title mark.
TEST_F(DragWindow, InsertTitlePutsATitleSlideBeforeTheActiveOneInOneStep) {
    addSlides({"a", "b"});
    showWindow();
    Ttextdlg& dialog = *windows->textdlg;
    auto insert = [&](const char* closeWith) {
        const QPointer<QTimer> wait = whenModal(&dialog, [&] {
            auto* title = dialog.findChild<QCheckBox*>("TitleBox");
            EXPECT_TRUE(title->isEnabled() && title->isChecked());
            QTest::keyClicks(dialog.findChild<QPlainTextEdit*>("Memo1"), "Summer");
            QTest::mouseClick(dialog.findChild<QPushButton*>(closeWith), Qt::LeftButton);
        });
        action("InsertTitle1").trigger();
        delete wait;
    };
    showGrid().setActiveCell(0, 1);
    insert("Button1");
    EXPECT_EQ(main().document().SlideCount, 2) << "Cancel inserts nothing";
    insert("BitBtn1");
    const ShowDocument& show = main().document();
    ASSERT_EQ(show.SlideCount, 3);
    EXPECT_TRUE(TitleSlides::isTitle(show, 1));
    EXPECT_TRUE(show.slide(1).ShowText);
    EXPECT_EQ(show.slide(1).Text.str(), "Summer ");
    const QPointer<QTimer> wait = whenModal(&dialog, [&] {
        EXPECT_FALSE(dialog.findChild<QCheckBox*>("TitleBox")->isEnabled()) << "a picture takes no title";
        QTest::mouseClick(dialog.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    });
    showGrid().setActiveCell(0, 0);
    action("SlideProperties1").trigger();
    delete wait;
    main().document().undo();
    EXPECT_EQ(show.SlideCount, 2);
}

} // namespace
