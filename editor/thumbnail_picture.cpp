#include "thumbnail_picture.h"

#include "dib_block.h"
#include "image_loader.h"
#include "picture_resize.h"
#include "thumbnail_fit.h"
#include "thumbnails.h"

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
