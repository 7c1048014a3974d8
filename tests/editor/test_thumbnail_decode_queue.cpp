// SPDX-License-Identifier: MIT
// Thumbnail pictures decoded ahead on several threads: each file once, each result the picture
// the calling thread would have decoded itself, and an early end that waits for the threads. And
// pictures decoded in the background: handed to the asking thread, dropped when no longer wanted.

#include "background_decodes.h"
#include "image_loader.h"
#include "qt_application_environment.h"
#include "thumbnail_cache_folder.h"
#include "thumbnail_decode_queue.h"
#include "thumbnail_picture.h"

#include <QCoreApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QThreadPool>
#include <gtest/gtest.h>

#include <QThread>

#include <atomic>
#include <future>

namespace {
testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment<QCoreApplication>);

std::optional<QImage> decodeAtOnePixel(const QString& path) {
    return decodeThumbnailPicture(path);
}

class DecodeQueue : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        for (int i = 0; i < 24; ++i) {
            QImage picture(60 + 13 * i, 40 + 7 * i, QImage::Format_RGB32);
            picture.fill(QColor::fromHsv(i * 15, 180, 200));
            const QString path = dir.filePath(QStringLiteral("p%1.%2").arg(i).arg(i % 2 ? "png" : "jpg"));
            ASSERT_TRUE(picture.save(path));
            paths.append(path);
        }
        paths.append(dir.filePath("missing.png"));
    }
    QTemporaryDir dir;
    QStringList paths;
};

// Taken on the window thread, which decodes none of them.
TEST_F(DecodeQueue, EveryFileIsDecodedOnceAndGivesTheSamePicture) {
    QThreadPool pool;
    pool.setMaxThreadCount(3);
    const quint64 before = imaging::decodedImageCount();
    std::vector<std::optional<QImage>> taken;
    std::atomic<int> onWindowThread = 0;
    {
        // Both passes decode, each with a thumbnail cache of its own.
        const ThumbnailCacheFolder cache;
        ThumbnailDecodeQueue queue(
            paths,
            [&](const QString& path) {
                onWindowThread += QThread::currentThread() == qApp->thread() ? 1 : 0;
                return decodeAtOnePixel(path);
            },
            &pool);
        for (qsizetype i = 0; i < queue.size(); ++i)
            taken.push_back(queue.take(i));
    }
    EXPECT_EQ(imaging::decodedImageCount() - before,
              quint64(paths.size() - 1)); // the missing file has no bytes
    const ThumbnailCacheFolder otherCache;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const std::optional<QImage> alone = decodeThumbnailPicture(paths[i]);
        ASSERT_EQ(taken[i].has_value(), alone.has_value()) << i;
        if (alone) {
            EXPECT_EQ(*taken[i], *alone) << i;
        }
    }
    EXPECT_FALSE(taken.back().has_value());
    EXPECT_EQ(onWindowThread, 0);
}

TEST_F(DecodeQueue, EndingEarlyWaitsForTheThreadsAndDecodesNoMore) {
    QThreadPool pool;
    pool.setMaxThreadCount(2);
    const quint64 before = imaging::decodedImageCount();
    {
        ThumbnailDecodeQueue queue(paths, decodeAtOnePixel, &pool);
        ASSERT_TRUE(queue.take(0).has_value());
    }
    // Nothing is decoded once the queue is gone.
    const quint64 decoded = imaging::decodedImageCount() - before;
    EXPECT_GE(decoded, 1u);
    pool.waitForDone();
    EXPECT_EQ(imaging::decodedImageCount() - before, decoded);
}

