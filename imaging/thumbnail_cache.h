// SPDX-License-Identifier: MIT
// The desktop's shared thumbnail cache, as freedesktop.org's shared thumbnail standard lays it out, which
// file managers, image viewers and photo managers on Linux share: PNG files named by the MD5 of the
// picture's URI in $XDG_CACHE_HOME/thumbnails/{normal,large,x-large,xx-large}/ (~/.cache/thumbnails
// without it), valid while their Thumb::URI and Thumb::MTime keys match the picture file and they are
// no larger than their folder's size. Safe on any thread.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>

namespace imaging {

class ThumbnailCache {
  public:
    // The largest side of an entry in `normal`, the folder entries are written to.
    static constexpr int NormalSize = 128;

    // The cache under $XDG_CACHE_HOME (or ~/.cache).
    static QString defaultRoot();
    explicit ThumbnailCache(QString root = defaultRoot());

    // What identifies a picture file in the cache.
    struct Key {
        QByteArray uri; // "file://" and the absolute path, escaped as a URI
        qint64 mtime = 0;
        qint64 size = 0;
        QString entryName;  // MD5 of the URI in hexadecimal, and ".png"
        bool valid = false; // a regular file outside the cache itself
    };
    Key keyFor(const QString& path) const;

    struct Entry {
        QImage picture;    // upright, by the entry's own EXIF chunk where it has one
        QSize pictureSize; // the original picture's size as the entry records it; invalid when it does
                           // not, or records a size of other proportions than the entry's
    };
    // The first entry of normal, large, x-large and xx-large whose keys match and that `enough` accepts.
    std::optional<Entry> find(const Key& key, const std::function<bool(const Entry&)>& enough) const;
    // Whether a failure entry of this version of the program says the file could not be read as a
    // picture. The folder of failure entries is named after the version, as the standard asks, so that
    // a version that reads more pictures tries them again.
    bool failed(const Key& key) const;
    static QString failureFolder(); // "fail/verasco-" and the version

    // Writes the `normal` entry from the upright picture (shrunk to 128 pixels at most) and the
    // original's size; a failure entry for a file that is no picture (for its own data: not for a
    // picture refused for a passing cause, see DecodeFailure). Each is written under a
    // temporary name and renamed, mode 0600, in folders made with mode 0700. False when it could not
    // be written (a read-only cache changes nothing but speed).
    bool store(const Key& key, const QImage& picture, QSize pictureSize) const;
    bool storeFailure(const Key& key) const;

    // The escaped URI of an absolute path.
    static QByteArray fileUri(const QString& absolutePath);

  private:
    bool write(const QString& folder, const Key& key, const QImage& picture, QSize pictureSize) const;

    QString root_;
    QString canonicalRoot_;
};

} // namespace imaging
