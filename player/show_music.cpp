// SPDX-License-Identifier: MIT
#include "show_music.h"

#include "media_device.h"
#include "wait_pumping.h"

#include <QFileInfo>
#include <QPointer>
#include <QTimer>

#include <utility>

ShowMusic::ShowMusic(MediaDevice& music, const MediaDevice& slideSound, QObject* parent)
    : QObject(parent), music_(music), slideSound_(slideSound), timer_(new QTimer(this)) {
    timer_->setInterval(TickMs);
    connect(timer_, &QTimer::timeout, this, &ShowMusic::tick);
}

void ShowMusic::start(const QStringList& paths, bool loop, int fadeMs, qint64 atMs) {
    stop();
    paths_ = paths;
    lengths_ = QList<qint64>(paths.size(), -1);
    loop_ = loop;
    fadeMs_ = fadeMs;
    showEndMs_ = -1;
    seek(atMs);
}

void ShowMusic::seek(qint64 atMs) {
    if (paths_.isEmpty() || opening_)
        return;
    playing_ = true;
    music_.setVolume(targetVolume(waitClock().nowMs()));
    if (busy([this, atMs] { return playAt(qMax<qint64>(0, atMs)); }))
        timer_->start();
}

// Opening a file processes events: meanwhile the tick leaves the music alone, and the music may go.
bool ShowMusic::busy(const std::function<bool()>& work) {
    const QPointer<ShowMusic> self(this);
    opening_ = true;
    const bool done = work();
    if (self)
        opening_ = false;
    return done;
}

void ShowMusic::stop() {
    rest();
    paths_.clear();
    lengths_.clear();
}

void ShowMusic::rest() {
    timer_->stop();
    const bool wasPlaying = std::exchange(playing_, false);
    current_ = -1;
    open_ = -1;
    if (wasPlaying)
        music_.close();
}

qreal ShowMusic::targetVolume(qint64 nowMs) const {
    const double left = showEndMs_ >= 0 ? double(showEndMs_ - nowMs) : MusicLevel::NoEnd;
    return MusicLevel::at(slideSound_.isPlaying(), left, fadeMs_, level_);
}

bool ShowMusic::lengthOf(int index, qint64* length) {
    if (lengths_[index] < 0) {
        // The open processes events: the show may have stopped meanwhile.
        const QPointer<ShowMusic> self(this);
        const QString path = paths_[index];
        const bool opened = QFileInfo(path).isFile() && music_.open(path);
        if (!self || !playing_)
            return false;
        open_ = opened ? index : -1;
        lengths_[index] = opened ? qMax<qint64>(0, music_.length()) : 0;
        if (lengths_[index] == 0 && passedOver_)
            passedOver_(path);
    }
    *length = lengths_[index];
    return true;
}

bool ShowMusic::playFile(int index, qint64 fromMs) {
    qint64 length = 0;
    if (open_ != index) {
        lengths_[index] = -1;
        if (!lengthOf(index, &length) || length <= 0)
            return false;
    }
    if (!music_.play(fromMs))
        return false;
    current_ = index;
    return true;
}

bool ShowMusic::playFrom(int index) {
    const QPointer<ShowMusic> self(this);
    for (int tried = 0; tried < paths_.size(); ++tried, ++index) {
        if (index >= paths_.size()) {
            if (!loop_)
                break;
            index = 0;
        }
        if (lengths_[index] != 0 && playFile(index, 0))
            return true;
        if (!self || !playing_)
            return false;
    }
    rest();
    return false;
}

// The files one after another, again and again in a looping show; those that cannot be played take
// no time.
bool ShowMusic::playAt(qint64 atMs) {
    const QPointer<ShowMusic> self(this);
    qint64 left = atMs;
    for (int pass = 0; pass < 2; ++pass) {
        qint64 total = 0;
        for (int index = 0; index < paths_.size(); ++index) {
            qint64 length = 0;
            if (!lengthOf(index, &length))
                return false;
            if (length <= 0)
                continue;
            total += length;
            if (left < length && playFile(index, left))
                return true;
            if (!self || !playing_)
                return false;
            left = qMax<qint64>(0, left - length);
        }
        if (!loop_ || total == 0)
            break;
        left %= total;
    }
    rest();
    return false;
}

void ShowMusic::tick() {
    if (!playing_ || opening_)
        return;
    music_.setVolume(targetVolume(waitClock().nowMs()));
    if (!music_.isPlaying())
        busy([this] { return playFrom(current_ + 1); });
}
