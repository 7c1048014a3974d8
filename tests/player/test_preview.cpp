// SPDX-License-Identifier: MIT
// The preview window through the real program windows: its fit to a screen of a given size, its
// caption, closing by key or click, the message for pictures it cannot show, the progress flag of
// its imaging control, and the two ways the main window opens it.
#include "app_windows.h"
#include "condition_wait.h"
#include "confirm_dialog.h"
#include "file_bytes.h"
#include "gui_test_support.h"
#include "image_loader.h"
#include "made_streams.h"
#include "main_window.h"
#include "ovc_table.h"
#include "preview_fit.h"
#include "preview_form.h"
#include "screen_size.h"
#include "tphoto.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QtMath>
#include <QtTest/QTest>

namespace {

testing::Environment* const environment = testing::AddGlobalTestEnvironment(new PlayerTestEnvironment);

// How long a window may take to come up or become active on a machine that is busy with other work;
// the waits end as soon as it has.

struct FitRow {
    const char* what;
    QSize picture, screen, frame;
    QSize client;
    QPoint topLeft;
    int scrollBars;
};

TEST(PreviewFit, FollowsTheScreenRules) {
    const FitRow rows[] = {
        {"exactly screen-sized: no scroll bars", {800, 600}, {800, 600}, {0, 0}, {800, 600}, {0, 0}, 0},
        {"larger both ways", {1000, 900}, {800, 600}, {0, 0}, {800, 600}, {0, 0}, 3},
        {"larger both ways, framed", {1000, 900}, {800, 600}, {8, 30}, {792, 570}, {0, 0}, 3},
        {"wider only: room for the bar below", {900, 300}, {800, 600}, {0, 0}, {800, 316}, {0, 142}, 1},
        {"higher only: room for the bar beside", {300, 700}, {800, 600}, {0, 0}, {316, 600}, {242, 0}, 2},
        {"tiny: the minimum client area", {40, 10}, {800, 600}, {0, 0}, {100, 20}, {350, 290}, 0},
        {"within 10 pixels of the height", {200, 595}, {800, 600}, {0, 0}, {200, 600}, {300, 0}, 0},
        {"odd sizes centre with truncation", {201, 101}, {801, 601}, {6, 26}, {201, 101}, {297, 237}, 0},
    };
    for (const FitRow& row : rows) {
        const PreviewPlacement p = fitPreview(row.picture, row.screen, row.frame);
        EXPECT_EQ(p.client, row.client) << row.what;
        EXPECT_EQ(p.topLeft, row.topLeft) << row.what;
        EXPECT_EQ(p.scrollBars, row.scrollBars) << row.what;
    }
}

class Preview : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        windows.reset(createAppWindows());
        preview = windows->previewfrm;
        setForcedScreenSize(QSize(640, 480));
    }
    void TearDown() override { setForcedScreenSize({}); }

    TMainFormverasco& main() { return *windows->MainFormverasco; }

    // Opens the preview for a path; `whileOpen` runs while it is shown, then a key press closes it.
    // Returns whether the preview was shown at all.
    bool openAndLook(const QString& path, const std::function<void()>& whileOpen = {}) {
        bool shown = false;
        whenModal(preview, [&] {
            shown = true;
            if (whileOpen)
                whileOpen();
            QTest::keyClick(preview, Qt::Key_A);
        });
        preview->OpenPreview(path);
        return shown;
    }

    // Clicks the confirmation dialog's OK the next time it comes up, noting what it said.
    void answerMessage() {
        whenModal(windows->confirmfrm, [this] {
            said = {windows->confirmfrm->windowTitle(),
                    windows->confirmfrm->findChild<QLabel*>("Label1")->text(),
                    windows->confirmfrm->findChild<QLabel*>("Label2")->text()};
            QTest::mouseClick(windows->confirmfrm->findChild<QPushButton*>("Button1"), Qt::LeftButton);
        });
    }

    QTemporaryDir dir;
    std::unique_ptr<AppWindows> windows;
    Tpreviewfrm* preview = nullptr;
    QStringList said;
};

