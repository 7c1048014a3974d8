// Shows read and images appended with their pictures decoded on several threads: the same slides,
// paths, thumbnails and count as on the window thread alone, and a window closed during a read
// that leaves no decoding behind.

#include "condition_wait.h"
#include "editor_window_support.h"
#include "image_loader.h"
#include "show_document.h"
#include "show_file.h"
#include "show_file_commands.h"
#include "show_slides.h"
#include "test_pictures.h"

#include <QFile>
#include <QThreadPool>

namespace {
testing::Environment* const environment = testing::AddGlobalTestEnvironment(new PlayerTestEnvironment);

struct ReadOutcome {
    QStringList paths;
    QList<QImage> thumbnails;
    QString count;
};

class ThreadedReading : public EditorWindow {
  protected:
    ShowDocument& show() { return main().document(); }

    // Pictures of several formats, sizes and sides, with an undecodable and a missing file and a
    // blank slide among them, repeated so that the threads overtake one another.
    QStringList mixedPictures() {
        const QString folder = dir.filePath("pictures");
        QDir().mkpath(folder);
        QStringList paths;
        const QList<std::pair<QString, QSize>> pictures = {
            {"wide.jpg", {400, 300}}, {"tall.png", {120, 500}}, {"tiny.bmp", {1, 1}},
            {"small.png", {70, 40}},  {"odd.tif", {333, 97}},   {"square.jpg", {256, 256}}};
        for (int round = 0; round < 3; ++round) {
            for (const auto& [name, size] : pictures)
                paths.append(test_pictures::make(folder, QString::number(round) + name, size));
            const QString broken = folder + QStringLiteral("/broken%1.jpg").arg(round);
            QFile file(broken);
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("not a picture at all");
            paths.append(broken);
            paths.append(folder + QStringLiteral("/gone%1.png").arg(round));
            paths.append(QString::fromLatin1(BlankImageName));
        }
        return paths;
    }

    QString writeShow(const QStringList& pictures) {
        ShowDocument stored;
        for (int i = 0; i < pictures.size(); ++i) {
            stored.resetSlot(i);
            EXPECT_TRUE(stored.setImagePath(i, pictures[i]));
        }
        stored.SlideCount = int(pictures.size());
        const QString path = dir.filePath("mixed.vrs");
        EXPECT_TRUE(ShowFile::write(path, stored).ok);
        return path;
    }

    ReadOutcome outcome() {
        ReadOutcome result;
        for (int i = 0; i < show().SlideCount; ++i) {
            result.paths.append(show().imagePath(i));
            result.thumbnails.append(show().thumbnail(i));
        }
        result.count = label("Label7");
        return result;
    }

