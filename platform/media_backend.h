// SPDX-License-Identifier: MIT
#pragma once
// What the media device asks of the module that plays sound. The module (platform/media/) is built
// on Qt Multimedia and loaded on the first open, so that the program does not load the multimedia
// and network libraries at every start. Both sides are built from this header by the same build.

#include <QString>

class MediaBackend {
  public:
    enum class Status { Loading, Ready, Failed };

    virtual ~MediaBackend() = default;
    // Drops the file loaded before (ending its sound) and starts loading `path`; returns at once.
    virtual void load(const QString& path) = 0;
    // Drops the loaded file.
    virtual void unload() = 0;
    virtual Status status() const = 0;
    virtual qint64 durationMs() const = 0;
    virtual qint64 positionMs() const = 0;
    virtual bool isPlaying() const = 0;
    // From `fromMs` into the file (0: its beginning), in the background.
    virtual void play(qint64 fromMs) = 0;
    virtual void stop() = 0;
    // The loudness of what plays, 0 (silent) to 1 (as recorded).
    virtual void setVolume(float volume) = 0;
};

// The module's one exported function makes its backend; the caller owns it.
using CreateMediaBackend = MediaBackend* (*)();
inline constexpr char CreateMediaBackendName[] = "verascoCreateMediaBackend";
inline constexpr char MediaModuleName[] = "verasco_media";