TEST_F(Preview, FitsTheWindowToThePictureAndTheScreen) {
    // The window keeps to the screen with its frame, whatever frame the platform gives it: an empty
    // client size here stands for the screen less the frame.
    struct Row {
        QSize picture;
        QSize client;
        int scrollBars;
    } const rows[] = {{{640, 480}, {}, 0}, {{700, 500}, {}, 3}, {{40, 10}, {100, 20}, 0}};
    // The pictures are decoded on another thread while the windows keep painting.
    const quint64 windowDecodes = imaging::decodedOnThisThreadCount();
    for (const Row& row : rows) {
        QSize frame;
        const QString path =
            writePicture(dir, QStringLiteral("p%1x%2.png").arg(row.picture.width()).arg(row.picture.height()),
                         row.picture);
        QSize client;
        QPoint centre;
        int bars = -1;
        QSize photo;
        ASSERT_TRUE(openAndLook(path, [&] {
            client = preview->size();
            frame = preview->frameGeometry().size() - client;
            centre = preview->frameGeometry().center();
            bars = preview->photo().ScrollBars();
            photo = preview->photo().size();
        }));
        const QSize expected = row.client.isEmpty() ? QSize(640, 480) - frame : row.client;
        EXPECT_EQ(client, expected) << row.picture.width();
        EXPECT_EQ(bars, row.scrollBars) << row.picture.width();
        EXPECT_EQ(photo, expected) << "the picture fills the client area";
        EXPECT_LE((centre - QPoint(320, 240)).manhattanLength(), 2) << "centred on the screen";
    }
    EXPECT_EQ(imaging::decodedOnThisThreadCount(), windowDecodes);
}

// On a screen of more device pixels than pixels (this test runs again with QT_SCALE_FACTOR=2) the
// window takes fewer pixels and shows each picture pixel on one device pixel, unblurred.
TEST_F(Preview, ThePictureIsShownWithOnePixelOnEachDevicePixel) {
    // Alternate black and white pixels: any resampling greys them.
    QImage picture(240, 120, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, (x + y) % 2 ? 0xFFFFFFFF : 0xFF000000);
    const QString path = dir.filePath(QStringLiteral("fine.png"));
    ASSERT_TRUE(picture.save(path));
    const qreal ratio = preview->devicePixelRatioF();
    EXPECT_EQ(ratio, qEnvironmentVariableIsSet("QT_SCALE_FACTOR") ? 2 : 1);
    QSize client;
    QImage shown;
    ASSERT_TRUE(openAndLook(path, [&] {
        client = preview->size();
        shown = preview->photo().grab().toImage().convertToFormat(QImage::Format_RGB32);
    }));
    EXPECT_EQ(client, QSize(qCeil(240 / ratio), qCeil(120 / ratio)));
    ASSERT_EQ(shown.size(), picture.size());
    EXPECT_TRUE(shown == picture);
}

TEST_F(Preview, CaptionIsTheFileNameAsItIsOnDisk) {
    const QString path = writePicture(dir, QStringLiteral("Sunny Day.png"), {50, 40});
    ASSERT_TRUE(openAndLook(path));
    EXPECT_EQ(preview->windowTitle(), QStringLiteral("Sunny Day.png"));
}

TEST_F(Preview, ClosesOnAnyKeyOrClick) {
    const QString path = writePicture(dir, QStringLiteral("small.png"), {200, 150});
    const std::vector<std::pair<const char*, std::function<void()>>> closers = {
        {"key", [this] { QTest::keyClick(preview, Qt::Key_Shift); }},
        {"click on the picture", [this] { QTest::mouseClick(&preview->photo(), Qt::LeftButton); }},
        {"right click on the window", [this] { QTest::mouseClick(preview, Qt::RightButton); }},
    };
    for (const auto& [what, closer] : closers) {
        bool shown = false;
        whenModal(preview, [&, close = closer] {
            shown = true;
            close();
        });
        preview->OpenPreview(path);
        EXPECT_TRUE(shown) << what;
        EXPECT_FALSE(preview->isVisible()) << what;
    }
}

