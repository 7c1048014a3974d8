#pragma once
// For start-up measurements: ends the program once a window has painted itself for the first time,
// which is when a person sees it.

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>

class QuitWhenPainted : public QObject {
public:
    explicit QuitWhenPainted(QObject* window) : QObject(window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !quitting_) {
            quitting_ = true;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool quitting_ = false;
};
