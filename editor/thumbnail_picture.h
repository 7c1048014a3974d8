// SPDX-License-Identifier: MIT
#pragma once
// The picture of a thumbnail made without the imaging control, step for step as the thumbnail
// builder makes it through the control: decoded reduced, fitted into the picture area, passed
// through a packed bitmap. It comes from the desktop's shared thumbnail cache when that holds a
// valid entry large enough, else from the small picture of a JPEG's EXIF data when its proportions
// match, else from the file, which then gets a cache entry (or a failure entry when it is no
// picture for its own data). A plain function, safe on any thread.

#include <QImage>
#include <QString>
#include <optional>

// Where the picture may come from. A slide being added takes it from the file's own picture data
// (decoded reduced), so that a picture that cannot be read, a photo cut short in copying, does not
// become a slide whatever cache entry or EXIF picture it has.
enum class ThumbnailSource { AnyValid, PictureData };

// Nothing when the file cannot be decoded (the control would report FXError), or when the cache
// says so. With a scale above 1 (a screen's device pixel ratio) the picture has that many pixels
// per thumbnail pixel and carries the ratio.
std::optional<QImage> decodeThumbnailPicture(const QString& path, qreal scale = 1,
                                             ThumbnailSource source = ThumbnailSource::AnyValid);

// Whether the file's own picture data decodes, tried at the smallest reduced decode; a file the
// cache knows to fail does not. A failure for the file's own reasons is recorded in the cache as
// decodeThumbnailPicture records it.
bool pictureDataDecodes(const QString& path);

// The picture of a packed device-independent bitmap (header, colours, rows), read as the bitmap
// file it becomes with a file header in front; nothing when it is no valid bitmap.
std::optional<QImage> imageFromPackedDib(const uchar* block, qsizetype size);
