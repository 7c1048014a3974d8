// SPDX-License-Identifier: MIT
#pragma once
// What the tests that open windows share: an application with its own settings folder, pictures
// and sounds written for a test, a hand for modal windows, and a clock that lets waits pass without
// sleeping.

#include "wait_pumping.h"

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <map>

// A QApplication for the whole program, with the settings kept in a folder of its own; on the
// offscreen platform's one screen, or on the screens of a list in the platform's JSON form.
class PlayerTestEnvironment : public testing::Environment {
  public:
    explicit PlayerTestEnvironment(QByteArray screens = {}) : screens_(std::move(screens)) {}
    void SetUp() override;
    void TearDown() override;

  private:
    QByteArray screens_;
};

// A picture of the given size in a plain colour, written as PNG (or JPEG for a ".jpg" name).
QString writePicture(const QTemporaryDir& dir, const QString& name, QSize size, QColor colour = Qt::darkCyan);
// A folder of that name below `dir` holding small pictures of the given names; its path.
QString writePictureFolder(const QTemporaryDir& dir, const QString& name, const QStringList& pictures);

// A mono 16-bit PCM WAV file of a quiet tone that lasts `ms` milliseconds.
QString writeWav(const QTemporaryDir& dir, const QString& name, int ms);

// Runs `action` once `window` is the active modal window (it is shown by code that is about to run).
// Deleting the returned timer gives up waiting.
QTimer* whenModal(QWidget* window, std::function<void()> action);

// Time that passes only while the program waits: each wait moves it straight to its end, or to the
// next action planned for an earlier moment, which then runs inside the wait. Waits nest.
class FakeWaitClock : public WaitClock {
  public:
    FakeWaitClock() { setWaitClock(this); }
    ~FakeWaitClock() override { setWaitClock(nullptr); }

    // Read from any thread (a decoder that takes the clock's time); moved on by the window thread.
    qint64 nowMs() override { return now_; }
    WaitEnd pump(int ms, const std::function<bool()>& interrupted) override;
    void callAfter(int ms, QObject* context, std::function<void()> action) override;
    // Runs `action` inside the wait that is running when the clock reaches `atMs`.
    void at(qint64 atMs, std::function<void()> action) { planned_.emplace(atMs, std::move(action)); }
    // Time that passes outside any wait, as while a large picture is decoded.
    void advance(qint64 ms) { now_ += ms; }
    // Drops the actions that have not run.
    void cancelPlanned() { planned_.clear(); }

  private:
    std::atomic<qint64> now_ = 0;
    std::multimap<qint64, std::function<void()>> planned_;
};
