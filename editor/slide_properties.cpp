#include "slide_properties.h"

#include "ovc_table.h"
#include "show_document.h"
#include "show_slides.h"
#include "text_dialog.h"
#include "thumbnails.h"
#include "tphoto.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>

SlideProperties::SlideProperties(ShowDocument& show, ShowSlides& slides, ThumbnailBuilder& thumbnails,
                                 Ttextdlg& dialog)
    : show_(show), slides_(slides), thumbnails_(thumbnails), dialog_(dialog) {
    dialog_.setThumbnailRebuilder(
        [this](const QString& imagePath, bool blank) { return thumbnailWithoutAudio(imagePath, blank); });
}

int SlideProperties::openActive() {
    const TOvcTable& grid = slides_.grid();
    return open(grid.ActiveRow() * 5 + grid.ActiveCol());
}

int SlideProperties::open(int index) {
    if (index < 0 || index >= show_.SlideCount)
        return 0;
    dialog_.loadSlide(show_.slide(index), show_.imagePath(index), show_.audioPath(index),
                      show_.thumbnail(index), index);
    const int result = dialog_.exec();
    if (result != Ttextdlg::Ok)
        return result;
    // The dialog only accepts audio paths that can be stored.
    if (!show_.setAudioPath(index, dialog_.audioPath()))
        return result;
    dialog_.storeInto(show_.slide(index));
    show_.thumbnail(index) = dialog_.thumbnail();
    show_.ShowModified = true;
    slides_.grid().InvalidateTable();
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
