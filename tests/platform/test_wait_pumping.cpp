// SPDX-License-Identifier: MIT
// The program's one wait: it keeps events flowing, ends early on the interrupt flag set by a handler,
// nests, takes its time from a replaceable clock, and ends at once when the application quits.
#include "qt_application_environment.h"
#include "wait_pumping.h"

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

testing::Environment* const qtApplication =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment<QCoreApplication>);

// Long enough that a test which waited for it to pass would be stopped by the test's time limit.
constexpr int Forever = 10 * 60 * 1000;

// A short wait runs what is pending, even when no time is asked, and a flag set before the wait is
// cleared first rather than ending it.
TEST(WaitPumping, ShortWaitsRunPendingEventsAndClearAnEarlierFlag) {
    for (const auto& [ms, flagBefore] : {std::pair{0, false}, {1, false}, {1, true}}) {
        bool interrupt = flagBefore;
        bool ran = false;
        QTimer::singleShot(0, [&ran] { ran = true; });
        EXPECT_EQ(WaitPumping(ms, interrupt), WaitEnd::TimeUp) << ms << flagBefore;
        EXPECT_TRUE(ran) << ms << flagBefore;
        EXPECT_FALSE(interrupt) << ms << flagBefore;
    }
}

TEST(WaitPumping, AHandlerThatSetsTheFlagEndsTheWait) {
    bool interrupt = false;
    QTimer::singleShot(1, [&interrupt] { interrupt = true; });
    EXPECT_EQ(WaitPumping(Forever, interrupt), WaitEnd::Interrupted);
    EXPECT_TRUE(interrupt);
}

TEST(WaitPumping, WaitsNestInsideHandlers) {
    bool interrupt = false;
    std::vector<std::string> order;
    QTimer::singleShot(0, [&] {
        order.push_back("inner starts");
        EXPECT_EQ(WaitPumping(1, interrupt), WaitEnd::TimeUp);
        order.push_back("inner ends");
        interrupt = true;
    });
    EXPECT_EQ(WaitPumping(Forever, interrupt), WaitEnd::Interrupted);
    EXPECT_EQ(order, (std::vector<std::string>{"inner starts", "inner ends"}));
}

// The viewer's flags live with the window that waits; a handler that closes the program may take
// both away while the wait runs.
TEST(WaitPumping, AWaitWhoseOwnerIsDestroyedEndsWithoutReadingTheFlagAgain) {
    auto* owner = new QObject;
    auto* flag = new bool(false);
    QTimer::singleShot(0, [&] {
        delete owner;
        delete flag;
    });
    EXPECT_EQ(WaitPumping(Forever, *flag, owner), WaitEnd::Interrupted);
}

TEST(WaitPumping, TheClockCanBeReplaced) {
    struct InstantClock : WaitClock {
        qint64 now = 0;
        qint64 nowMs() override { return now; }
        WaitEnd pump(int ms, const std::function<bool()>& interrupted) override {
            QCoreApplication::processEvents();
            now += ms;
            return interrupted() ? WaitEnd::Interrupted : WaitEnd::TimeUp;
        }
    } clock;
    setWaitClock(&clock);
    bool interrupt = false;
    EXPECT_EQ(WaitPumping(Forever, interrupt), WaitEnd::TimeUp);
    EXPECT_EQ(waitClock().nowMs(), Forever);
    setWaitClock(nullptr);
    EXPECT_NE(&waitClock(), &clock);
}

// Quitting must not wait for the running waits: each ends, and so does every later one, so the
// code that waits can unwind and the application's own loop can return.
TEST(WaitPumping, QuittingEndsTheRunningWaitAndEveryLaterOne) {
    bool interrupt = false;
    std::vector<WaitEnd> ends;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(1, [] { QCoreApplication::quit(); });
        ends.push_back(WaitPumping(Forever, interrupt));
        ends.push_back(WaitPumping(Forever, interrupt));
    });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_EQ(ends, (std::vector<WaitEnd>{WaitEnd::Quitting, WaitEnd::Quitting}));
    // Once the application's loop has returned, waits work again.
    EXPECT_EQ(WaitPumping(0, interrupt), WaitEnd::TimeUp);
}

} // namespace
