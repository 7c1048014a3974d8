// SPDX-License-Identifier: MIT
#pragma once
// What a video or web page export gets from its caller while it runs on a thread of its own, and
// what it gives back.

#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>

namespace sharing {

struct ShareControl {
    const std::atomic<bool>* cancel = nullptr; // set by the caller to stop the work
    // How far the work is, called on the work's thread.
    std::function<void(std::int64_t done, std::int64_t total)> progress;

    bool cancelled() const { return cancel && cancel->load(); }
    const std::atomic<bool>& cancelFlag() const {
        static const std::atomic<bool> never{false};
        return cancel ? *cancel : never;
    }
    void report(std::int64_t done, std::int64_t total) const {
        if (progress)
            progress(done, total);
    }
};

struct ShareOutcome {
    enum Result { Done, Cancelled, Failed };
    Result result = Done;
    // Why it failed: a file and the system's words for what went wrong. Once done, what was left out
    // of what was written (empty: nothing).
    QString reason;

    static ShareOutcome failed(const QString& why) { return {Failed, why}; }
};

} // namespace sharing
