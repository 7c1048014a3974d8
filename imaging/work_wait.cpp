// SPDX-License-Identifier: MIT
#include "work_wait.h"

#include <QCoreApplication>
#include <QThread>

namespace imaging {

void waitForWork(const std::function<bool(int ms)>& done, const std::function<void()>& between) {
    const QCoreApplication* application = QCoreApplication::instance();
    const bool windowThread = application && QThread::currentThread() == application->thread();
    // Short enough that the windows paint as they would without the wait.
    constexpr int LookMs = 10;
    for (;;) {
        const bool ended = done(windowThread ? LookMs : 100);
        if (between)
            between();
        if (ended)
            return;
        if (windowThread)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                            QEventLoop::ExcludeSocketNotifiers);
    }
}

} // namespace imaging
