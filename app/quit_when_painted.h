// SPDX-License-Identifier: MIT
#pragma once
// For start-up measurements: once a window has painted itself for the first time, which is when a
// person sees it, writes the line "shown" to standard output and ends the program.

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>

#include <cstdio>

class QuitWhenPainted : public QObject {
  public:
    explicit QuitWhenPainted(QObject* window) : QObject(window) { window->installEventFilter(this); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !quitting_) {
            quitting_ = true;
            // Queued: the line goes out once the whole window, children included, has been painted.
            QTimer::singleShot(0, qApp, [] {
                std::fputs("shown\n", stdout);
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    bool quitting_ = false;
};
