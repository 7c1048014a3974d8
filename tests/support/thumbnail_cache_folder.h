// SPDX-License-Identifier: MIT
#pragma once
// Points the shared thumbnail cache ($XDG_CACHE_HOME) at an empty folder of its own while it lives, so
// that a test can read the same pictures twice, each time without entries, or look at what was written.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>

class ThumbnailCacheFolder {
  public:
    ThumbnailCacheFolder() : previous_(qgetenv("XDG_CACHE_HOME")) {
        qputenv("XDG_CACHE_HOME", QFile::encodeName(dir_.path()));
    }
    ~ThumbnailCacheFolder() { qputenv("XDG_CACHE_HOME", previous_); }
    ThumbnailCacheFolder(const ThumbnailCacheFolder&) = delete;
    ThumbnailCacheFolder& operator=(const ThumbnailCacheFolder&) = delete;

    // $XDG_CACHE_HOME/thumbnails
    QString thumbnails() const { return dir_.filePath(QStringLiteral("thumbnails")); }
    QString path() const { return dir_.path(); }

  private:
    QTemporaryDir dir_;
    QByteArray previous_;
};
