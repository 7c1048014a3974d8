// SPDX-License-Identifier: MIT
#include "show_slides.h"

#include "ovc_table.h"
#include "shared_flags.h"
#include "show_document.h"
#include "show_grid_view.h"
#include "stored_path.h"
#include "thumbnail_decode_queue.h"
#include "thumbnail_picture.h"
#include "thumbnails.h"
#include "tphoto.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>

namespace {
const char* const AcceptedExtensions[] = {".bmp",  ".kqp", ".jpg",  ".qpx",  ".dib",  ".jif",
                                          ".pcx",  ".png", ".tga",  ".tif",  ".jpeg", ".jpe",
                                          ".webp", ".gif", ".heic", ".heif", ".avif"};
} // namespace

bool IsAcceptedImagePath(const QString& path) {
    if (!QFileInfo(path).isFile())
        return false;
    const QString lower = path.toLower();
    for (const char* extension : AcceptedExtensions) {
        if (lower.contains(QLatin1String(extension)))
            return true;
    }
    return false;
}

ShowSlides::ShowSlides(ShowDocument& show, ThumbnailBuilder& thumbnails, ShowGridView& view,
                       SharedFlags& flags)
    : show_(show), thumbnails_(thumbnails), view_(view), flags_(flags) {}

bool ShowSlides::AppendImageSlide(const QString& path) {
    return appendDecoded(path, nullptr);
}

bool ShowSlides::appendDecoded(const QString& path, const std::optional<QImage>* decoded) {
    ShowSlide slide{show_.freshRecord(), QImage()};
    if (!StoredPath::assign(slide.record.ImageFile, path)) {
        view_.showPathTooLong(path);
        return false;
    }
    const bool drawn = drawThumbnail(slide, Purpose::Append, decoded);
    TOvcTable& grid = view_.grid();
    grid.setAllowRedraw(true);
    if (!drawn || !show_.append(std::move(slide)))
        return false;
    grid.setActiveCell(0, 0);
    return true;
}

QString ShowSlides::appendAcceptedImages(const QStringList& paths) {
    QStringList accepted;
    for (const QString& path : paths) {
        if (IsAcceptedImagePath(path))
            accepted.append(QFileInfo(path).absoluteFilePath());
    }
    QStringList decoded;
    for (const QString& path : accepted)
        decoded.append(StoredPath::fits(path) ? path : QString());
    // The pictures added rest on their own data, never on a thumbnail they carry.
    const std::unique_ptr<ThumbnailDecodeQueue> pictures = decodeAhead(decoded, ThumbnailSource::PictureData);
    stopRequested_ = false;
    QString tooLong;
    for (qsizetype i = 0; i < accepted.size(); ++i) {
        if (show_.SlideCount >= ShowDocument::MaxSlides || stopRequested_)
            break;
        const std::optional<QImage> picture = pictures ? pictures->take(i) : std::nullopt;
        if (!appendDecoded(accepted[i], pictures ? &picture : nullptr) && !StoredPath::fits(accepted[i]))
            tooLong = accepted[i];
    }
    if (!tooLong.isEmpty())
        view_.showPathTooLong(tooLong);
    return tooLong;
}

void ShowSlides::buildThumbnailsForRead(int count) {
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths.append(show_.isBlank(i) || show_.isMissing(i) ? QString() : show_.imagePath(i));
    const std::unique_ptr<ThumbnailDecodeQueue> pictures = decodeAhead(paths, ThumbnailSource::AnyValid);
    stopRequested_ = false;
    for (int i = 0; i < count && !stopRequested_; ++i) {
        ShowSlide slide = show_.at(i);
        if (pictures) {
            const std::optional<QImage> picture = pictures->take(i);
            drawThumbnail(slide, Purpose::ShowRead, &picture);
        } else {
            drawThumbnail(slide, Purpose::ShowRead, nullptr);
        }
        show_.setThumbnail(i, std::move(slide.thumbnail));
        view_.showReadProgress(i + 1, count);
    }
}

