// SPDX-License-Identifier: MIT
// The image properties dialog through the real main window: opened by a right press on a slide or
// from the Edit menu, its controls filled from the slide, and OK or Cancel writing back or not;
// the audio file chosen and removed with its mark on the thumbnail, listened to through the media
// device, and the caption's font through the font dialog.

#include "app_windows.h"
#include "condition_wait.h"
#include "editor_window_support.h"
#include "media_device.h"
#include "ovc_simple_field.h"
#include "test_shows.h"
#include "text_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>

#include <tuple>
#include <vector>

namespace {
testing::Environment* const environment = testing::AddGlobalTestEnvironment(new PlayerTestEnvironment);

class Properties : public EditorWindow {
  protected:
    void SetUp() override {
        EditorWindow::SetUp();
        for (const char* name : {"a", "b", "c"})
            paths.append(writePicture(dir, QStringLiteral("Pic_%1.png").arg(name), {60, 40}));
        main().DropFiles(paths);
        show().markOpened();
        main().show();
    }
    ShowDocument& show() { return main().document(); }
    Ttextdlg& dialog() { return *windows->textdlg; }
    template <typename T> T& control(const char* name) { return *dialog().findChild<T*>(name); }

    // Opens the dialog with a right press on a cell of the show grid, lets `inside` work in it,
    // and closes it with the named button (unless inside closed it).
    void withDialog(int row, int col, const char* closeWith, std::function<void()> inside) {
        opened = false;
        whenModal(&dialog(), [this, closeWith, inside] {
            opened = true;
            inside();
            if (dialog().isVisible())
                QTest::mouseClick(&control<QPushButton>(closeWith), Qt::LeftButton);
        });
        QTest::mouseClick(showGrid().viewport(), Qt::RightButton, {}, showGrid().cellRect(row, col).center());
    }
    // The thumbnail's audio mark area, (0, 33)-(18, 50).
    static QImage markArea(const QImage& thumbnail) { return thumbnail.copy(0, 33, 18, 17); }