    void expectSame(const ReadOutcome& threaded, const ReadOutcome& alone) {
        EXPECT_EQ(threaded.paths, alone.paths);
        EXPECT_EQ(threaded.count, alone.count);
        ASSERT_EQ(threaded.thumbnails.size(), alone.thumbnails.size());
        for (qsizetype i = 0; i < alone.thumbnails.size(); ++i)
            EXPECT_EQ(threaded.thumbnails[i], alone.thumbnails[i])
                << i << " " << alone.paths[i].toStdString();
    }
};

TEST_F(ThreadedReading, AShowReadOnSeveralThreadsEqualsOneReadOnTheWindowThread) {
    const QString showPath = writeShow(mixedPictures());
    ReadOutcome alone;
    ReadOutcome threaded;
    for (const int threads : {1, 3}) {
        main().showSlides().setDecodeThreads(threads);
        show().SlideCount = 0;
        ASSERT_TRUE(main().showFiles().ReadShowFile(showPath).ok());
        (threads == 1 ? alone : threaded) = outcome();
    }
    ASSERT_EQ(alone.paths.size(), 27);
    EXPECT_EQ(alone.count, imagesCountText(27, 3));
    EXPECT_EQ(alone.paths[7], dir.filePath("pictures/gone0.png")) << "a missing file keeps its path";
    expectSame(threaded, alone);
}

TEST_F(ThreadedReading, ImagesAppendedOnSeveralThreadsEqualThoseAppendedOnTheWindowThread) {
    const QStringList pictures = mixedPictures();
    ReadOutcome alone;
    ReadOutcome threaded;
    for (const int threads : {1, 3}) {
        main().showSlides().setDecodeThreads(threads);
        show().SlideCount = 0;
        main().DropFiles(pictures);
        (threads == 1 ? alone : threaded) = outcome();
    }
    // Undecodable, missing and blank names make no slide.
    ASSERT_EQ(alone.paths.size(), 18);
    EXPECT_EQ(alone.paths[6], pictures[9]);
    expectSame(threaded, alone);
}

// The first reading leaves every picture's thumbnail in the desktop's shared cache (an undecodable
// one as a failure): the second reading decodes nothing and shows the same slides.
TEST_F(ThreadedReading, ASecondReadingOfACachedShowDecodesNothing) {
    const QString showPath = writeShow(mixedPictures());
    ReadOutcome first;
    for (int reading = 0; reading < 2; ++reading) {
        show().SlideCount = 0;
        const quint64 before = imaging::decodedImageCount();
        ASSERT_TRUE(main().showFiles().ReadShowFile(showPath).ok());
        if (reading == 0) {
            EXPECT_GT(imaging::decodedImageCount(), before);
            first = outcome();
        } else {
            EXPECT_EQ(imaging::decodedImageCount(), before);
            EXPECT_EQ(outcome().paths, first.paths);
            EXPECT_EQ(outcome().count, first.count);
        }
    }
}

TEST_F(ThreadedReading, TheAppendStopsAtFiveHundredSlides) {
    const QString picture = test_pictures::make(dir.path(), "one.png", {40, 30});
    main().DropFiles(QStringList(498, picture));
    main().DropFiles({picture, picture, picture, picture});
    EXPECT_EQ(show().SlideCount, ShowDocument::MaxSlides);
    EXPECT_EQ(label("Label7"), imagesCountText(500));
}

// The window closes while "Read 3 of N..." is being shown: the read ends there, no picture is
// decoded once the read is over, and the windows go without a fault.
TEST_F(ThreadedReading, ClosingTheWindowDuringAReadStopsTheDecoding) {
    QStringList pictures;
    for (int i = 0; i < 40; ++i)
        pictures.append(test_pictures::make(dir.path(), QStringLiteral("p%1.jpg").arg(i), {640, 480}));
    const QString showPath = writeShow(pictures);
    main().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main(), ConditionWaitMs));
    auto* countLabel = main().findChild<QLabel*>("Label7");
    struct CloseOnThirdSlide : QObject {
        TMainFormverasco* window;
        QLabel* watched;
        bool eventFilter(QObject* object, QEvent* event) override {
            if (object == watched && event->type() == QEvent::Paint &&
                watched->text().startsWith(QLatin1String("Read 3 of")) && window->isVisible())
                window->close();
            return false;
        }
    } filter;
    filter.window = &main();
    filter.watched = countLabel;
    countLabel->installEventFilter(&filter);

    for (int i = 0; i < 40; ++i)
        show().thumbnail(i) = QImage();
    ASSERT_TRUE(main().showFiles().ReadShowFile(showPath).ok());
    const quint64 decoded = imaging::decodedImageCount();
    EXPECT_FALSE(main().isVisible());
    // Slides 0 to 2 were drawn before the window closed, none after.
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(show().thumbnail(i).isNull(), i >= 3) << i;
    EXPECT_TRUE(
        QTest::qWaitFor([] { return QThreadPool::globalInstance()->activeThreadCount() == 0; }, 60000));
    EXPECT_EQ(imaging::decodedImageCount(), decoded);
    countLabel->removeEventFilter(&filter);
    windows.reset();
}

} // namespace
