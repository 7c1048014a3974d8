// SPDX-License-Identifier: MIT
#pragma once
// The media device that plays slide audio: one sound file open at a time, its length and playing
// position in milliseconds, play in the background from the beginning or from a moment into the
// file, and stop. Opening a file
// closes the one open before, which ends its sound. A machine without a sound card plays all the
// same: the position then advances in real time. Where the media module cannot be loaded, no file
// opens and the program goes on without sound.

#include <QObject>
#include <QString>

#include <memory>

class MediaBackend;
using CreateMediaBackend = MediaBackend* (*)();

class MediaDevice : public QObject {
    Q_OBJECT
  public:
    static constexpr int DefaultOpenTimeoutMs = 3000;

    explicit MediaDevice(QObject* parent = nullptr);
    ~MediaDevice() override;

    // Closes the open file, then opens `path` and waits, processing events, until it is ready to play
    // or has failed, at most `timeoutMs` (or the device's open timeout). False, with no file open,
    // when it cannot be played.
    bool open(const QString& path) { return open(path, openTimeoutMs_); }
    bool open(const QString& path, int timeoutMs);
    // How long open() waits for a file to load; a machine that is very busy may need longer.
    void setOpenTimeoutMs(int ms) { openTimeoutMs_ = ms; }
    void close();
    bool isOpen() const { return open_; }

    // Of the open file; 0 when none is open.
    qint64 length() const { return open_ ? length_ : 0; }
    // How far the sound has got; the length once it no longer plays (it ended, was stopped or failed).
    qint64 position() const;
    bool isPlaying() const;

    // Starts the open file's sound from its beginning, or `fromMs` into it, and returns at once; false
    // when none is open or `fromMs` lies at or past its end.
    bool play(qint64 fromMs = 0);
    void stop();
    // The loudness, 0 (silent) to 1 (as recorded, the default); it stays for the files opened later.
    void setVolume(qreal volume);
    qreal volume() const { return volume_; }

  private:
    MediaBackend* backend(); // loads the module on first use; null when there is none

    std::unique_ptr<MediaBackend> backend_;
    bool open_ = false;
    qint64 length_ = 0;
    quint64 opening_ = 0; // counts the opens, so that an open overtaken by a later one gives up
    int openTimeoutMs_ = DefaultOpenTimeoutMs;
    qreal volume_ = 1.0;
};