void ShowSlides::freshenThumbnail(int index) {
    if (index < 0 || index >= show_.SlideCount || !thumbnails_.drawnOtherwise(show_.thumbnail(index)))
        return;
    ShowSlide slide = show_.at(index);
    const QString path = show_.isBlank(index) || show_.isMissing(index) ? QString() : show_.imagePath(index);
    if (thumbnails_.measureScreenDepth() >= 16) {
        const std::optional<QImage> picture =
            path.isEmpty() ? std::nullopt : decodeThumbnailPicture(path, thumbnails_.pixelRatio());
        drawThumbnail(slide, Purpose::ShowRead, &picture);
    } else {
        // Through the imaging control, which holds the grid's painting while it draws.
        TOvcTable& grid = view_.grid();
        const bool allowed = grid.AllowRedraw();
        drawThumbnail(slide, Purpose::ShowRead, nullptr);
        grid.setAllowRedraw(allowed);
    }
    show_.setThumbnail(index, std::move(slide.thumbnail));
}

std::unique_ptr<ThumbnailDecodeQueue> ShowSlides::decodeAhead(const QStringList& paths,
                                                              ThumbnailSource source) {
    // Screens below 16 bits per pixel draw through the imaging control's palette, one at a time.
    if (decodeThreads_ == 1 || paths.isEmpty() || thumbnails_.measureScreenDepth() < 16)
        return nullptr;
    const auto decode = [scale = thumbnails_.pixelRatio(), source](const QString& path) {
        return path.isEmpty() ? std::nullopt : decodeThumbnailPicture(path, scale, source);
    };
    // The window thread takes without decoding: every thread asked for is a helper.
    return std::make_unique<ThumbnailDecodeQueue>(paths, decode, nullptr,
                                                  decodeThreads_ > 0 ? decodeThreads_ : -1);
}

bool ShowSlides::loadSlideImage(const QString& path) {
    TPhoto& photo = thumbnails_.photo();
    photo.setQPXThumbnail(1);
    photo.setProgressEnabled(true);
    flags_.LoadInProgress = false;
    photo.setFileName(path);
    // The reduced decode is for thumbnails only: later loads through this control (display,
    // printing) get the whole picture.
    photo.setQPXThumbnail(0);
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

bool ShowSlides::drawThumbnail(ShowSlide& slide, Purpose purpose, const std::optional<QImage>* decoded) {
    if (thumbnails_.measureScreenDepth() < 16)
        view_.grid().setAllowRedraw(false);

    TSlideRecord& record = slide.record;
    // A show being read has had its paths repaired (and the lost pictures marked missing) already.
    if (purpose == Purpose::Append && !isBlankRecord(record) &&
        !QFileInfo::exists(StoredPath::of(record.ImageFile)))
        record.ImageFile.assign(BlankImageName);
    const QString path = StoredPath::of(record.ImageFile);
    const bool blank = isBlankRecord(record);

    if (purpose == Purpose::ShowRead && !blank && !QFileInfo::exists(path)) {
        thumbnails_.drawMissingThumbnail(slide.thumbnail, path);
    } else {
        if (blank) {
            thumbnails_.clearWorkBitmap();
        } else if (decoded && decoded->has_value()) {
            thumbnails_.workBitmap() = **decoded;
        } else if (!decoded && loadSlideImage(path)) {
            thumbnails_.FitThumbnailImage();
            if (thumbnails_.palettePath())
                thumbnails_.reducePaletteColours();
            thumbnails_.fetchWithRetries();
        } else if (purpose == Purpose::Append) {
            return false;
        } else {
            // A show file names an image that cannot be decoded: the slide stays, with an empty
            // picture rather than whatever the previous slide left in the work bitmap.
            thumbnails_.clearWorkBitmap();
        }
        thumbnails_.DrawThumbnail(slide.thumbnail, path);
    }
    if (recordHasAudio(record) && QFileInfo::exists(StoredPath::of(record.AudioFile).trimmed()))
        thumbnails_.drawAudioMark(slide.thumbnail);
    // The cells draw through the imaging control's palette while it has one.
    TPhoto& photo = thumbnails_.photo();
    view_.grid().setCellPalette(photo.hPal() != 0 ? photo.paletteColors() : QList<QRgb>());
    return true;
}
