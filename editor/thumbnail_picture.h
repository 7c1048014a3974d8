#pragma once
// The picture of a thumbnail made without the imaging control, step for step as the thumbnail
// builder makes it through the control: decoded reduced, fitted into the picture area, passed
// through a packed bitmap. A plain function, safe on any thread.

#include <QImage>
#include <QString>
#include <optional>

// Nothing when the file cannot be decoded (the control would report FXError).
std::optional<QImage> decodeThumbnailPicture(const QString& path);

// The picture of a packed device-independent bitmap (header, colours, rows), read as the bitmap
// file it becomes with a file header in front; nothing when it is no valid bitmap.
std::optional<QImage> imageFromPackedDib(const uchar* block, qsizetype size);
