#include "show_slides.h"

#include "ovc_table.h"
#include "shared_flags.h"
#include "show_document.h"
#include "thumbnails.h"
#include "tphoto.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>

namespace {
const char* const AcceptedExtensions[] = {".bmp", ".kqp", ".jpg", ".qpx", ".dib",
                                          ".jif", ".pcx", ".png", ".tga", ".tif"};
const QString CountPadding(24, QLatin1Char(' '));

QString slidePath(const ShowDocument& show, int index) {
    return QFile::decodeName(QByteArray::fromStdString(show.slide(index).ImageFile.str()));
}
} // namespace

bool IsAcceptedImagePath(const QString& path) {
    if (!QFileInfo::exists(path))
        return false;
    const QString lower = path.toLower();
    for (const char* extension : AcceptedExtensions) {
        if (lower.contains(QLatin1String(extension)))
            return true;
    }
    return false;
}

QString imagesCountText(int count) {
    return QStringLiteral("Images: ") + QString::number(count) + CountPadding;
}

QString readProgressText(int done, int count) {
    return QStringLiteral("Read %1 of %2...").arg(done).arg(count);
}

ShowSlides::ShowSlides(ShowDocument& show, ThumbnailBuilder& thumbnails, TOvcTable& grid, QLabel& countLabel,
                       SharedFlags& flags)
    : show_(show), thumbnails_(thumbnails), grid_(grid), countLabel_(countLabel), flags_(flags) {}

bool ShowSlides::AppendImageSlide(const QString& path) {
    const int index = show_.SlideCount;
    show_.resetSlot(index);
    show_.slide(index).ImageFile.assign(QFile::encodeName(path).toStdString());
    ++show_.SlideCount;
    return BuildSlideThumbnail(index);
}

bool ShowSlides::BuildSlideThumbnail(int index) {
    const bool kept = drawSlideThumbnail(index, Purpose::Append);
    grid_.setAllowRedraw(true);
    if (kept) {
        activateFirstCell();
        showImagesCount();
    }
    return kept;
}

void ShowSlides::buildThumbnailForRead(int index) {
    drawSlideThumbnail(index, Purpose::ShowRead);
}

bool ShowSlides::loadSlideImage(const QString& path) {
    TPhoto& photo = thumbnails_.photo();
    photo.setQPXThumbnail(1);
    photo.setProgressEnabled(true);
    flags_.LoadInProgress = false;
    photo.setFileName(path);
    if (photo.FXError() != 0)
        return false;
    // Loads are synchronous; a progress handler that still reports work gets a bounded wait.
    const QDeadlineTimer deadline(10000);
    while (flags_.LoadInProgress && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    photo.Refresh();
    photo.setProgressEnabled(false);
    return true;
}

bool ShowSlides::drawSlideThumbnail(int index, Purpose purpose) {
    if (thumbnails_.measureScreenDepth() < 16)
        grid_.setAllowRedraw(false);

    TSlideRecord& record = show_.slide(index);
    QString path = slidePath(show_, index);
    if (!show_.isBlank(index) && !QFileInfo::exists(path)) {
        record.ImageFile.assign(BlankImageName);
        path = QString::fromLatin1(BlankImageName.data(), BlankImageName.size());
    }

    if (show_.isBlank(index)) {
        thumbnails_.clearWorkBitmap();
    } else if (loadSlideImage(path)) {
        thumbnails_.FitThumbnailImage();
        if (thumbnails_.palettePath())
            thumbnails_.reducePaletteColours();
        thumbnails_.fetchWithRetries();
    } else if (purpose == Purpose::Append) {
        --show_.SlideCount;
        return false;
    } else {
        // A show file names an image that exists but cannot be decoded: the slide stays, with an
        // empty picture rather than whatever the previous slide left in the work bitmap.
        thumbnails_.clearWorkBitmap();
    }

    QImage& thumbnail = show_.thumbnail(index);
    thumbnails_.DrawThumbnail(thumbnail, path);
    if (show_.hasAudio(index)) {
        const QString audio = QFile::decodeName(QByteArray::fromStdString(record.AudioFile.str())).trimmed();
        if (purpose == Purpose::Append || QFileInfo::exists(audio))
            thumbnails_.drawAudioMark(thumbnail);
    }
    // The cells draw through the imaging control's palette while it has one.
    TPhoto& photo = thumbnails_.photo();
    grid_.setCellPalette(photo.hPal() != 0 ? photo.paletteColors() : QList<QRgb>());
    return true;
}

void ShowSlides::UpdateShowGrid() {
    grid_.setRowLimit(show_.gridRowCount());
}

void ShowSlides::showImagesCount() {
    countLabel_.setText(imagesCountText(show_.SlideCount));
}

void ShowSlides::activateFirstCell() {
    grid_.setActiveCell(0, 0);
    grid_.InvalidateTable();
}
