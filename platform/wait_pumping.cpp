// SPDX-License-Identifier: MIT
#include "wait_pumping.h"

#include <QAbstractEventDispatcher>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>

namespace {

// A nested event loop with a precise timer for the time. The loop checks the interrupt each time
// it has processed what was pending and is about to wait for more, so a handler that sets the flag
// ends the wait as soon as it returns. An application that quits ends every nested loop; from then
// on exec() returns at once, which the waits report as Quitting.
class RealWaitClock : public WaitClock {
  public:
    RealWaitClock() { started_.start(); }

    qint64 nowMs() override { return started_.elapsed(); }

    WaitEnd pump(int ms, const std::function<bool()>& interrupted) override {
        enum Exit { TimeUpExit = 1, InterruptedExit = 2 };
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, &loop, [&loop] { loop.exit(TimeUpExit); });
        QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &loop,
                         [&loop, &interrupted] {
                             if (interrupted())
                                 loop.exit(InterruptedExit);
                         });
        timer.start(qMax(ms, 0));
        switch (loop.exec()) {
        case TimeUpExit:
            return interrupted() ? WaitEnd::Interrupted : WaitEnd::TimeUp;
        case InterruptedExit:
            return WaitEnd::Interrupted;
        default:
            return WaitEnd::Quitting;
        }
    }

  private:
    QElapsedTimer started_;
};

WaitClock* replacement = nullptr;

} // namespace

void WaitClock::callAfter(int ms, QObject* context, std::function<void()> action) {
    QTimer::singleShot(qMax(ms, 0), Qt::PreciseTimer, context, std::move(action));
}

WaitClock& waitClock() {
    static RealWaitClock real;
    return replacement ? *replacement : real;
}

void setWaitClock(WaitClock* clock) {
    replacement = clock;
}

WaitEnd WaitPumping(int ms, bool& waitInterrupt, QObject* owner) {
    waitInterrupt = false;
    const QPointer<QObject> alive(owner);
    return waitClock().pump(ms,
                            [&waitInterrupt, &alive, owner] { return (owner && !alive) || waitInterrupt; });
}
