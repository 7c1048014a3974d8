// SPDX-License-Identifier: MIT
#pragma once
// The show's music while the viewer plays: its files one after another from the moment the show
// starts playing, quieter while a slide's own sound plays, fading out over the show's last moments;
// in a looping show the music starts again after its last file. A show started at a later slide, or
// moved to another one, takes the music up where it stands at that moment of the show. A file that
// cannot be played is passed over and named to whoever listens; no failure of the music stops the
// show.

#include "music_level.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <functional>

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

    // Plays the files as they stand `atMs` after their start (0: the first file that can be played
    // from its beginning); `loop` starts the files again after the last.
    void start(const QStringList& paths, bool loop, int fadeMs, qint64 atMs = 0);
    // The show has moved: the music goes on from where it stands `atMs` after its start, also when
    // it had run out before.
    void seek(qint64 atMs);
    // Told the path of each file passed over because it is not there or cannot be played, once a start.
    void onPassedOver(std::function<void(const QString& path)> tell) { passedOver_ = std::move(tell); }
    // The show is expected to end at this moment of the wait clock (-1: not in sight); the music
    // fades out over the fade time before it.
    void setShowEnd(qint64 endMs) { showEndMs_ = endMs; }
    // The show's level for its music, 0 to 1.
    void setLevel(double level) { level_ = level; }
    void stop();
    bool isPlaying() const { return playing_; }

    // The loudness the music should have now: the slide's sound and the fade taken in.
    qreal targetVolume(qint64 nowMs) const;

  private:
    void tick();
    // Opens and plays the files from `index` on (after the last, from the first in a looping show);
    // false when none of them plays.
    bool playFrom(int index);
    // Plays the file and the moment in it that lie `atMs` after the music's start; false when none.
    bool playAt(qint64 atMs);
    // The file's length, opening it when not known yet: 0 or below when it cannot be played. False
    // when, while the file opened, the music stopped or went away.
    bool lengthOf(int index, qint64* length);
    // Plays the file from `fromMs` on, opening it unless it is the one open.
    bool playFile(int index, qint64 fromMs);
    bool busy(const std::function<bool()>& work);
    // The music has run out or none of it plays: silent until a seek or a new start.
    void rest();

    MediaDevice& music_;
    const MediaDevice& slideSound_;
    QTimer* timer_;
    QStringList paths_;
    QList<qint64> lengths_; // of each file once opened; -1 not known yet, 0 cannot be played
    std::function<void(const QString&)> passedOver_;
    int current_ = -1;
    int open_ = -1; // the file the device has open
    bool loop_ = false;
    bool playing_ = false;
    bool opening_ = false;
    int fadeMs_ = 0;
    double level_ = 1.0;
    qint64 showEndMs_ = -1;
};
