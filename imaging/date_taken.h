// SPDX-License-Identifier: MIT
#pragma once
// When the picture in a file was taken, for sorting a show by it: the EXIF date of JPEG, TIFF and
// WebP files, else the file's modification time. The date of each file is read once and kept for
// as long as the file keeps its size and modification time; a file read anyway to be decoded has its
// date noted then, so that a sort afterwards reads no file again.

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace imaging {

// In milliseconds since 1970 UTC; nothing for a file that is not there or is no regular file.
std::optional<qint64> dateTaken(const QString& path);

// Notes the date of the file at `path`, whose whole content `bytes` was just read.
void noteDateTaken(const QString& path, QByteArrayView bytes);

// How many times dateTaken() has read a file: the tests and the bench see that a date is kept.
quint64 dateReadCount();
// Of those, how many on the calling thread: the window thread reads none.
quint64 dateReadsOnThisThreadCount();

} // namespace imaging
