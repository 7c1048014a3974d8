// SPDX-License-Identifier: MIT
#include "background_decodes.h"

#include <mutex>
#include <set>

struct BackgroundDecodes::State {
    std::mutex mutex;
    std::map<int, Decode> waiting; // by key: the lowest starts first
    std::set<int> asked;           // waiting or being decoded, since the last clear()
    int generation = 0;            // counts the clear() calls
    int workers = 0;               // started on the pool and not yet ended
    int maxWorkers = 1;
};

BackgroundDecodes::BackgroundDecodes(Arrived arrived, int threads)
    : arrived_(std::move(arrived)), state_(std::make_shared<State>()) {
    state_->maxWorkers = std::max(1, threads);
    pool_.setMaxThreadCount(state_->maxWorkers);
}

BackgroundDecodes::~BackgroundDecodes() {
    clear();
    pool_.waitForDone();
}

void BackgroundDecodes::want(int key, Decode decode) {
    State& state = *state_;
    const std::lock_guard lock(state.mutex);
    if (!state.asked.insert(key).second)
        return;
    state.waiting.emplace(key, std::move(decode));
    if (state.workers >= state.maxWorkers)
        return;
    ++state.workers;
    pool_.start([this, state = state_] {
        std::unique_lock lock(state->mutex);
        while (!state->waiting.empty()) {
            auto next = state->waiting.begin();
            const int key = next->first, generation = state->generation;
            const Decode decode = std::move(next->second);
            state->waiting.erase(next);
            lock.unlock();
            std::optional<QImage> picture = decode();
            // Queued to this object: it waits for the pool before it goes, and events for an
            // object that went are dropped.
            QMetaObject::invokeMethod(
                this,
                [this, key, generation, picture = std::move(picture)]() mutable {
                    deliver(key, generation, std::move(picture));
                },
                Qt::QueuedConnection);
            lock.lock();
        }
        --state->workers;
    });
}

void BackgroundDecodes::keepOnly(int first, int last) {
    State& state = *state_;
    const std::lock_guard lock(state.mutex);
    for (auto it = state.waiting.begin(); it != state.waiting.end();) {
        if (it->first >= first && it->first <= last) {
            ++it;
            continue;
        }
        state.asked.erase(it->first);
        it = state.waiting.erase(it);
    }
}

void BackgroundDecodes::clear() {
    State& state = *state_;
    const std::lock_guard lock(state.mutex);
    state.waiting.clear();
    state.asked.clear();
    ++state.generation;
}

void BackgroundDecodes::deliver(int key, int generation, std::optional<QImage> picture) {
    {
        State& state = *state_;
        const std::lock_guard lock(state.mutex);
        if (generation != state.generation)
            return;
        state.asked.erase(key);
    }
    arrived_(key, std::move(picture));
}
