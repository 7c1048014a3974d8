// SPDX-License-Identifier: MIT
#pragma once
// Decodes the pictures of a list of thumbnails ahead of the loop that draws them: the pool's
// threads and the thread that takes the results all work through the list in its order, so a
// machine with two cores decodes two pictures at a time. The pictures are what the thumbnail
// builder would fetch from the imaging control; drawing them into thumbnails stays with the
// window thread.

#include <QImage>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QThreadPool;

class ThumbnailDecodeQueue {
  public:
    // A picture for a path, or nothing when the file cannot be decoded. Runs on any thread.
    using Decode = std::function<std::optional<QImage>(const QString& path)>;

    // Starts decoding at once, on the queues' own threads unless given a pool (never on Qt's global
    // pool, whose threads the window's painting waits for); helpers is the number of pool threads
    // that join in (by default one fewer than the pool's threads, the taking thread being the
    // other; all of them when the queue is made on the window thread, which then decodes nothing
    // while there are helpers).
    ThumbnailDecodeQueue(QStringList paths, Decode decode, QThreadPool* pool = nullptr, int helpers = -1);
    // Stops what has not started and waits for the pictures being decoded.
    ~ThumbnailDecodeQueue();
    ThumbnailDecodeQueue(const ThumbnailDecodeQueue&) = delete;
    ThumbnailDecodeQueue& operator=(const ThumbnailDecodeQueue&) = delete;

    qsizetype size() const;
    // The picture of paths[index]. Until it is ready, this thread decodes the next picture
    // nobody has started on (that one or a later one), and waits only when every picture has
    // been started; the window thread waits painting instead. Taking the indexes in ascending
    // order keeps every thread busy.
    std::optional<QImage> take(qsizetype index);

  private:
    struct State;
    std::shared_ptr<State> state_;
    bool windowThread_ = false; // made on the window thread, which takes
    int helpers_ = 0;
};
