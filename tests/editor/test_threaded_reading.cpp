// SPDX-License-Identifier: MIT
// Shows read and images appended with their pictures decoded on several threads: the same slides,
// paths, thumbnails and count as on the window thread alone, and a window closed during a read
// that leaves no decoding behind.

#include "condition_wait.h"
#include "editor_window_support.h"
#include "image_loader.h"
#include "shared_flags.h"
#include "show_document.h"
#include "show_file.h"
#include "show_grid_view.h"
#include "show_slides.h"
#include "test_pictures.h"
#include "test_shows.h"
#include "thumbnails.h"
#include "tphoto.h"

#include <QFile>
#include <QThreadPool>

#include <functional>

namespace {
testing::Environment* const environment = testing::AddGlobalTestEnvironment(new PlayerTestEnvironment);

// Pictures of several formats, sizes and sides, with an undecodable and a missing file and a blank
// slide among them, repeated so that the threads overtake one another.
QStringList mixedPictures(const QTemporaryDir& dir) {
    const QString folder = dir.filePath("pictures");
    QDir().mkpath(folder);
    QStringList paths;
    const QList<std::pair<QString, QSize>> pictures = {{"wide.jpg", {400, 300}}, {"tall.png", {120, 500}},
                                                       {"tiny.bmp", {1, 1}},     {"small.png", {70, 40}},
                                                       {"odd.tif", {333, 97}},   {"square.jpg", {256, 256}}};
    for (int round = 0; round < 3; ++round) {
        for (const auto& [name, size] : pictures)
            paths.append(test_pictures::make(folder, QString::number(round) + name, size));
        paths.append(
            test_pictures::makeFile(folder, QStringLiteral("broken%1.jpg").arg(round), "not a picture"));
        paths.append(folder + QStringLiteral("/gone%1.png").arg(round));
        paths.append(QString::fromLatin1(BlankImageName));
    }
    return paths;
}

QString writeShow(const QTemporaryDir& dir, const QStringList& pictures) {
    ShowDocument stored;
    for (const QString& picture : pictures)
        test_shows::append(stored, {test_shows::slide(stored, picture)});
    const QString path = dir.filePath("show.vrs");
    EXPECT_TRUE(ShowFile::write(path, stored).ok);
    return path;
}

// The slides come with placeholders; the grid scrolls through the show, painting each row, until
// the pictures of its slides have arrived from the decoding threads.
void drawEveryThumbnail(TOvcTable& grid, const ShowDocument& show) {
    const int columns = grid.ColumnCount();
    for (int first = 0; first < show.SlideCount; first += columns) {
        grid.setTopRow(first / columns);
        grid.viewport()->grab();
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                for (int i = first; i < std::min(first + columns, show.SlideCount); ++i)
                    if (awaitsPicture(show.thumbnail(i)))
                        return false;
                return true;
            },
            ConditionWaitMs))
            << first;
    }
}

// The show's paths and thumbnails, as a read or an append on some number of threads left them.
struct Outcome {
    QStringList paths;
    QList<QImage> thumbnails;
};

class ThreadedReading : public testing::Test {
  protected:
    Outcome run(int threads, const std::function<void(ShowSlides&)>& fill) {
        ShowDocument show;
        SharedFlags flags;
        TPhoto photo;
        QImage work;
        ThumbnailBuilder builder{photo, work, [] { return 32; }, QString()};
        TOvcTable grid;
        QLabel label;
        ShowGridView view{show, grid, label};
        ShowSlides slides{show, builder, view, flags};
        grid.resize(420, 300); // a row of five slides in view, at least
        slides.setDecodeThreads(threads);
        fill(slides);
        drawEveryThumbnail(grid, show);
        Outcome outcome;
        for (int i = 0; i < show.SlideCount; ++i) {
            outcome.paths.append(show.imagePath(i));
            outcome.thumbnails.append(show.thumbnail(i));
        }
        return outcome;
    }
    void expectSame(const Outcome& threaded, const Outcome& alone) {
        EXPECT_EQ(threaded.paths, alone.paths);
        ASSERT_EQ(threaded.thumbnails.size(), alone.thumbnails.size());
        for (qsizetype i = 0; i < alone.thumbnails.size(); ++i)
            EXPECT_EQ(threaded.thumbnails[i], alone.thumbnails[i])
                << i << " " << alone.paths[i].toStdString();
    }
    QTemporaryDir dir;
};

