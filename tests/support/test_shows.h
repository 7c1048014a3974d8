// SPDX-License-Identifier: MIT
#pragma once
// Shows made for a test through the document's own operations: slides named by the bytes of their
// image file, slides changed field by field, and shows of a given size made at once.

#include "show_document.h"
#include "stored_path.h"

#include <QList>
#include <QString>

#include <functional>
#include <string_view>

namespace test_shows {

using Edit = std::function<void(TSlideRecord&)>;

// A fresh slide whose image file holds these bytes ("BLANK", a path as Windows stored it...),
// changed further by `edit`.
inline ShowSlide slide(const ShowDocument& show, std::string_view imageFile, const Edit& edit = {}) {
    ShowSlide made{show.freshRecord(), {}};
    made.record.ImageFile.assign(imageFile);
    if (edit)
        edit(made.record);
    return made;
}

inline ShowSlide slide(const ShowDocument& show, const char* imageFile, const Edit& edit = {}) {
    return slide(show, std::string_view(imageFile), edit);
}

// A fresh slide for a path of this system, stored as Verasco stores it.
inline ShowSlide slide(const ShowDocument& show, const QString& path, const Edit& edit = {}) {
    return slide(show, StoredPath::encode(path).toStdString(), edit);
}

// Appends the slides.
inline void append(ShowDocument& show, const QList<ShowSlide>& slides) {
    show.insert(show.SlideCount, slides);
}

// Appends a slide per image file, given as the bytes stored.
inline void append(ShowDocument& show, std::initializer_list<std::string_view> imageFiles) {
    QList<ShowSlide> slides;
    for (std::string_view file : imageFiles)
        slides.append(slide(show, file));
    append(show, slides);
}

// Blank slides up to `count`: a show of that size, as quickly as one can be had.
inline void fill(ShowDocument& show, int count) {
    append(show, QList<ShowSlide>(qMax(0, count - show.SlideCount), slide(show, std::string_view("BLANK"))));
}

// Changes the record of slide `index`.
inline void edit(ShowDocument& show, int index, const Edit& change) {
    ShowSlide changed = show.at(index);
    change(changed.record);
    show.replace(index, changed);
}

} // namespace test_shows
