#pragma once
// The texts a slide stores, as strings of this system (slides keep them in its 8-bit encoding).

#include "slide_record.h"
#include "stored_path.h"

#include <QString>

// Paths as stored_path.h reads them: UTF-8, or Windows-1252 where the bytes are no UTF-8.
inline QString imagePathOf(const TSlideRecord& slide) {
    return StoredPath::of(slide.ImageFile);
}

inline QString audioPathOf(const TSlideRecord& slide) {
    return StoredPath::of(slide.AudioFile);
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
