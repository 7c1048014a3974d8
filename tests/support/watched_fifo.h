// SPDX-License-Identifier: MIT
#pragma once
// A FIFO that the program must never open: opening it for reading waits for a writer for good. A
// thread watches it, and once a reader has it open, opens and closes its writing end, so that the
// reader goes on to an empty file and the test fails (opened()) instead of hanging.

#include <QFile>
#include <QString>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

class WatchedFifo {
  public:
    explicit WatchedFifo(const QString& path) : path_(QFile::encodeName(path)) {
        made_ = ::mkfifo(path_.constData(), 0600) == 0;
        watcher_ = std::thread([this] {
            while (!stop_) {
                // Without a reader, a writer's non-blocking open fails.
                if (const int fd = ::open(path_.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC); fd >= 0) {
                    opened_ = true;
                    ::close(fd);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        });
    }
    ~WatchedFifo() {
        stop_ = true;
        watcher_.join();
    }
    WatchedFifo(const WatchedFifo&) = delete;
    WatchedFifo& operator=(const WatchedFifo&) = delete;

    bool made() const { return made_; }
    // Whether anything opened it for reading.
    bool opened() const { return opened_; }

  private:
    QByteArray path_;
    bool made_ = false;
    std::atomic<bool> stop_{false};
    std::atomic<bool> opened_{false};
    std::thread watcher_;
};
