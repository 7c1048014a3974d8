// SPDX-License-Identifier: MIT
// Reads what the program needs from the metadata that photographs carry: the EXIF orientation (of
// JPEG, TIFF, WebP and HEIF files), when the picture was taken, the small JPEG picture a camera stores in the
// EXIF data, the size a JPEG's frame header gives, and whether a HEIF file turns its picture through its own
// properties. Every offset and count is checked against the bytes given: nothing is read outside them, and
// data that does not add up reads as "nothing there".
#pragma once

#include <QByteArrayView>
#include <QSize>

#include <optional>

namespace imaging {

// The orientation (1 to 8, as EXIF numbers them) in TIFF-structured data: a TIFF file, or the EXIF
// data of another format. 1 when there is none or it is out of range.
int tiffOrientation(QByteArrayView tiff);

// When the picture was taken, in milliseconds since 1970 UTC: the EXIF DateTimeOriginal with its
// SubSecTimeOriginal and OffsetTimeOriginal, in TIFF-structured data. Without an offset the time is
// read as this system's local time. Nothing when there is none or it is no valid date.
std::optional<qint64> tiffDateTaken(QByteArrayView tiff);

// The picture's description, ImageDescription, in TIFF-structured data; empty when there is none.
QByteArrayView tiffDescription(QByteArrayView tiff);

// The JPEG picture stored with EXIF data (its second directory); empty when there is none.
QByteArrayView exifThumbnail(QByteArrayView tiff);

// What the segments of a JPEG file before its picture data say.
struct JpegHead {
    QSize size;          // from the frame header; invalid when `head` ends before it
    QByteArrayView exif; // the TIFF-structured data of the EXIF segment; empty when there is none
    QByteArrayView xmp;  // the XMP packet; empty when there is none
};
// `head` is the file or its first bytes.
JpegHead readJpegHead(QByteArrayView head);

// The TIFF-structured data of a WebP file's EXIF chunk; empty when there is none.
QByteArrayView webpExif(QByteArrayView webp);

// The TIFF-structured data of an EXIF block as a HEIF file holds it: a 4-byte offset to the TIFF
// header, then the data.
QByteArrayView heifExifTiff(QByteArrayView block);

// Whether a HEIF file rotates or mirrors its picture through its own properties (irot, imir); its
// EXIF orientation then only records how the camera was held and must not be applied again.
bool heifTransformsItself(QByteArrayView heif);

} // namespace imaging
