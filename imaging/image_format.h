// Recognises an image file's format from its first bytes; the extension only decides for TGA, which
// has no signature.
#pragma once

#include <QByteArrayView>
#include <QString>

namespace imaging {

enum class ImageFormat { Unknown, Bmp, HeaderlessDib, Jpeg, Png, Tiff, Pcx, Tga };

ImageFormat detectImageFormat(QByteArrayView head, const QString& path);

// Largest decoded picture any reader accepts, in pixels (protects against absurd header sizes).
inline constexpr qint64 MaxImagePixels = 16384LL * 16384LL;

} // namespace imaging
