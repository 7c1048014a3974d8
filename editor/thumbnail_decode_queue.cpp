// SPDX-License-Identifier: MIT
#include "thumbnail_decode_queue.h"

#include "work_wait.h"

#include <QCoreApplication>
#include <QThread>
#include <QThreadPool>

#include <condition_variable>
#include <mutex>
#include <vector>

namespace {
// Threads of the decodes' own. Qt's painting on the window thread hands parts of a large fill or
// scaling to the global pool and waits for them: decodes there would hold the window's painting.
Q_GLOBAL_STATIC(QThreadPool, decodeThreads)
} // namespace

struct ThumbnailDecodeQueue::State {
    QStringList paths;
    Decode decode;
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::optional<QImage>> pictures;
    std::vector<bool> done;
    qsizetype next = 0; // the first path nobody has started on
    int running = 0;    // helpers started or waiting to start
    bool stopped = false;

    // Decodes the next path on this thread; false when every path is taken or the queue stops.
    bool decodeNext(std::unique_lock<std::mutex>& lock) {
        if (stopped || next >= paths.size())
            return false;
        const qsizetype index = next++;
        // Taken under the lock and read only: a non-const look into the list may detach it while
        // another thread reads it.
        const QString path = paths.at(index);
        lock.unlock();
        std::optional<QImage> picture = decode(path);
        lock.lock();
        pictures[index] = std::move(picture);
        done[index] = true;
        changed.notify_all();
        return true;
    }

    void help() {
        std::unique_lock lock(mutex);
        while (decodeNext(lock)) {
        }
        --running;
        changed.notify_all();
    }
};

ThumbnailDecodeQueue::ThumbnailDecodeQueue(QStringList paths, Decode decode, QThreadPool* pool, int helpers)
    : state_(std::make_shared<State>()) {
    state_->pictures.resize(paths.size());
    state_->done.resize(paths.size(), false);
    state_->paths = std::move(paths);
    state_->decode = std::move(decode);
    if (!pool)
        pool = decodeThreads();
    const QCoreApplication* application = QCoreApplication::instance();
    windowThread_ = application && QThread::currentThread() == application->thread();
    // A window thread takes without decoding, so every thread of the pool joins in.
    if (helpers < 0)
        helpers = pool->maxThreadCount() - (windowThread_ ? 0 : 1);
    helpers = int(qMin<qsizetype>(helpers, state_->paths.size() - (windowThread_ ? 0 : 1)));
    helpers_ = helpers;
    for (int i = 0; i < helpers; ++i) {
        {
            const std::lock_guard lock(state_->mutex);
            ++state_->running;
        }
        // The helper keeps the state alive, so it may outlive the queue's own wait.
        pool->start([state = state_] { state->help(); });
    }
}

ThumbnailDecodeQueue::~ThumbnailDecodeQueue() {
    std::unique_lock lock(state_->mutex);
    state_->stopped = true;
    state_->changed.wait(lock, [this] { return state_->running == 0; });
}

qsizetype ThumbnailDecodeQueue::size() const {
    return state_->paths.size();
}

std::optional<QImage> ThumbnailDecodeQueue::take(qsizetype index) {
    State& state = *state_;
    std::unique_lock lock(state.mutex);
    if (windowThread_ && helpers_ > 0) {
        // The window thread decodes nothing: it paints while the helpers work.
        lock.unlock();
        imaging::waitForWork([&state, index](int ms) {
            std::unique_lock wait(state.mutex);
            return state.changed.wait_for(wait, std::chrono::milliseconds(ms),
                                          [&] { return bool(state.done[index]); });
        });
        lock.lock();
    }
    while (!state.done[index]) {
        // A picture further on is decoded rather than waited for: the helpers stay one picture
        // ahead, and the taking thread would otherwise only ever wait for them.
        if (state.decodeNext(lock))
            continue;
        state.changed.wait(lock);
    }
    return std::move(state.pictures[index]);
}
