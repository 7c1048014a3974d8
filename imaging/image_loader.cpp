// SPDX-License-Identifier: MIT
#include "image_loader.h"

#include "bmp_check.h"
#include "exif_reader.h"
#include "heif_reader.h"
#include "image_format.h"
#include "jpeg_decoder.h"
#include "le_bytes.h"
#include "orientation.h"
#include "pcx_reader.h"
#include "plain_files.h"
#include "tga_reader.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <atomic>

namespace imaging {

namespace {

std::atomic<quint64> decodeCounter{0};

LoadedImage failed(const QString& error, QSize size = {}) {
    LoadedImage r;
    r.error = error;
    r.fullSize = size;
    return r;
}

QImage readWithQt(QByteArrayView bytes, const char* format, QString* error) {
    QByteArray data = QByteArray::fromRawData(bytes.data(), bytes.size());
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > MaxImagePixels) {
        *error = QStringLiteral("picture too large");
        return {};
    }
    QImage image = reader.read();
    if (image.isNull())
        *error = reader.errorString();
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
        return failed(d.error, orientedSize(d.fullSize, orientation));
    return LoadedImage{
        normalised(orientedImage(d.image, orientation)), orientedSize(d.fullSize, orientation), {}};
}

// Every format but JPEG, as stored (a HEIF picture comes upright from its reader).
QImage decodeOtherPicture(QByteArrayView bytes, ImageFormat format, QString* error) {
    switch (format) {
    case ImageFormat::Pcx:
        return readPcx(bytes, error);
    case ImageFormat::Tga:
        return readTga(bytes, error);
    case ImageFormat::Bmp:
        if (!bmpPixelDataComplete(bytes)) {
            *error = QStringLiteral("bitmap data truncated");
            return {};
        }
        return readWithQt(bytes, "bmp", error);
    case ImageFormat::HeaderlessDib: {
        const QByteArray file = withBitmapFileHeader(bytes);
        if (!bmpPixelDataComplete(file)) {
            *error = QStringLiteral("bitmap data truncated");
            return {};
        }
        return readWithQt(file, "bmp", error);
    }
    case ImageFormat::Png:
        return readWithQt(bytes, "png", error);
    case ImageFormat::Tiff:
        return readWithQt(bytes, "tiff", error);
    case ImageFormat::Gif:
        return readWithQt(bytes, "gif", error); // the first frame
    case ImageFormat::WebP:
        return readWithQt(bytes, "webp", error);
    case ImageFormat::Heif:
        return readHeif(bytes, error);
    case ImageFormat::Jpeg:
    case ImageFormat::Unknown:
        break;
    }
    *error = QStringLiteral("unknown picture format");
    return {};
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
    decodeCounter.fetch_add(1, std::memory_order_relaxed);
    return LoadedImage{normalised(orientedImage(small.image, orientation)), picture, {}};
}

quint64 decodedImageCount() {
    return decodeCounter.load(std::memory_order_relaxed);
}

LoadedImage decodeImageBytes(QByteArrayView bytes, const QString& path, QSize reduceBox,
                             const ProgressCallback& progress) {
    decodeCounter.fetch_add(1, std::memory_order_relaxed);
    if (bytes.isEmpty())
        return failed(QStringLiteral("empty file"));
    const ImageFormat format = detectImageFormat(bytes, path);
    if (format == ImageFormat::Jpeg)
        return decodeJpegPicture(bytes, reduceBox, progress);
    QString error;
    QImage image = decodeOtherPicture(bytes, format, &error);
    if (image.isNull())
        return failed(error.isEmpty() ? QStringLiteral("cannot decode picture") : error);
    const int orientation = format == ImageFormat::Tiff   ? tiffOrientation(bytes)
                            : format == ImageFormat::WebP ? tiffOrientation(webpExif(bytes))
                                                          : 1;
    image = normalised(orientedImage(image, orientation));
    const QSize size = image.size();
    return LoadedImage{std::move(image), size, {}};
}

LoadedImage loadImageFile(const QString& path, QSize reduceBox, const ProgressCallback& progress) {
    QFile file;
    QString reason;
    if (!openRegularFile(file, path, &reason)) {
        LoadedImage r = failed(QStringLiteral("cannot open %1: %2").arg(path, reason));
        r.readFailed = true;
        return r;
    }
    const std::optional<QByteArray> bytes = readAtMost(file, PictureFileLimit, &reason);
    if (!bytes) {
        LoadedImage r = failed(QStringLiteral("cannot read %1: %2").arg(path, reason));
        // A file too large stays too large; only a failed read may go better another time.
        r.readFailed = file.error() != QFileDevice::NoError;
        return r;
    }
    if (progress)
        progress(0);
    return decodeImageBytes(*bytes, path, reduceBox, progress);
}

} // namespace imaging
