#pragma once
// Filling a show with photograph slides, as the benchmarks of the viewer, the print run and the show
// file need one.

#include "show_document.h"

#include <QString>
#include <QStringList>

// Appends a fresh slide for each of `paths` (up to the show's limit); false when a path is too long
// to be stored or the show is full.
inline bool appendPhotoSlides(ShowDocument& show, const QStringList& paths) {
    for (const QString& path : paths) {
        if (show.SlideCount >= ShowDocument::MaxSlides)
            return false;
        show.resetSlot(show.SlideCount);
        if (!show.setImagePath(show.SlideCount, path))
            return false;
        ++show.SlideCount;
    }
    return true;
}
