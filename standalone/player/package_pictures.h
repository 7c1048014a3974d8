// SPDX-License-Identifier: MIT
#pragma once
// The pictures of a package's slides: QPX and JPEG data through the decoding run-time the package
// carries; pictures packed as they were in other formats through the program's own readers. Every
// picture is shown upright, turned by the orientation its data records. A slide whose data cannot be
// decoded is blank.

#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <QString>

class RuntimeDecoder;

struct SlidePicture {
    QImage image; // null when the slide shows no picture
    QString error;
    bool byRuntime = false; // decoded by the run-time
};

SlidePicture decodeSlidePicture(QByteArrayView data, QSize box, const RuntimeDecoder& runtime);
