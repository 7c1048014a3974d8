// SPDX-License-Identifier: MIT
#pragma once
// The texts a slide stores, as strings of this system.

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

// The caption and its font name are read the same way.
inline QString captionOf(const TSlideRecord& slide) {
    return StoredPath::of(slide.Text);
}

// The caption as the viewer and the shared show put it on screen: without the blanks and control
// characters at either end.
inline QString shownCaptionOf(const TSlideRecord& slide) {
    const QString text = captionOf(slide);
    qsizetype start = 0, end = text.size();
    while (start < end && text[start].unicode() <= ' ')
        ++start;
    while (end > start && text[end - 1].unicode() <= ' ')
        --end;
    return text.mid(start, end - start);
}

inline QString fontNameOf(const TSlideRecord& slide) {
    return StoredPath::of(slide.FontName);
}

// The viewer's blank slide: "BLANK", exactly as the program writes it.
inline bool isBlankSlide(const TSlideRecord& slide) {
    return slide.ImageFile.str() == BlankImageName;
}
