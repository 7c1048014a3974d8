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

// The bytes a date is read from, but for a WebP file: the EXIF data of a JPEG comes before its
// picture, and a TIFF's directories are near its start in the files cameras write; a WebP keeps its
// EXIF chunk after the picture.
inline constexpr qint64 DateHeadBytes = 256 * 1024;

// In milliseconds since 1970 UTC; nothing for a file that is not there or is no regular file.
std::optional<qint64> dateTaken(const QString& path);

// Notes the date of the file at `path`, whose whole content `bytes` was just read (or its first
// DateHeadBytes, for a file other than WebP).
void noteDateTaken(const QString& path, QByteArrayView bytes);

// How many times dateTaken() has read a file: the tests and the bench see that a date is kept.
quint64 dateReadCount();
// Of those, how many on the calling thread: the window thread reads none.
quint64 dateReadsOnThisThreadCount();

} // namespace imaging
