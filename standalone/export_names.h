// SPDX-License-Identifier: MIT
#pragma once
// The names and counts of a stand-alone export: the package's file name, which slides carry a
// picture or sound, which pictures are converted to QPX, and the prefix of the temporary names.

#include "package_programs.h"
#include "slide_record.h"

#include <QString>

class ShowDocument;

namespace ExportNames {

// The chosen file name with ".exe" appended when it has no extension at all; a name with another
// extension stays as it is.
QString withPackageExtension(const QString& chosen);

// The package's file name for the system it runs on: for Windows withPackageExtension(); for Linux
// the name without an extension ".exe" (in any case), and nothing appended.
QString packageName(const QString& chosen, PackagePlatform platform);

// The name the save dialog offers: the show file's name without its extension, "show" for a show
// never saved; for the platform as packageName() gives it.
QString defaultPackageName(const QString& showPath, PackagePlatform platform);

// A picture is converted to QPX when the extension of its file name (a dot in a folder's name does
// not count) is one of .bmp, .dib, .pcx, .png, .tga and .tif, or of today's formats .webp, .gif,
// .heic, .heif and .avif, in any case; a JPEG (.jpg, .jpeg, .jpe, .jif) or QPX picture is
// packed as it is.
bool needsConversion(const QString& imagePath);

// A slide names a picture: its ImageFile, trimmed, is neither empty nor "BLANK" in any case.
bool hasImage(const TSlideRecord& slide);
// A slide names a sound: its AudioFile, trimmed, is not empty (whether the file exists or not).
bool hasAudio(const TSlideRecord& slide);

int imageFileCount(const ShowDocument& show);
int audioFileCount(const ShowDocument& show);

// The stored paths of a slide as paths of this system.
QString imagePath(const TSlideRecord& slide);
QString audioPath(const TSlideRecord& slide);

// "~" followed by four and three random hexadecimal digits: the start of every temporary name.
QString temporaryPrefix();

} // namespace ExportNames
