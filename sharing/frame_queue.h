// SPDX-License-Identifier: MIT
#pragma once
// Frames handed from the thread that draws them to the thread that encodes them, a few at most, so
// that drawing runs ahead without holding the whole show.

#include <QImage>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

namespace sharing {

class FrameQueue {
  public:
    explicit FrameQueue(std::size_t capacity) : capacity_(capacity) {}

    // Waits for room; false once the queue is stopped.
    bool push(QImage frame) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return stopped_ || frames_.size() < capacity_; });
        if (stopped_)
            return false;
        frames_.push_back(std::move(frame));
        changed_.notify_all();
        return true;
    }

    // Waits for a frame; nothing once the queue is stopped.
    std::optional<QImage> pop() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return stopped_ || !frames_.empty(); });
        if (stopped_)
            return std::nullopt;
        QImage frame = std::move(frames_.front());
        frames_.pop_front();
        changed_.notify_all();
        return frame;
    }

    // Wakes and ends every wait, for good.
    void stop() {
        std::lock_guard lock(mutex_);
        stopped_ = true;
        changed_.notify_all();
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<QImage> frames_;
    std::size_t capacity_;
    bool stopped_ = false;
};

} // namespace sharing