TEST_F(DecodeQueue, NoDecodingRunsOnceTheQueueIsGone) {
    std::atomic<int> running = 0;
    std::atomic<int> started = 0;
    const auto decode = [&](const QString& path) {
        ++running;
        ++started;
        std::optional<QImage> picture = decodeThumbnailPicture(path);
        --running;
        return picture;
    };
    QThreadPool pool;
    pool.setMaxThreadCount(4);
    for (const qsizetype taken : {0, 1, 5}) {
        started = 0;
        {
            ThumbnailDecodeQueue queue(paths, decode, &pool);
            for (qsizetype i = 0; i < taken; ++i)
                queue.take(i);
        }
        EXPECT_EQ(running, 0) << taken;
        const int startedWhenGone = started;
        pool.waitForDone();
        EXPECT_EQ(started, startedWhenGone) << taken;
    }
}

TEST_F(DecodeQueue, WithoutHelpersTheTakingThreadDecodesEverything) {
    ThumbnailDecodeQueue queue(paths.mid(0, 3), decodeAtOnePixel, nullptr, 0);
    for (qsizetype i = 0; i < 3; ++i)
        EXPECT_TRUE(queue.take(i).has_value());
}

// Qt's painting on the window thread hands parts of a large fill to its global pool and waits for
// them: a queue given no pool decodes on threads of its own, so that no decode holds a paint.
TEST_F(DecodeQueue, WithoutAPoolTheDecodesLeaveQtsGlobalPoolToThePainting) {
    std::atomic<int> decoded = 0;
    std::atomic<int> onGlobalPool = 0;
    ThumbnailDecodeQueue queue(paths, [&](const QString& path) {
        onGlobalPool += QThreadPool::globalInstance()->contains(QThread::currentThread()) ? 1 : 0;
        ++decoded;
        return decodeAtOnePixel(path);
    });
    for (qsizetype i = 0; i < queue.size(); ++i)
        queue.take(i);
    EXPECT_EQ(decoded, paths.size());
    EXPECT_EQ(onGlobalPool, 0);
}

// One thread, held busy on the first picture until `release`, so that the others wait their turn.
TEST_F(DecodeQueue, BackgroundPicturesArriveOnTheAskingThreadUnlessDroppedFirst) {
    std::vector<std::pair<int, Qt::HANDLE>> arrived;
    std::vector<std::optional<QImage>> pictures;
    auto decodes = std::make_unique<BackgroundDecodes>(
        [&](int key, std::optional<QImage> picture) {
            arrived.emplace_back(key, QThread::currentThreadId());
            pictures.push_back(std::move(picture));
        },
        1);
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<int> decoded = 0;
    const auto decodeAfter = [&](qsizetype index, bool wait) {
        return [&, index, wait] {
            if (wait)
                released.wait();
            ++decoded;
            return decodeThumbnailPicture(paths[index]);
        };
    };
    decodes->want(0, decodeAfter(0, true));
    for (const int key : {7, 3, 3, 9, 24})
        decodes->want(key, decodeAfter(key, false));
    decodes->keepOnly(0, 8); // 9 and 24 are dropped
    release.set_value();
    while (arrived.size() < 3)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    QCoreApplication::processEvents();
    const std::vector<int> keys{arrived[0].first, arrived[1].first, arrived[2].first};
    EXPECT_EQ(keys, (std::vector<int>{0, 3, 7})) << "lowest first, each once";
    EXPECT_EQ(arrived.size(), 3u);
    for (const auto& [key, thread] : arrived)
        EXPECT_EQ(thread, QThread::currentThreadId()) << key;
    EXPECT_EQ(*pictures[2], *decodeThumbnailPicture(paths[7]));

    // Asked again once arrived, a picture comes again; a clear() drops what is on its way, and an
    // object that goes waits for its thread and hands over nothing more.
    std::promise<void> again;
    released = again.get_future().share();
    decodes->want(3, decodeAfter(3, true));
    decodes->want(24, decodeAfter(24, false));
    decodes->clear();
    again.set_value();
    decodes->want(5, decodeAfter(5, false));
    decodes.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(arrived.size(), 3u);
    EXPECT_LE(decoded, 5);
}

} // namespace
