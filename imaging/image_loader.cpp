// SPDX-License-Identifier: MIT
#include "image_loader.h"

#include "bmp_check.h"
#include "date_taken.h"
#include "exif_reader.h"
#include "heif_reader.h"
#include "image_format.h"
#include "jpeg_decoder.h"
#include "le_bytes.h"
#include "orientation.h"
#include "pcx_reader.h"
#include "plain_files.h"
#include "png_rows.h"
#include "tga_reader.h"
#include "tiff_rows.h"
#include "webp_reduced.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImageReader>

#include <atomic>
#include <mutex>

namespace imaging {

namespace {

std::atomic<quint64> decodeCounter{0};
thread_local quint64 decodesOnThisThread = 0;

void countDecode() {
    decodeCounter.fetch_add(1, std::memory_order_relaxed);
    ++decodesOnThisThread;
}

// The largest EXIF thumbnail read: cameras store 160 x 120, some up to 640 x 480.
constexpr int MaxExifThumbnailSide = 640;

LoadedImage failed(const QString& error, DecodeFailure kind, QSize size = {}) {
    LoadedImage r;
    r.error = error;
    r.failure = kind;
    r.fullSize = size;
    return r;
}

// Qt's readers keep the picture policy: the size their header declares is checked first, and their
// own allocation limit (128 MB unless set, a third of the policy) is raised to the policy's.
QImage readWithQt(QByteArrayView bytes, const char* format, QString* error, DecodeFailure* failure) {
    static std::once_flag limitSet;
    std::call_once(limitSet, [] { QImageReader::setAllocationLimit(QtReaderAllocationLimitMB); });
    QByteArray data = QByteArray::fromRawData(bytes.data(), bytes.size());
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (size.isValid() && !fitsPicturePolicy(size.width(), size.height())) {
        *error = QCoreApplication::translate("PictureReaders", "picture too large");
        *failure = DecodeFailure::TooLarge;
        return {};
    }
    QImage image = reader.read();
    if (image.isNull()) {
        *error = reader.errorString();
        *failure = reader.error() == QImageReader::UnsupportedFormatError ? DecodeFailure::NoCodec
                                                                          : DecodeFailure::BadData;
    }
    return image;
}

// A .dib file may hold just the bitmap information header and what follows; give it the 14-byte file
// header the BMP reader expects, with the pixel offset worked out from the header's own fields.
QByteArray withBitmapFileHeader(QByteArrayView dib) {
    const uint32_t headerSize = le::read32(dib, 0);
    const uint16_t bits = le::read16(dib, 14);
    const uint32_t compression = le::read32(dib, 16);
    uint32_t colours = le::read32(dib, 32);
    if (colours == 0 && bits <= 8)
        colours = 1u << bits;
    uint32_t masks = (headerSize == 40 && compression == 3) ? 12 : 0; // BI_BITFIELDS after a short header
    const quint64 offset = 14ull + headerSize + masks + 4ull * colours;
    QByteArray out;
    out.append("BM", 2);
    le::append32(out, uint32_t(qMin<quint64>(14ull + quint64(dib.size()), UINT32_MAX)));
    le::append32(out, 0);
    le::append32(out, uint32_t(qMin<quint64>(offset, UINT32_MAX)));
    out.append(dib.data(), dib.size());
    return out;
}

QImage normalised(QImage image) {
    if (image.isNull())
        return image;
    const QImage::Format want = image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    if (image.format() != want)
        image = image.convertToFormat(want);
    return image;
}

// A JPEG's picture upright. A picture turned a quarter is decoded reduced for the box turned the
// other way, so that it still covers the box once upright.
LoadedImage decodeJpegPicture(QByteArrayView bytes, QSize reduceBox, const ProgressCallback& progress) {
    const int orientation = tiffOrientation(readJpegHead(bytes).exif);
    JpegDecoded d = decodeJpeg(bytes, orientedSize(reduceBox, orientation), progress);
    if (d.image.isNull())
        return failed(d.error, d.failure, orientedSize(d.fullSize, orientation));
    return LoadedImage{
        normalised(orientedImage(d.image, orientation)), orientedSize(d.fullSize, orientation), {}};
}

// What a decoder of a format other than JPEG gives.
struct OtherPicture {
    QImage image;
    QString error;
    DecodeFailure failure = DecodeFailure::None;
    QSize fullSize; // set by readers that may give a reduced picture
};

QImage readBitmap(QByteArrayView file, OtherPicture& out) {
    if (!bmpPixelDataComplete(file)) {
        out.error = QCoreApplication::translate("PictureReaders", "bitmap data truncated");
        out.failure = DecodeFailure::BadData;
        return {};
    }
    return readWithQt(file, "bmp", &out.error, &out.failure);
}

// Every format but JPEG, as stored (a HEIF picture comes upright from its reader).
OtherPicture decodeOtherPicture(QByteArrayView bytes, ImageFormat format, QSize reduceBox) {
    OtherPicture out;
    if (format == ImageFormat::WebP) {
        const int orientation = tiffOrientation(webpExif(bytes));
        const QSize box = orientedSize(reduceBox, orientation);
        if (webpReadsReduced(bytes, box)) {
            out.image = readWebpReduced(bytes, box, &out.error, &out.failure, &out.fullSize);
            out.fullSize = orientedSize(out.fullSize, orientation);
            return out;
        }
    }
    switch (format) {
    case ImageFormat::Pcx:
        out.image = readPcx(bytes, &out.error, &out.failure);
        return out;
    case ImageFormat::Tga:
        out.image = readTga(bytes, &out.error, &out.failure);
        return out;
    case ImageFormat::Bmp:
        out.image = readBitmap(bytes, out);
        return out;
    case ImageFormat::HeaderlessDib:
        out.image = readBitmap(withBitmapFileHeader(bytes), out);
        return out;
    case ImageFormat::Png:
    case ImageFormat::Tiff:
    case ImageFormat::Gif: // the first frame
    case ImageFormat::WebP: {
        const char* name = format == ImageFormat::Png    ? "png"
                           : format == ImageFormat::Tiff ? "tiff"
                           : format == ImageFormat::Gif  ? "gif"
                                                         : "webp";
        out.image = readWithQt(bytes, name, &out.error, &out.failure);
        return out;
    }
    case ImageFormat::Heif:
        out.image = readHeif(bytes, &out.error, &out.failure, &out.fullSize, reduceBox);
        return out;
    case ImageFormat::Jpeg:
    case ImageFormat::Unknown:
        break;
    }
    out.error = QCoreApplication::translate("PictureReaders", "unknown picture format");
    out.failure = DecodeFailure::BadData;
    return out;
}

// A PNG read a row at a time (png_rows.h), never held whole.
LoadedImage decodePngInRows(QIODevice& in, qint64 limit, QSize reduceBox, const ProgressCallback& progress) {
    LoadedImage r;
    r.image = normalised(readPngReduced(in, limit, reduceBox, &r.error, &r.failure, &r.fullSize, progress));
    return r;
}

// A TIFF read a strip or a tile at a time (tiff_rows.h) and turned upright; nothing when it goes to
// the general reader.
std::optional<LoadedImage> decodeTiffInPieces(QIODevice& in, QSize reduceBox,
                                              const ProgressCallback& progress) {
    if (reduceBox.isEmpty())
        return std::nullopt;
    TiffReduced t = readTiffReduced(in, reduceBox, progress);
    if (!t.taken)
        return std::nullopt;
    const QSize upright = orientedSize(t.fullSize, t.orientation);
    if (t.image.isNull())
        return failed(t.error, t.failure, upright);
    return LoadedImage{normalised(orientedImage(t.image, t.orientation)), upright, {}};
}

// A large PNG or TIFF to be reduced, read from the file a piece at a time; nothing when the file goes
// to the general reader.
std::optional<LoadedImage> loadInPieces(QFile& file, const QString& path, QSize reduceBox,
                                        const ProgressCallback& progress) {
    const QByteArray head = file.peek(PngHeadBytes);
    const bool png = pngReadsInRows(head, reduceBox);
    if (file.size() > PictureFileLimit || (!png && detectImageFormat(head, {}) != ImageFormat::Tiff))
        return std::nullopt;
    if (progress)
        progress(0);
    std::optional<LoadedImage> r = png ? decodePngInRows(file, file.size(), reduceBox, progress)
                                       : decodeTiffInPieces(file, reduceBox, progress);
    // Only the file's own data is its fault: a failed read may go better another time.
    const bool readFailed = file.error() != QFileDevice::NoError;
    file.seek(0);
    if (!r)
        return std::nullopt;
    noteDateTaken(path, png ? head : file.peek(DateHeadBytes));
    countDecode();
    r->readFailed = r->image.isNull() && readFailed;
    if (r->readFailed)
        r->failure = DecodeFailure::Unreadable;
    return r;
}

} // namespace

std::optional<LoadedImage> loadExifThumbnail(const QString& path) {
    // The EXIF segment (at most 64 KiB) comes before the frame header.
    constexpr qint64 HeadBytes = 160 * 1024;
    QFile file;
    if (!openRegularFile(file, path))
        return std::nullopt;
    const QByteArray head = file.read(HeadBytes);
    const JpegHead jpeg = readJpegHead(head);
    const QByteArrayView stored = exifThumbnail(jpeg.exif);
    if (!jpeg.size.isValid() || stored.isEmpty() || detectImageFormat(stored, {}) != ImageFormat::Jpeg)
        return std::nullopt;
    // A small picture is what it is for: anything larger is passed over unread, else a crafted
    // "thumbnail" of a few kilobytes would cost a large decode at every listing.
    const QSize storedSize = readJpegHead(stored).size;
    if (!storedSize.isValid() || storedSize.width() > MaxExifThumbnailSide ||
        storedSize.height() > MaxExifThumbnailSide)
        return std::nullopt;
    const int orientation = tiffOrientation(jpeg.exif);
    const JpegDecoded small = decodeJpeg(stored);
    if (small.image.isNull())
        return std::nullopt;
    const QSize picture = orientedSize(jpeg.size, orientation);
    const QSize thumbnail = orientedSize(small.image.size(), orientation);
    // Within a pixel of the picture's proportions, in both directions.
    const qint64 across = qint64(thumbnail.width()) * picture.height();
    const qint64 down = qint64(thumbnail.height()) * picture.width();
    if (qAbs(across - down) > qMax(picture.width(), picture.height()))
        return std::nullopt;
    countDecode();
    return LoadedImage{normalised(orientedImage(small.image, orientation)), picture, {}};
}

quint64 decodedImageCount() {
    return decodeCounter.load(std::memory_order_relaxed);
}

quint64 decodedOnThisThreadCount() {
    return decodesOnThisThread;
}

LoadedImage decodeImageBytes(QByteArrayView bytes, const QString& path, QSize reduceBox,
                             const ProgressCallback& progress) {
    countDecode();
    if (bytes.isEmpty())
        return failed(QCoreApplication::translate("PictureReaders", "empty file"), DecodeFailure::BadData);
    const ImageFormat format = detectImageFormat(bytes, path);
    if (format == ImageFormat::Jpeg)
        return decodeJpegPicture(bytes, reduceBox, progress);
    if (format == ImageFormat::Png && pngReadsInRows(bytes, reduceBox)) {
        QByteArray data = QByteArray::fromRawData(bytes.data(), bytes.size());
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        return decodePngInRows(buffer, bytes.size(), reduceBox, progress);
    }
    if (format == ImageFormat::Tiff) {
        QByteArray data = QByteArray::fromRawData(bytes.data(), bytes.size());
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        if (std::optional<LoadedImage> r = decodeTiffInPieces(buffer, reduceBox, progress))
            return *std::move(r);
    }
    OtherPicture other = decodeOtherPicture(bytes, format, reduceBox);
    if (other.image.isNull())
        return failed(other.error.isEmpty()
                          ? QCoreApplication::translate("PictureReaders", "cannot decode picture")
                          : other.error,
                      other.failure == DecodeFailure::None ? DecodeFailure::BadData : other.failure);
    const int orientation = format == ImageFormat::Tiff   ? tiffOrientation(bytes)
                            : format == ImageFormat::WebP ? tiffOrientation(webpExif(bytes))
                                                          : 1;
    QImage image = normalised(orientedImage(other.image, orientation));
    const QSize size = other.fullSize.isValid() ? other.fullSize : image.size();
    return LoadedImage{std::move(image), size, {}};
}

LoadedImage loadImageFile(const QString& path, QSize reduceBox, const ProgressCallback& progress) {
    QFile file;
    QString reason;
    if (!openRegularFile(file, path, &reason)) {
        LoadedImage r =
            failed(QCoreApplication::translate("PictureReaders", "cannot open %1: %2").arg(path, reason),
                   DecodeFailure::Unreadable);
        r.readFailed = true;
        return r;
    }
    if (std::optional<LoadedImage> r = loadInPieces(file, path, reduceBox, progress))
        return *std::move(r);
    const std::optional<QByteArray> bytes = readAtMost(file, PictureFileLimit, &reason);
    if (!bytes) {
        // A file too large stays too large; only a failed read may go better another time.
        const bool readFailed = file.error() != QFileDevice::NoError;
        LoadedImage r =
            failed(QCoreApplication::translate("PictureReaders", "cannot read %1: %2").arg(path, reason),
                   readFailed ? DecodeFailure::Unreadable : DecodeFailure::TooLarge);
        r.readFailed = readFailed;
        return r;
    }
    // Read whole anyway: a sort by date afterwards need not read the file again.
    noteDateTaken(path, *bytes);
    if (progress)
        progress(0);
    return decodeImageBytes(*bytes, path, reduceBox, progress);
}

} // namespace imaging