TEST_F(Preview, APictureThatCannotBeShownGivesTheRealReason) {
    QFile damaged(dir.filePath(QStringLiteral("damaged.jpg")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("\xFF\xD8\xFF\xE0 this is not a picture");
    damaged.close();
    // A JPEG whose frame header claims 60000 x 60000 pixels, beyond the largest picture.
    const QString small = writePicture(dir, QStringLiteral("small.jpg"), {64, 48});
    const QString huge = dir.filePath(QStringLiteral("huge.jpg"));
    QFile hugeFile(huge);
    ASSERT_TRUE(hugeFile.open(QIODevice::WriteOnly));
    hugeFile.write(imaging_test::withFrameSize(fileBytes(small), 60000, 60000));
    hugeFile.close();
    struct Row {
        QString path, line2;
    } const rows[] = {
        {dir.filePath(QStringLiteral("missing.png")), QStringLiteral("The file does not exist.")},
        {damaged.fileName(), QStringLiteral("The file is damaged or no picture.")},
        {huge, QStringLiteral("The picture is larger than the largest this program shows.")},
    };
    for (const Row& row : rows) {
        said.clear();
        answerMessage();
        EXPECT_FALSE(openAndLook(row.path)) << "no preview for " << row.path.toStdString();
        ASSERT_EQ(said.size(), 3);
        EXPECT_EQ(said[0], QStringLiteral("Information"));
        EXPECT_EQ(said[1], QStringLiteral("This image cannot be opened."));
        EXPECT_EQ(said[2], row.line2);
        EXPECT_EQ(windows->confirmfrm->windowTitle(), QStringLiteral("Confirm"));
    }
}

TEST_F(Preview, AFailureWithoutAKnownCauseKeepsTheProtectedText) {
    const auto [line1, line2] = Tpreviewfrm::failureMessage(
        QFile::encodeName(QCoreApplication::applicationFilePath()), TPhoto::NoPicture);
    EXPECT_EQ(line1, QStringLiteral("This image is password protected."));
    EXPECT_TRUE(line2.isEmpty());
}

TEST_F(Preview, ABlankSlideHasNoPreview) {
    answerMessage();
    EXPECT_FALSE(openAndLook(QStringLiteral("BLANK")));
    EXPECT_TRUE(said.isEmpty()) << "and no message";
}

TEST_F(Preview, ProgressKeepsTheLoadFlagSetBelowOneHundredPercent) {
    const QString path = writePicture(dir, QStringLiteral("big.jpg"), {1600, 1200});
    std::vector<std::pair<int, bool>> seen;
    QObject::connect(&preview->photo(), &TPhoto::OnProgress, preview, [&](TPhoto*, qint16, qint16 pct) {
        seen.emplace_back(pct, main().flags().LoadInProgress);
    });
    preview->photo().setProgressEnabled(true);
    main().flags().LoadInProgress = false;
    preview->photo().setFileName(path);
    preview->photo().setProgressEnabled(false);
    ASSERT_GE(seen.size(), 2u);
    for (const auto& [pct, flag] : seen)
        EXPECT_EQ(flag, pct < 100) << pct;
    EXPECT_FALSE(main().flags().LoadInProgress);
}

TEST_F(Preview, TheShowGridOpensThePreviewOfASlideOnly) {
    const QString a = writePicture(dir, QStringLiteral("a.png"), {120, 90});
    const QString b = writePicture(dir, QStringLiteral("b.png"), {130, 90});
    main().DropFiles({a, b});
    ASSERT_EQ(main().document().SlideCount, 2);
    main().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main(), ConditionWaitMs));
    auto* grid = main().findChild<TOvcTable*>("OvcTable2");
    QString title;
    whenModal(preview, [&] {
        title = preview->windowTitle();
        QTest::keyClick(preview, Qt::Key_Escape);
    });
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(0, 1).center());
    EXPECT_EQ(title, QStringLiteral("b.png"));

    title.clear();
    bool shown = false;
    QTimer* unused = whenModal(preview, [&] {
        shown = true;
        preview->accept();
    });
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(0, 3).center());
    EXPECT_FALSE(shown) << "an empty cell opens nothing";
    delete unused;

    // View > "&Image" opens the active cell of the grid with the focus.
    grid->setActiveCell(0, 0);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            main().activateWindow();
            grid->setFocus();
            return grid->hasFocus();
        },
        ConditionWaitMs));
    whenModal(preview, [&] {
        title = preview->windowTitle();
        preview->accept();
    });
    main().findChild<QAction*>("SingleSlide1")->trigger();
    EXPECT_EQ(title, QStringLiteral("a.png"));
}

} // namespace
