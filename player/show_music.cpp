// SPDX-License-Identifier: MIT
#include "show_music.h"

#include "media_device.h"
#include "wait_pumping.h"

#include <QFileInfo>
#include <QPointer>
#include <QScopedValueRollback>
#include <QTimer>

#include <utility>

ShowMusic::ShowMusic(MediaDevice& music, const MediaDevice& slideSound, QObject* parent)
    : QObject(parent), music_(music), slideSound_(slideSound), timer_(new QTimer(this)) {
    timer_->setInterval(TickMs);
    connect(timer_, &QTimer::timeout, this, &ShowMusic::tick);
}

void ShowMusic::start(const QStringList& paths, bool loop, int fadeMs) {
    stop();
    paths_ = paths;
    loop_ = loop;
    fadeMs_ = fadeMs;
    showEndMs_ = -1;
    if (paths_.isEmpty())
        return;
    playing_ = true;
    music_.setVolume(targetVolume(waitClock().nowMs()));
    if (playFrom(0))
        timer_->start();
}

void ShowMusic::stop() {
    timer_->stop();
    const bool wasPlaying = std::exchange(playing_, false);
    current_ = -1;
    if (wasPlaying)
        music_.close();
}

qreal ShowMusic::targetVolume(qint64 nowMs) const {
    const double left = showEndMs_ >= 0 ? double(showEndMs_ - nowMs) : MusicLevel::NoEnd;
    return MusicLevel::at(slideSound_.isPlaying(), left, fadeMs_);
}

bool ShowMusic::playFrom(int index) {
    const QPointer<ShowMusic> self(this);
    const QScopedValueRollback<bool> busy(opening_, true);
    for (int tried = 0; tried < paths_.size(); ++tried, ++index) {
        if (index >= paths_.size()) {
            if (!loop_)
                break;
            index = 0;
        }
        // The open processes events: the show may have stopped meanwhile.
        const QString& path = paths_[index];
        const bool opened = QFileInfo(path).isFile() && music_.open(path);
        if (!self || !playing_)
            return false;
        if (opened && music_.play()) {
            current_ = index;
            return true;
        }
    }
    stop();
    return false;
}

void ShowMusic::tick() {
    if (!playing_ || opening_)
        return;
    music_.setVolume(targetVolume(waitClock().nowMs()));
    if (!music_.isPlaying())
        playFrom(current_ + 1);
}
