// SPDX-License-Identifier: MIT
#include "slide_properties.h"

#include "show_document.h"
#include "show_grid_view.h"
#include "stored_path.h"
#include "text_dialog.h"
#include "thumbnails.h"
#include "tphoto.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>

SlideProperties::SlideProperties(ShowDocument& show, ShowGridView& view, ThumbnailBuilder& thumbnails,
                                 Ttextdlg& dialog)
    : show_(show), view_(view), thumbnails_(thumbnails), dialog_(dialog) {
    dialog_.setThumbnailRebuilder(
        [this](const QString& imagePath, bool blank) { return thumbnailWithoutAudio(imagePath, blank); });
}

int SlideProperties::openActive() {
    return open(view_.activeIndex());
}

int SlideProperties::open(int index) {
    if (index < 0 || index >= show_.SlideCount)
        return 0;
    dialog_.loadSlide(show_.slide(index), show_.imagePath(index), show_.audioPath(index),
                      show_.thumbnail(index), index);
    const int result = dialog_.exec();
    if (result != Ttextdlg::Ok)
        return result;
    ShowSlide edited{show_.slide(index), dialog_.thumbnail()};
    // The dialog only accepts audio paths that can be stored.
    if (!StoredPath::assign(edited.record.AudioFile, dialog_.audioPath()))
        return result;
    dialog_.storeInto(edited.record);
    const ShowDocument::Step step(show_, QStringLiteral("Image Properties"));
    show_.replace(index, std::move(edited));
    return result;
}

// The slide's picture drawn afresh through the imaging control, as when the slide was added; a
// picture that can no longer be read leaves an empty picture with the name, one whose file is not
// there the mark of a missing picture.
QImage SlideProperties::thumbnailWithoutAudio(const QString& imagePath, bool blank) {
    thumbnails_.measureScreenDepth();
    QImage thumbnail;
    if (!blank && !QFileInfo::exists(imagePath)) {
        thumbnails_.drawMissingThumbnail(thumbnail, imagePath);
        return thumbnail;
    }
    TPhoto& photo = thumbnails_.photo();
    if (!blank) {
        photo.setQPXThumbnail(1);
        photo.setFileName(imagePath);
        photo.setQPXThumbnail(0);
        QCoreApplication::processEvents();
    }
    if (blank || photo.FXError() != 0) {
        thumbnails_.clearWorkBitmap();
    } else {
        thumbnails_.FitThumbnailImage();
        if (thumbnails_.palettePath())
            thumbnails_.reducePaletteColours();
        thumbnails_.fetchWithRetries();
    }
    thumbnails_.DrawThumbnail(thumbnail, imagePath);
    return thumbnail;
}
