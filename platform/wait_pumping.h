// SPDX-License-Identifier: MIT
#pragma once
// The one waiting primitive of the program: wait a number of milliseconds while the windows stay
// alive, ending early when a handler that ran meanwhile sets the interrupt flag. Handlers may start
// further waits inside a wait. The clock is replaceable, so that tests of the playback can let
// time pass without sleeping.

#include <QtGlobal>

#include <functional>

class QObject;

enum class WaitEnd {
    TimeUp,      // the time has passed
    Interrupted, // the interrupt condition became true
    Quitting,    // the application is quitting: every wait ends at once from now on
};

class WaitClock {
  public:
    virtual ~WaitClock() = default;
    // Milliseconds since an arbitrary start.
    virtual qint64 nowMs() = 0;
    // Processes window events until `ms` milliseconds of this clock have passed or `interrupted`
    // returns true. The pending events are processed at least once, also for 0 ms.
    virtual WaitEnd pump(int ms, const std::function<bool()>& interrupted) = 0;
    // Runs `action` on the window thread once `ms` milliseconds of this clock have passed, unless
    // `context` has been destroyed by then.
    virtual void callAfter(int ms, QObject* context, std::function<void()> action);
};

// The clock of the waits: the real one unless a test has put another in place.
WaitClock& waitClock();
// nullptr brings the real clock back.
void setWaitClock(WaitClock* clock);

// Clears waitInterrupt, then processes window events until it is set or ms milliseconds have passed.
// With an owner, the wait also ends (Interrupted) once the owner has been destroyed by a handler that
// ran meanwhile, and then no longer reads the flag, which may have gone with it.
WaitEnd WaitPumping(int ms, bool& waitInterrupt, QObject* owner = nullptr);
