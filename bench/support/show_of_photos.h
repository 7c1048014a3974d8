// SPDX-License-Identifier: MIT
#pragma once
// Filling a show with photograph slides, as the benchmarks of the viewer, the print run and the show
// file need one.

#include "show_document.h"
#include "stored_path.h"

#include <QString>
#include <QStringList>

// Appends a fresh slide for each of `paths`, with the given display time (0: the default); false when
// a path is too long to be stored or the show has no room for them all.
inline bool appendPhotoSlides(ShowDocument& show, const QStringList& paths, int delay = 0) {
    QList<ShowSlide> slides;
    for (const QString& path : paths) {
        ShowSlide slide{show.freshRecord(), {}};
        if (!StoredPath::assign(slide.record.ImageFile, path))
            return false;
        if (delay > 0)
            slide.record.Delay = std::uint8_t(delay);
        slides.append(slide);
    }
    return show.insert(show.SlideCount, slides) == slides.size();
}
