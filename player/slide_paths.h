#pragma once
// The texts a slide stores, as strings of this system (slides keep them in its 8-bit encoding).

#include "slide_record.h"

#include <QFile>
#include <QString>

inline QString imagePathOf(const TSlideRecord& slide) {
    return QFile::decodeName(QByteArray::fromStdString(slide.ImageFile.str()));
}

inline QString audioPathOf(const TSlideRecord& slide) {
    return QFile::decodeName(QByteArray::fromStdString(slide.AudioFile.str()));
}

inline QString captionOf(const TSlideRecord& slide) {
    return QString::fromLocal8Bit(QByteArray::fromStdString(slide.Text.str()));
}

inline QString fontNameOf(const TSlideRecord& slide) {
    return QString::fromLocal8Bit(QByteArray::fromStdString(slide.FontName.str()));
}

// The viewer's blank slide: "BLANK", exactly as the program writes it.
inline bool isBlankSlide(const TSlideRecord& slide) {
    return slide.ImageFile.str() == BlankImageName;
}