    QStringList paths;
    bool opened = false;
};

TEST_F(Properties, ShowsTheSlideAndOkStoresTimeSwitchesAndTheCaptionLinesJoined) {
    withDialog(0, 1, "BitBtn1", [this] {
        EXPECT_EQ(control<QLabel>("Label6").text(), QStringLiteral("2"));
        EXPECT_EQ(control<QLineEdit>("Edit2").text(), paths[1].toLower());
        EXPECT_EQ(control<TOvcSimpleField>("dlyfld").value(), main().settings().DefaultDelay);
        EXPECT_FALSE(control<QToolButton>("SpeedButton2").isEnabled());
        auto& delay = control<TOvcSimpleField>("dlyfld");
        delay.selectAll();
        QTest::keyClicks(&delay, "12");
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
    const TSlideRecord& slide = show().slide(1);
    EXPECT_EQ(slide.Delay, 12);
    EXPECT_EQ(slide.Text.str(), "one two three ");
    EXPECT_EQ(slide.HoldForAudio, 1);
    EXPECT_EQ(slide.ShowText, 0);
    EXPECT_TRUE(show().ShowModified);
    EXPECT_EQ(showGrid().ActiveCol(), 1);

    // The menu item opens the active slide; the caption comes back as one line, and OK again
    // stores it as it was rather than with one more blank.
    whenModal(&dialog(), [this] {
        EXPECT_EQ(control<QPlainTextEdit>("Memo1").toPlainText(), QStringLiteral("one two three"));
        QTest::mouseClick(&control<QPushButton>("BitBtn1"), Qt::LeftButton);
    });
    showGrid().setFocus();
    main().findChild<QAction*>("SlideProperties1")->trigger();
    EXPECT_EQ(show().slide(1).Text.str(), "one two three ");
}

// A caption and font name saved on Windows show as they were written there; the memo holds only
// what the slide can keep (255 bytes, not characters); an empty memo keeps no caption.
TEST_F(Properties, TheMemoShowsAndKeepsExactlyWhatTheSlideStores) {
    test_shows::edit(show(), 0, [](TSlideRecord& r) {
        r.Text.assign("Caf\xe9 cr\xe8me ");
        r.FontName.assign("Caf\xe9 Sans");
    });
    withDialog(0, 0, "BitBtn1", [this] {
        EXPECT_EQ(control<QPlainTextEdit>("Memo1").toPlainText(), QStringLiteral("Caf\u00e9 cr\u00e8me"));
        EXPECT_EQ(control<QPlainTextEdit>("Memo1").font().family(), QStringLiteral("Caf\u00e9 Sans"));
    });
    EXPECT_EQ(show().slide(0).Text.str(), "Caf\xc3\xa9 cr\xc3\xa8me ");
    EXPECT_EQ(show().slide(0).FontName.str(), "Caf\xc3\xa9 Sans");

    QString typed;
    withDialog(0, 1, "BitBtn1", [&] {
        auto& memo = control<QPlainTextEdit>("Memo1");
        for (int i = 0; i < 200; ++i)
            QTest::sendKeyEvent(QTest::Click, &memo, Qt::Key_Eacute, QString(QChar(0xE9)), Qt::NoModifier);
        typed = memo.toPlainText();
    });
    EXPECT_EQ(typed, QString(127, QChar(0xE9))) << "two bytes each";
    EXPECT_EQ(show().slide(1).Text.str(), (typed.toUtf8() + ' ').toStdString());

    withDialog(0, 2, "BitBtn1", [] {});
    EXPECT_EQ(show().slide(2).Text.str(), "");
}

TEST_F(Properties, AnInvalidTimeShowsTheErrorColoursAndKeepsTheDialogOpen) {
    for (const char* typed : {"", "0", "256"}) {
        SCOPED_TRACE(typed);
        withDialog(0, 0, "Button1", [this, typed] {
            auto& delay = control<TOvcSimpleField>("dlyfld");
            delay.selectAll();
            QTest::keyClick(&delay, Qt::Key_Delete);
            QTest::keyClicks(&delay, typed);
            EXPECT_EQ(delay.palette().color(QPalette::Base), QColor(Qt::red));
            EXPECT_EQ(delay.palette().color(QPalette::Text), QColor(Qt::black));
            QTest::mouseClick(&control<QPushButton>("BitBtn1"), Qt::LeftButton);
            EXPECT_TRUE(dialog().isVisible());
        });
        ASSERT_TRUE(opened);
        EXPECT_EQ(show().slide(0).Delay, main().settings().DefaultDelay);
        EXPECT_FALSE(show().ShowModified);
    }
}

TEST_F(Properties, ARightPressAfterTheLastSlideOpensNothing) {
    withDialog(0, 4, "Button1", [] {});
    EXPECT_FALSE(opened);
    EXPECT_EQ(main().focusWidget(), &showGrid());
}

TEST_F(Properties, ChosenAudioMarksTheThumbnailAndIsKeptAsTheFileSystemSpellsIt) {
    const QString sound = writeWav(dir, "Tone.WAV", 300);
    const QImage before = show().thumbnail(0);
    QString filter;
    dialogSeams().getOpenFileName = [&](QWidget*, const QString&, const QString&, const QString& f) {
        filter = f;
        return sound;
    };
    withDialog(0, 0, "Button1", [this, &sound, &before] {
        QTest::mouseClick(&control<QToolButton>("SpeedButton1"), Qt::LeftButton);
        EXPECT_EQ(control<QLineEdit>("Edit4").text(), sound.toLower());
        EXPECT_NE(markArea(dialog().thumbnail()), markArea(before));
    });
    EXPECT_TRUE(filter.startsWith(QStringLiteral("Wave Audio (*.wav);;Other Audio (*.mp3 ")));
    EXPECT_TRUE(show().audioPath(0).isEmpty()) << "Cancel keeps the slide as it was";
    EXPECT_EQ(show().thumbnail(0), before);

    withDialog(0, 0, "BitBtn1", [this] {
        QTest::keyClick(&control<QLineEdit>("Edit4"), Qt::Key_Return); // Enter chooses too
        EXPECT_TRUE(control<QToolButton>("SpeedButton2").isEnabled());
    });
    EXPECT_EQ(show().audioPath(0), sound);
    EXPECT_EQ(markArea(show().thumbnail(0)), markArea(dialog().thumbnail()));
    EXPECT_NE(markArea(show().thumbnail(0)), markArea(before));
}

TEST_F(Properties, DeletingTheAudioDrawsTheThumbnailAgainWithoutTheMark) {
    const QString sound = writeWav(dir, "tone.wav", 300);
    const QImage plain = show().thumbnail(2);
    dialogSeams().getOpenFileName = [&](QWidget*, const QString&, const QString&, const QString&) {
        return sound;
    };
    withDialog(0, 2, "BitBtn1",
               [this] { QTest::mouseClick(&control<QToolButton>("SpeedButton1"), Qt::LeftButton); });
    const QImage marked = show().thumbnail(2);
    ASSERT_NE(marked, plain);

    for (const char* closeWith : {"Button1", "BitBtn1"}) {
        SCOPED_TRACE(closeWith);
        withDialog(0, 2, closeWith, [this, &plain] {
            QTest::keyClick(&control<QLineEdit>("Edit4"), Qt::Key_Delete);
            EXPECT_TRUE(control<QLineEdit>("Edit4").text().isEmpty());
            EXPECT_FALSE(control<QToolButton>("SpeedButton2").isEnabled());
            EXPECT_EQ(dialog().thumbnail(), plain);
        });
        const bool ok = QLatin1String(closeWith) == QLatin1String("BitBtn1");
        EXPECT_EQ(show().audioPath(2), ok ? QString() : sound);
        EXPECT_EQ(show().thumbnail(2), ok ? plain : marked);
    }
}

TEST_F(Properties, ListeningPlaysTheFileThroughTheMediaDeviceUntilTheDialogCloses) {
    const QString sound = writeWav(dir, "long.wav", 20000);
    dialogSeams().getOpenFileName = [&](QWidget*, const QString&, const QString&, const QString&) {
        return sound;
    };
    bool listened = false;
    withDialog(0, 0, "Button1", [this, &listened] {
        dialog().mediaPlayer().setOpenTimeoutMs(ConditionWaitMs); // slow loading on a busy machine
        QTest::mouseClick(&control<QToolButton>("SpeedButton1"), Qt::LeftButton);
        QTest::mouseClick(&control<QToolButton>("SpeedButton2"), Qt::LeftButton);
        listened = dialog().mediaPlayer().isOpen() && dialog().mediaPlayer().length() > 0;
    });
    EXPECT_TRUE(listened);
    EXPECT_FALSE(dialog().mediaPlayer().isOpen());
    EXPECT_FALSE(dialog().mediaPlayer().isPlaying());
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
    withDialog(0, 0, "BitBtn1", [this] {
        QTest::mouseClick(&control<QPushButton>("Button3"), Qt::LeftButton);
        EXPECT_EQ(control<QPlainTextEdit>("Memo1").font().pointSize(), 14);
    });
    const TSlideRecord& slide = show().slide(0);
    EXPECT_EQ(slide.FontName.str(), longName.left(32).toStdString());
    EXPECT_EQ(slide.FontSize, 14);
    EXPECT_EQ(slide.FontStyle, FontBold | FontItalic);
    EXPECT_EQ(slide.FontColor, 0x1E140A);

    // A font dialog that is cancelled, or accepted unchanged, leaves the stored font as it was.
    dialogSeams().chooseFont = [](QFont&, QColor&, QWidget*) { return true; };
    withDialog(0, 1, "BitBtn1",
               [this] { QTest::mouseClick(&control<QPushButton>("Button3"), Qt::LeftButton); });
    EXPECT_EQ(show().slide(1).FontName.str(), "MS Sans Serif");
    EXPECT_EQ(show().slide(1).FontSize, 8);
    EXPECT_EQ(show().slide(1).FontColor, 0);
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
    withDialog(0, 2, "BitBtn1", [this] {
        auto& delay = control<TOvcSimpleField>("dlyfld");
        delay.selectAll();
        QTest::keyClicks(&delay, "42");
        QTest::keyClicks(&control<QPlainTextEdit>("Memo1"), "harbour");
        QTest::mouseClick(&control<QToolButton>("SpeedButton1"), Qt::LeftButton);
        QTest::mouseClick(&control<QPushButton>("Button3"), Qt::LeftButton);
    });
    // The edited slide moves to the front.
    showGrid().setFocus();
    showGrid().setActiveCell(0, 2);
    main().EditCut();
    showGrid().setActiveCell(0, 0);
    main().EditPaste();
    ASSERT_EQ(show().SlideCount, 3);
    std::vector<QByteArray> edited;
    std::vector<QImage> thumbnails;
    for (int i = 0; i < 3; ++i) {
        edited.emplace_back(reinterpret_cast<const char*>(&show().slide(i)), int(sizeof(TSlideRecord)));
        thumbnails.push_back(show().thumbnail(i));
    }

    const QString file = dir.filePath("edited.vrs");
    dialogSeams().getSaveFileName = [&](QWidget*, const QString&, const QString&, const QString&) {
        return file;
    };
    ASSERT_TRUE(main().FileSaveAs());
    main().FileNew();
    ASSERT_EQ(show().SlideCount, 0);
    dialogSeams().getOpenFileName = [&](QWidget*, const QString&, const QString&, const QString&) {
        return file;
    };
    main().FileOpen();
    ASSERT_EQ(show().SlideCount, 3);
    EXPECT_EQ(show().imagePath(0), paths[2]);
    EXPECT_EQ(show().audioPath(0), sound);
    EXPECT_EQ(show().slide(0).Delay, 42);
    EXPECT_EQ(show().slide(0).Text.str(), "harbour ");
    EXPECT_EQ(show().slide(0).FontName.str(), "DejaVu Serif");
    for (int i = 0; i < 3; ++i) {
        const TSlideRecord& r = show().slide(i);
        const auto* e = reinterpret_cast<const TSlideRecord*>(edited[i].constData());
        EXPECT_EQ(r.ImageFile.str(), e->ImageFile.str()) << i;
        EXPECT_EQ(r.AudioFile.str(), e->AudioFile.str()) << i;
        EXPECT_EQ(r.Text.str(), e->Text.str()) << i;
        EXPECT_EQ(r.FontName.str(), e->FontName.str()) << i;
        EXPECT_EQ(std::tie(r.Delay, r.HoldForAudio, r.ShowText, r.FontColor, r.FontSize, r.FontStyle),
                  std::tie(e->Delay, e->HoldForAudio, e->ShowText, e->FontColor, e->FontSize, e->FontStyle))
            << i;
        EXPECT_EQ(show().thumbnail(i), thumbnails[i]) << i;
    }
}

} // namespace
