#include "thumbnail_picture.h"

#include "dib_block.h"
#include "image_loader.h"
#include "picture_resize.h"
#include "thumbnail_fit.h"

#include <QtEndian>

namespace {
// A resize the control refuses leaves its picture and reported size as they were.
void resize(QImage& picture, QSize& reported, const QSize& target) {
    QImage resized = imaging::resizedPicture(picture, target.width(), target.height());
    if (resized.isNull())
        return;
    picture = std::move(resized);
    reported = target;
}
} // namespace

std::optional<QImage> decodeThumbnailPicture(const QString& path) {
    imaging::LoadedImage loaded = imaging::loadImageFile(path, imaging::ThumbnailBox);
    if (loaded.image.isNull())
        return std::nullopt;
    QImage picture = std::move(loaded.image);
    QSize reported = loaded.fullSize;
    if (const auto first = firstThumbnailResize(reported)) {
        resize(picture, reported, *first);
        if (const auto second = secondThumbnailResize(reported))
            resize(picture, reported, *second);
    }
    const QByteArray packed = imaging::packDib(picture);
    return imageFromPackedDib(reinterpret_cast<const uchar*>(packed.constData()), packed.size());
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
