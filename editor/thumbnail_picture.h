#pragma once
// The picture of a thumbnail made without the imaging control, step for step as the thumbnail
// builder makes it through the control: decoded reduced, fitted into the picture area, passed
// through a packed bitmap. A plain function, safe on any thread.

#include <QImage>
#include <QString>
#include <optional>

// Nothing when the file cannot be decoded (the control would report FXError).
std::optional<QImage> decodeThumbnailPicture(const QString& path);
