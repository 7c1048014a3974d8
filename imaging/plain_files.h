// SPDX-License-Identifier: MIT
// Reading and writing the program's files (pictures, sounds, shows): only regular files are read, an
// open never waits for a FIFO's writer or a device, and a written file is replaced whole or left as
// it was.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

class QFile;

namespace imaging {

// The most bytes read from a file of each kind that the program did not write itself. Honest files
// stay far below; a file's reported size is never trusted, since procfs files report 0 and some of
// them never end.
inline constexpr qint64 PictureFileLimit = 512LL * 1024 * 1024;
inline constexpr qint64 SoundFileLimit = 2048LL * 1024 * 1024;
inline constexpr qint64 PaletteFileLimit = 1024 * 1024;

// Opens `path` for reading when it names a regular file (links followed). A FIFO, a device, a socket
// or a folder is refused unread. The open does not block, and the kind of file is checked on the open
// descriptor, so a name swapped for a FIFO or a device after a first look is refused too. On failure
// `file` stays closed and *error says why.
bool openRegularFile(QFile& file, const QString& path, QString* error = nullptr);

// Why reading a file that reported `reported` bytes must stop once `read` bytes came from it: more
// than `limit` ("file too large (over 512 MB)"), or more than it reported (a procfs file reports 0
// and may never end; a file still being written is caught in the middle). Empty while reading may
// go on.
QString overrunReason(qint64 read, qint64 reported, qint64 limit);

// The rest of an open file when it holds at most `limit` bytes and no more than it reports. Reading
// stops one byte past the smaller of the two, so neither a false size nor an endless file costs
// more; a longer file is refused with overrunReason(). On failure *error says why.
std::optional<QByteArray> readAtMost(QFile& file, qint64 limit, QString* error = nullptr);

// A regular file's whole content (openRegularFile, then readAtMost).
std::optional<QByteArray> readRegularFile(const QString& path, qint64 limit, QString* error = nullptr);

// Copies the regular file `from` of at most `limit` bytes, with its permissions, to the new file `to`;
// empty, or why it could not. The copy stops within a block past the limit or the size the file
// reported, so that an endless file fills no disk.
QString copyRegularFile(const QString& from, const QString& to, qint64 limit);

// Writes all of `bytes` to a file opened unbuffered. A write cut short (a full disk, a file-size
// limit) reports no error, so the rest is written again until the system says why it cannot be:
// on failure the file's errorString() gives the system's reason.
bool writeAll(QFile& file, const char* bytes, qint64 size);

struct FileWrite {
    bool ok = true;
    bool folderRefused = false; // the folder lets no new file be made in it
    QString error;              // the system's reason, when not ok
};

// Makes `bytes` the whole content of `path`. They go into a new file beside it that takes the old
// file's place only once everything is written and on the disk, so an earlier file is replaced whole
// or left untouched, also when the disk is full, a file-size limit is reached or the program is ended
// meanwhile (work of that kind left in the folder by a program that ended is removed by the next
// write there, see work_files.h). An earlier file keeps its permissions; a link is followed to the file it
// names. A file that its user may not write is not replaced, and a folder that refuses new files is reported
// as such: nothing is ever written in place.
FileWrite writeWholeFile(const QString& path, QByteArrayView bytes);

} // namespace imaging
