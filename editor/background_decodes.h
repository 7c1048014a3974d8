// SPDX-License-Identifier: MIT
#pragma once
// Pictures decoded on threads of their own while the thread that asked goes on: each one asked for
// is handed to `arrived` on the thread that made this object, through its event loop, the lowest
// key first among those waiting. What is no longer wanted is dropped before it starts; what was
// asked for before clear() never arrives.

#include <QImage>
#include <QObject>
#include <QThreadPool>

#include <functional>
#include <map>
#include <memory>
#include <optional>

class BackgroundDecodes : public QObject {
  public:
    // Runs on one of the threads; nothing when the picture cannot be decoded.
    using Decode = std::function<std::optional<QImage>()>;
    using Arrived = std::function<void(int key, std::optional<QImage> picture)>;

    explicit BackgroundDecodes(Arrived arrived, int threads = QThread::idealThreadCount());
    // Drops what has not started and waits for what has; nothing more arrives.
    ~BackgroundDecodes() override;
    BackgroundDecodes(const BackgroundDecodes&) = delete;
    BackgroundDecodes& operator=(const BackgroundDecodes&) = delete;

    // Asks for a picture; nothing when one for this key is on its way.
    void want(int key, Decode decode);
    // Drops the pictures not yet started whose keys lie outside first..last.
    void keepOnly(int first, int last);
    // Drops every picture not yet started; those being decoded never arrive.
    void clear();

  private:
    struct State;
    void deliver(int key, int generation, std::optional<QImage> picture);

    Arrived arrived_;
    std::shared_ptr<State> state_;
    QThreadPool pool_;
};
