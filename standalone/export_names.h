// SPDX-License-Identifier: MIT
#pragma once
// The names and counts of a stand-alone export: the package's file name, which slides carry a
// picture or sound, which pictures are converted to QPX, and the prefix of the temporary names.

#include "slide_record.h"

#include <QString>

class ShowDocument;

namespace ExportNames {

// The chosen file name with ".exe" appended when it has no extension at all; a name with another
// extension stays as it is.
QString withPackageExtension(const QString& chosen);

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
