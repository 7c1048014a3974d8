// SPDX-License-Identifier: MIT
// Reading and writing the program's files (pictures, sounds, shows): only regular files are read, an
// open never waits for a FIFO's writer or a device, and a written file is replaced whole or left as
// it was.
#pragma once

#include <QByteArrayView>
#include <QString>

class QFile;

namespace imaging {

// Opens `path` for reading when it names a regular file (links followed). A FIFO, a device, a socket
// or a folder is refused unread. The open does not block, and the kind of file is checked on the open
// descriptor, so a name swapped for a FIFO or a device after a first look is refused too. On failure
// `file` stays closed and *error says why.
bool openRegularFile(QFile& file, const QString& path, QString* error = nullptr);

struct FileWrite {
    bool ok = true;
    bool folderRefused = false; // the folder lets no new file be made in it
    QString error;              // the system's reason, when not ok
};

// Makes `bytes` the whole content of `path`. They go into a new file beside it that takes the old
// file's place only once everything is written and on the disk, so an earlier file is replaced whole
// or left untouched, also when the disk is full, a file-size limit is reached or the program is ended
// meanwhile. An earlier file keeps its permissions; a link is followed to the file it names. A file
// that its user may not write is not replaced, and a folder that refuses new files is reported as
// such: nothing is ever written in place.
FileWrite writeWholeFile(const QString& path, QByteArrayView bytes);

} // namespace imaging
