// SPDX-License-Identifier: MIT
#pragma once
// A title slide as the show keeps it: a blank slide whose record holds its title as the caption, so
// that a reader of the records alone shows the text as a caption, marked "title": true in the slide's
// object of the extension block. The mark on a slide with a picture means nothing.

#include "show_document.h"
#include "title_slide.h"

#include <QJsonObject>
#include <QString>

#include <vector>

namespace TitleSlides {

inline const QString TitleKey = QStringLiteral("title");

inline bool marked(const QJsonObject& slide) {
    return slide.value(TitleKey).toBool();
}

inline bool isTitle(const TSlideRecord& record, const QJsonObject& slide) {
    return isBlankRecord(record) && marked(slide);
}

inline bool isTitle(const ShowDocument& show, int index) {
    return isTitle(show.slide(index), show.extra(index));
}

// The slide whose picture title slide `index` is filled with when blurred: the next slide with a
// picture that is there; -1 for none.
inline int backdropOf(const ShowDocument& show, int index) {
    std::vector<bool> pictures;
    for (int i = 0; i < show.SlideCount; ++i)
        pictures.push_back(!show.isBlank(i) && !show.isMissing(i));
    return ShowRules::titleBackdropOf(pictures, index);
}

// The slide's object with the mark set or taken out.
inline QJsonObject withTitle(QJsonObject slide, bool title) {
    if (title)
        slide.insert(TitleKey, true);
    else
        slide.remove(TitleKey);
    return slide;
}

} // namespace TitleSlides
