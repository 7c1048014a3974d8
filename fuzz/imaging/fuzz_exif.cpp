// SPDX-License-Identifier: MIT
// The metadata readers on arbitrary bytes: the JPEG segments before the picture, the EXIF orientation,
// date taken and thumbnail of TIFF-structured data, a WebP file's EXIF chunk, a HEIF file's EXIF block, its
// turning properties and the coded size of its HEVC and AV1 pictures. None may read outside the bytes; what
// they return lies inside them.
#include "exif_reader.h"
#include "heif_coded_size.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void insideOrAbort(QByteArrayView part, QByteArrayView whole) {
    if (!part.isEmpty() &&
        (part.data() < whole.data() || part.data() + part.size() > whole.data() + whole.size()))
        std::abort();
}

void checkTiff(QByteArrayView tiff, QByteArrayView whole) {
    const int orientation = imaging::tiffOrientation(tiff);
    if (orientation < 1 || orientation > 8)
        std::abort();
    insideOrAbort(imaging::exifThumbnail(tiff), whole);
    // Any date at all, or none: what matters is that it is read inside the bytes.
    static_cast<void>(imaging::tiffDateTaken(tiff));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    checkTiff(bytes, bytes);
    const imaging::JpegHead head = imaging::readJpegHead(bytes);
    insideOrAbort(head.exif, bytes);
    checkTiff(head.exif, bytes);
    const QByteArrayView webp = imaging::webpExif(bytes);
    insideOrAbort(webp, bytes);
    checkTiff(webp, bytes);
    const QByteArrayView heif = imaging::heifExifTiff(bytes);
    insideOrAbort(heif, bytes);
    checkTiff(heif, bytes);
    imaging::heifTransformsItself(bytes);
    imaging::heifCodedSizesWithinDeclared(bytes);
    return 0;
}