TEST_F(ThreadedReading, AShowReadOnSeveralThreadsEqualsOneReadOnTheWindowThread) {
    const QString showPath = writeShow(dir, mixedPictures(dir));
    const auto read = [&](ShowSlides& slides) {
        ASSERT_TRUE(ShowFile::read(showPath, slides.view().show()).ok());
        slides.buildThumbnailsForRead(slides.view().show().SlideCount);
    };
    const Outcome alone = run(1, read);
    ASSERT_EQ(alone.paths.size(), 27);
    EXPECT_EQ(alone.paths[7], dir.filePath("pictures/gone0.png")) << "a missing file keeps its path";
    expectSame(run(3, read), alone);
}

TEST_F(ThreadedReading, ImagesAppendedOnSeveralThreadsEqualThoseAppendedOnTheWindowThreadUpTo500) {
    const QStringList pictures = mixedPictures(dir);
    const auto append = [&](ShowSlides& slides) { slides.appendAcceptedImages(pictures); };
    const Outcome alone = run(1, append);
    // Undecodable, missing and blank names make no slide.
    ASSERT_EQ(alone.paths.size(), 18);
    EXPECT_EQ(alone.paths[6], pictures[9]);
    expectSame(run(3, append), alone);

    const Outcome full = run(3, [&](ShowSlides& slides) {
        slides.appendAcceptedImages(QStringList(498, pictures[0]));
        slides.appendAcceptedImages(pictures.mid(0, 4));
        EXPECT_EQ(slides.view().countLabel().text(), imagesCountText(500));
    });
    EXPECT_EQ(full.paths.size(), ShowDocument::MaxSlides);
    EXPECT_EQ(full.paths.back(), pictures[1]);
}

// The first reading leaves every picture's thumbnail in the desktop's shared cache (an undecodable
// one as a failure): the second reading decodes nothing and shows the same slides.
TEST_F(ThreadedReading, ASecondReadingOfACachedShowDecodesNothing) {
    const QString showPath = writeShow(dir, mixedPictures(dir));
    const auto read = [&](ShowSlides& slides) {
        ASSERT_TRUE(ShowFile::read(showPath, slides.view().show()).ok());
        slides.buildThumbnailsForRead(slides.view().show().SlideCount);
    };
    const quint64 before = imaging::decodedImageCount();
    const Outcome first = run(3, read);
    const quint64 decoded = imaging::decodedImageCount();
    EXPECT_GT(decoded, before);
    EXPECT_EQ(run(3, read).paths, first.paths);
    EXPECT_EQ(imaging::decodedImageCount(), decoded);
}

class ReadingWindow : public EditorWindow {};

// The window closes while "Read 3 of N..." is being shown: the read ends there, no picture is
// decoded once the read is over, and the windows go without a fault.
TEST_F(ReadingWindow, ClosingTheWindowDuringAReadStopsTheDecoding) {
    QStringList pictures;
    for (int i = 0; i < 40; ++i)
        pictures.append(test_pictures::make(dir.path(), QStringLiteral("p%1.jpg").arg(i), {640, 480}));
    const QString showPath = writeShow(dir, pictures);
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

    main().processCommandLine({showPath});
    const quint64 decoded = imaging::decodedImageCount();
    EXPECT_FALSE(main().isVisible());
    // Slides 0 to 2 were drawn before the window closed, none after.
    const ShowDocument& show = main().document();
    ASSERT_EQ(show.SlideCount, 40);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(show.thumbnail(i).isNull(), i >= 3) << i;
    EXPECT_TRUE(
        QTest::qWaitFor([] { return QThreadPool::globalInstance()->activeThreadCount() == 0; }, 60000));
    EXPECT_EQ(imaging::decodedImageCount(), decoded);
    countLabel->removeEventFilter(&filter);
    windows.reset();
}

} // namespace
