// SPDX-License-Identifier: MIT
#include "thumbnail_picture.h"

#include "dib_block.h"
#include "image_loader.h"
#include "picture_resize.h"
#include "thumbnail_cache.h"
#include "thumbnail_fit.h"

#include <QtEndian>

#include <cmath>

namespace {
// A resize the control refuses leaves its picture and reported size as they were.
void resize(QImage& picture, QSize& reported, const QSize& target) {
    QImage resized = imaging::resizedPicture(picture, target.width(), target.height());
    if (resized.isNull())
        return;
    picture = std::move(resized);
    reported = target;
}

// The size the thumbnail's picture takes in device pixels.
QSize neededPixels(QSize reported, qreal scale) {
    return (QSizeF(fittedThumbnailSize(reported)) * scale).toSize();
}

// The picture fitted as the control fits it: at one device pixel per pixel in the control's two
// steps, else straight to the device pixels of the fitted size.
QImage fitted(QImage picture, QSize reported, qreal scale) {
    if (scale == 1) {
        if (const auto first = firstThumbnailResize(reported)) {
            resize(picture, reported, *first);
            if (const auto second = secondThumbnailResize(reported))
                resize(picture, reported, *second);
        }
    } else if (fittedThumbnailSize(reported) != reported) {
        QSize ignored;
        resize(picture, ignored, neededPixels(reported, scale));
        picture.setDevicePixelRatio(scale);
    }
    const QByteArray packed = imaging::packDib(picture);
    std::optional<QImage> out =
        imageFromPackedDib(reinterpret_cast<const uchar*>(packed.constData()), packed.size());
    if (out)
        out->setDevicePixelRatio(picture.devicePixelRatio());
    return out.value_or(QImage());
}

// An entry or an EXIF picture serves when it has at least the pixels the thumbnail's picture takes.
bool largeEnough(const QImage& picture, QSize reported, qreal scale) {
    const QSize needed = neededPixels(reported, scale);
    return picture.width() >= needed.width() && picture.height() >= needed.height();
}
} // namespace

std::optional<QImage> decodeThumbnailPicture(const QString& path, qreal scale, ThumbnailSource source) {
    const imaging::ThumbnailCache cache;
    const imaging::ThumbnailCache::Key key = cache.keyFor(path);
    // An entry that does not record the picture's size stands for a picture of its own proportions.
    const auto reportedBy = [](const imaging::ThumbnailCache::Entry& e) {
        return e.pictureSize.isValid() ? e.pictureSize : e.picture.size();
    };
    const bool anyValid = source == ThumbnailSource::AnyValid;
    if (const auto entry = anyValid ? cache.find(key,
                                                 [&](const imaging::ThumbnailCache::Entry& e) {
                                                     return largeEnough(e.picture, reportedBy(e), scale);
                                                 })
                                    : std::nullopt)
        return fitted(entry->picture, reportedBy(*entry), scale);
    if (cache.failed(key))
        return std::nullopt;
    if (const auto exif = anyValid ? imaging::loadExifThumbnail(path) : std::nullopt;
        exif && largeEnough(exif->image, exif->fullSize, scale))
        return fitted(exif->image, exif->fullSize, scale);
    // A grown thumbnail needs a larger decode than the one a cache entry is made from.
    const int side = int(std::ceil(72 * scale));
    imaging::LoadedImage loaded =
        imaging::loadImageFile(path, imaging::ThumbnailBox.expandedTo(QSize(side, side)));
    if (loaded.image.isNull()) {
        // Only the file's own fault is remembered: memory, a missing decoder or a limit of this
        // version may be different another time.
        if (loaded.failure == imaging::DecodeFailure::BadData)
            cache.storeFailure(key);
        return std::nullopt;
    }
    cache.store(key, loaded.image, loaded.fullSize);
    return fitted(std::move(loaded.image), loaded.fullSize, scale);
}

bool pictureDataDecodes(const QString& path) {
    const imaging::ThumbnailCache cache;
    const imaging::ThumbnailCache::Key key = cache.keyFor(path);
    if (cache.failed(key))
        return false;
    const imaging::LoadedImage loaded = imaging::loadImageFile(path, QSize(1, 1));
    if (loaded.image.isNull() && loaded.failure == imaging::DecodeFailure::BadData)
        cache.storeFailure(key);
    return !loaded.image.isNull();
}

std::optional<QImage> imageFromPackedDib(const uchar* block, qsizetype size) {
    if (size < 40)
        return std::nullopt;
    const quint32 headerSize = qFromLittleEndian<quint32>(block);
    const quint32 coloursUsed = qFromLittleEndian<quint32>(block + 32);
    const quint64 bitsOffset = quint64(headerSize) + 4 * quint64(coloursUsed);
    if (bitsOffset > quint64(size))
        return std::nullopt;
    // An in-memory bitmap file: the 14-byte file header, then the packed bitmap as it is.
    QByteArray file(14, '\0');
    file[0] = 'B';
    file[1] = 'M';
    qToLittleEndian<quint32>(quint32(14 + size), file.data() + 2);
    qToLittleEndian<quint32>(quint32(14 + bitsOffset), file.data() + 10);
    file.append(reinterpret_cast<const char*>(block), size);
    QImage loaded;
    if (!loaded.loadFromData(file, "BMP"))
        return std::nullopt;
    return loaded;
}
