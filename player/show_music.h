// SPDX-License-Identifier: MIT
#pragma once
// The show's music while the viewer plays: its files one after another from the moment the show
// starts playing, quieter while a slide's own sound plays, fading out over the show's last moments;
// in a looping show the music starts again after its last file. A file that cannot be played is
// passed over; no failure of the music reaches the user or stops the show.

#include "music_level.h"

#include <QObject>
#include <QStringList>

class MediaDevice;
class QTimer;

class ShowMusic : public QObject {
  public:
    // The music's loudness while a slide's own sound plays.
    static constexpr qreal DuckedVolume = MusicLevel::Ducked;
    // How often the loudness follows the slide's sound and the fade, and a file that ended is
    // followed by the next.
    static constexpr int TickMs = MusicLevel::TickMs;

    // `music` plays the music; `slideSound` is the device of the slides' own sounds.
    ShowMusic(MediaDevice& music, const MediaDevice& slideSound, QObject* parent = nullptr);

    // Plays the first file that can be played; `loop` starts the files again after the last.
    void start(const QStringList& paths, bool loop, int fadeMs);
    // The show is expected to end at this moment of the wait clock (-1: not in sight); the music
    // fades out over the fade time before it.
    void setShowEnd(qint64 endMs) { showEndMs_ = endMs; }
    void stop();
    bool isPlaying() const { return playing_; }

    // The loudness the music should have now: the slide's sound and the fade taken in.
    qreal targetVolume(qint64 nowMs) const;

  private:
    void tick();
    // Opens and plays the files from `index` on (after the last, from the first in a looping show);
    // false when none of them plays.
    bool playFrom(int index);

    MediaDevice& music_;
    const MediaDevice& slideSound_;
    QTimer* timer_;
    QStringList paths_;
    int current_ = -1;
    bool loop_ = false;
    bool playing_ = false;
    bool opening_ = false;
    int fadeMs_ = 0;
    qint64 showEndMs_ = -1;
};
