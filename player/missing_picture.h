// SPDX-License-Identifier: MIT
#pragma once
// What the viewer shows in place of a picture whose file is not there; the shared video and web page
// show the same.

#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>

// A grey picture of `size` with the file's name and "missing" in `font` in its middle.
QImage missingPicture(QSize size, const QString& path, const QFont& font);
