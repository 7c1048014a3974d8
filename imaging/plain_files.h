// Reading the program's files (pictures, shows): only regular files are read, and an open never waits
// for a FIFO's writer or a device.
#pragma once

#include <QString>

class QFile;

namespace imaging {

// Opens `path` for reading when it names a regular file (links followed). A FIFO, a device, a socket
// or a folder is refused unread. The open does not block, and the kind of file is checked on the open
// descriptor, so a name swapped for a FIFO or a device after a first look is refused too. On failure
// `file` stays closed and *error says why.
bool openRegularFile(QFile& file, const QString& path, QString* error = nullptr);

} // namespace imaging
