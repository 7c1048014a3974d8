// SPDX-License-Identifier: MIT
#include "picture_resize.h"

#include "image_format.h"

namespace imaging {

namespace {
constexpr int MaxSide = 32767; // sizes are 16-bit values for the program
} // namespace

QImage resizedPicture(const QImage& picture, int width, int height) {
    if (picture.isNull() || width < 1 || height < 1 || width > MaxSide || height > MaxSide ||
        qint64(width) * height > MaxPicturePixels)
        return {};
    const QImage source =
        picture.format() == QImage::Format_Indexed8 ? picture.convertToFormat(QImage::Format_RGB32) : picture;
    QImage scaled = source.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage::Format want = scaled.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    if (scaled.format() != want)
        scaled = scaled.convertToFormat(want);
    if (scaled.size() != QSize(width, height))
        return {};
    return scaled;
}

} // namespace imaging
