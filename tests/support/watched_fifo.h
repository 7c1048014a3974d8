// SPDX-License-Identifier: MIT
#pragma once
// A FIFO that the program must never open: opened for reading, it waits for a writer for good. A
// thread opens and closes its writing end whenever a reader has it open, so that the reader goes on
// to an empty file and the test fails (opened()) instead of hanging.

#include <QFile>
#include <QString>

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

class WatchedFifo {
  public:
    explicit WatchedFifo(const QString& path) : path_(QFile::encodeName(path)) {
        made_ = ::mkfifo(path_.constData(), 0600) == 0;
        watcher_ = std::thread([this] {
            // Without a reader, a writer's non-blocking open fails.
            for (int fd; !stop_; ::usleep(2000))
                if ((fd = ::open(path_.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC)) >= 0) {
                    ::close(fd);
                    opened_ = true;
                }
        });
    }
    ~WatchedFifo() {
        stop_ = true;
        watcher_.join();
    }
    bool made() const { return made_; }
    bool opened() const { return opened_; }

  private:
    QByteArray path_;
    bool made_ = false;
    std::atomic<bool> stop_{false}, opened_{false};
    std::thread watcher_;
};
