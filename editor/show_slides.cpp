// SPDX-License-Identifier: MIT
#include "show_slides.h"

#include "background_decodes.h"
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

#include <algorithm>

namespace {
const QString AwaitsKey = QStringLiteral("verasco-awaits");
const QString FromPictureData = QStringLiteral("picture data");

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

void markAwaitingPicture(QImage& thumbnail, ThumbnailSource source) {
    thumbnail.setText(AwaitsKey,
                      source == ThumbnailSource::PictureData ? FromPictureData : QStringLiteral("any"));
}

bool awaitsPicture(const QImage& thumbnail) {
    return !thumbnail.isNull() && !thumbnail.text(AwaitsKey).isEmpty();
}

ShowSlides::ShowSlides(ShowDocument& show, ThumbnailBuilder& thumbnails, ShowGridView& view,
                       SharedFlags& flags)
    : show_(show), thumbnails_(thumbnails), view_(view), flags_(flags),
      inView_(std::make_unique<BackgroundDecodes>(
          [this](int index, std::optional<QImage> picture) { pictureArrived(index, std::move(picture)); })),
      added_(std::make_unique<BackgroundDecodes>(
          [this](int key, const std::optional<QImage>& picture) { tried(key, picture); }, 1)) {
    view_.setBeforeThumbnailTaken([this](int index) { freshenThumbnail(index); });
    // The slides' places change: what is on its way for a place may be another slide's picture.
    QObject::connect(&show_, &ShowDocument::changed, inView_.get(), [this](const ShowChange& change) {
        if (change.kind != ShowChange::Kind::Changed) {
            inView_->clear();
            asked_.clear();
        }
        if (change.kind == ShowChange::Kind::Reset)
            takeDrawn(0, show_.SlideCount);
        else if (change.kind == ShowChange::Kind::Inserted || change.kind == ShowChange::Kind::Changed)
            takeDrawn(change.first, change.count);
        if (change.kind == ShowChange::Kind::Inserted)
            tryAdded(change.first, change.count);
    });
}

ShowSlides::~ShowSlides() {
    view_.setBeforeThumbnailTaken({});
}

void ShowSlides::stopDrawing() {
    stopRequested_ = true;
    inView_->clear();
    asked_.clear();
    added_->clear();
    tried_.clear();
}

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
    stopRequested_ = false;
    const QString tooLong =
        decodesInBackground() ? appendPlaceholders(accepted) : appendThroughControl(accepted);
    if (!tooLong.isEmpty())
        view_.showPathTooLong(tooLong);
    return tooLong;
}

QString ShowSlides::appendThroughControl(const QStringList& accepted) {
    QString tooLong;
    for (const QString& path : accepted) {
        if (show_.SlideCount >= ShowDocument::MaxSlides || stopRequested_)
            break;
        if (!appendDecoded(path, nullptr) && !StoredPath::fits(path))
            tooLong = path;
    }
    return tooLong;
}

QString ShowSlides::appendPlaceholders(const QStringList& accepted) {
    QStringList decoded;
    for (const QString& path : accepted)
        decoded.append(StoredPath::fits(path) ? path : QString());
    // The pictures added rest on their own data, never on a thumbnail they carry; a decode at the
    // smallest reduction tells whether it decodes, and the thumbnails come afterwards.
    ThumbnailDecodeQueue readable(
        decoded,
        [](const QString& path) {
            return !path.isEmpty() && pictureDataDecodes(path) ? std::optional<QImage>(QImage())
                                                               : std::nullopt;
        },
        nullptr, decodeThreads_ > 0 ? decodeThreads_ : -1);
    QList<ShowSlide> slides;
    QString tooLong;
    const std::optional<QImage> none;
    for (qsizetype i = 0; i < accepted.size(); ++i) {
        if (show_.SlideCount + slides.size() >= ShowDocument::MaxSlides || stopRequested_)
            break;
        const bool decodes = readable.take(i).has_value();
        ShowSlide slide{show_.freshRecord(), QImage()};
        if (!StoredPath::assign(slide.record.ImageFile, accepted[i])) {
            view_.showPathTooLong(accepted[i]);
            tooLong = accepted[i];
            continue;
        }
        // A file gone meanwhile becomes a blank slide, drawn now.
        if (!QFileInfo::exists(accepted[i]))
            drawThumbnail(slide, Purpose::Append, &none);
        else if (decodes)
            drawPlaceholder(slide, ThumbnailSource::PictureData);
        else
            continue;
        slides.append(std::move(slide));
    }
    if (show_.insert(show_.SlideCount, std::move(slides)) > 0)
        view_.grid().setActiveCell(0, 0);
    askPicturesInView();
    return tooLong;
}

void ShowSlides::buildThumbnailsForRead(int count) {
    const bool later = decodesInBackground();
    stopRequested_ = false;
    const std::optional<QImage> none;
    for (int i = 0; i < count && !stopRequested_; ++i) {
        ShowSlide slide = show_.at(i);
        if (!later)
            drawThumbnail(slide, Purpose::ShowRead, nullptr);
        else if (picturePath(i).isEmpty())
            drawThumbnail(slide, Purpose::ShowRead, &none);
        else
            drawPlaceholder(slide, ThumbnailSource::AnyValid);
        show_.setThumbnail(i, std::move(slide.thumbnail));
        view_.showReadProgress(i + 1, count);
    }
    askPicturesInView();
}

void ShowSlides::freshenThumbnail(int index) {
    if (index < 0 || index >= show_.SlideCount)
        return;
    const QImage& thumbnail = show_.thumbnail(index);
    if (!awaitsPicture(thumbnail) && !thumbnails_.drawnOtherwise(thumbnail))
        return;
    if (thumbnails_.measureScreenDepth() >= 16) {
        askPicture(index);
        return;
    }
    // Through the imaging control, which holds the grid's painting while it draws.
    ShowSlide slide = show_.at(index);
    TOvcTable& grid = view_.grid();
    const bool allowed = grid.AllowRedraw();
    drawThumbnail(slide, Purpose::ShowRead, nullptr);
    grid.setAllowRedraw(allowed);
    show_.setThumbnail(index, std::move(slide.thumbnail));
}

bool ShowSlides::decodesInBackground() {
    // Screens below 16 bits per pixel draw through the imaging control's palette, one at a time.
    return decodeThreads_ != 1 && thumbnails_.measureScreenDepth() >= 16;
}

void ShowSlides::drawPlaceholder(ShowSlide& slide, ThumbnailSource source) {
    thumbnails_.drawFolderThumbnail(slide.thumbnail, StoredPath::of(slide.record.ImageFile), std::nullopt);
    markAwaitingPicture(slide.thumbnail, source);
    if (recordHasAudio(slide.record) && QFileInfo::exists(StoredPath::of(slide.record.AudioFile).trimmed()))
        thumbnails_.drawAudioMark(slide.thumbnail);
}

QString ShowSlides::picturePath(int index) const {
    return show_.isBlank(index) || show_.isMissing(index) ? QString() : show_.imagePath(index);
}

std::pair<int, int> ShowSlides::slidesInView() const {
    const TOvcTable& grid = view_.grid();
    const int columns = std::max(1, grid.ColumnCount());
    // The row partly shown under the last whole one counts.
    return {grid.TopRow() * columns, (grid.TopRow() + grid.fullyVisibleRows() + 1) * columns - 1};
}

void ShowSlides::askPicture(int index) {
    const std::pair<int, int> inView = slidesInView();
    inView_->keepOnly(inView.first, inView.second);
    asked_.removeIf([inView](QHash<int, QString>::iterator it) {
        return it.key() < inView.first || it.key() > inView.second;
    });
    // Pictures on their way at another pixel ratio (the thumbnails' width changed) never arrive.
    if (const qreal scale = thumbnails_.pixelRatio(); scale != askedScale_) {
        inView_->clear();
        asked_.clear();
        askedScale_ = scale;
    }
    if (asked_.contains(index))
        return;
    const QString path = picturePath(index);
    const ThumbnailSource source = show_.thumbnail(index).text(AwaitsKey) == FromPictureData
                                       ? ThumbnailSource::PictureData
                                       : ThumbnailSource::AnyValid;
    asked_.insert(index, path);
    inView_->want(index, [path, scale = askedScale_, source,
                          decode = decoder_ ? decoder_ : PictureDecoder(decodeThumbnailPicture)] {
        return path.isEmpty() ? std::nullopt : decode(path, scale, source);
    });
}

void ShowSlides::askPicturesInView() {
    if (stopRequested_ || !decodesInBackground())
        return;
    const auto [first, last] = slidesInView();
    for (int index = first; index <= std::min(last, show_.SlideCount - 1); ++index)
        freshenThumbnail(index);
}

void ShowSlides::pictureArrived(int index, std::optional<QImage> picture) {
    const auto asked = asked_.constFind(index);
    if (asked == asked_.constEnd())
        return;
    const QString path = *asked;
    asked_.erase(asked);
    if (index >= show_.SlideCount || path != picturePath(index))
        return;
    const QImage& thumbnail = show_.thumbnail(index);
    if (awaitsPicture(thumbnail) || thumbnails_.drawnOtherwise(thumbnail))
        drawArrived(index, picture);
}

void ShowSlides::drawArrived(int index, const std::optional<QImage>& picture) {
    const QImage& thumbnail = show_.thumbnail(index);
    ShowSlide slide = show_.at(index);
    drawThumbnail(slide, Purpose::ShowRead, &picture);
    if (awaitsPicture(thumbnail)) {
        // Placeholders that nothing else holds any more (no step of the history, no clipboard).
        drawn_.removeIf([](QHash<qint64, Drawn>::iterator it) { return it->placeholder.isDetached(); });
        drawn_.insert(thumbnail.cacheKey(), {thumbnail, slide.thumbnail});
    }
    show_.setThumbnail(index, std::move(slide.thumbnail));
}

// Those in view are decoded anyway, and pictures dropped on the show were tried before they came.
// The pictures tried are kept by the thumbnail cache, so the slides' own decoding later finds them
// there.
void ShowSlides::tryAdded(int first, int count) {
    if (stopRequested_ || !decodesInBackground())
        return;
    const auto [firstInView, lastInView] = slidesInView();
    for (int index = first; index < first + count && index < show_.SlideCount; ++index) {
        const QImage& thumbnail = show_.thumbnail(index);
        const QString path = picturePath(index);
        if ((index >= firstInView && index <= lastInView) || !awaitsPicture(thumbnail) ||
            thumbnail.text(AwaitsKey) == FromPictureData || path.isEmpty())
            continue;
        tried_.insert(nextTry_, path);
        added_->want(nextTry_++, [path, scale = thumbnails_.pixelRatio(),
                                  decode = decoder_ ? decoder_ : PictureDecoder(decodeThumbnailPicture)] {
            return decode(path, scale, ThumbnailSource::AnyValid).has_value()
                       ? std::optional<QImage>(QImage())
                       : std::nullopt;
        });
    }
}

// A picture that cannot be read marks the slides that await it, wherever they stand now.
void ShowSlides::tried(int key, const std::optional<QImage>& picture) {
    const QString path = tried_.take(key);
    if (picture || path.isEmpty())
        return;
    for (int index = 0; index < show_.SlideCount; ++index)
        if (awaitsPicture(show_.thumbnail(index)) && picturePath(index) == path)
            drawArrived(index, std::nullopt);
}

void ShowSlides::takeDrawn(int first, int count) {
    for (int index = std::max(0, first); index < std::min(first + count, show_.SlideCount); ++index) {
        const QImage& thumbnail = show_.thumbnail(index);
        if (!awaitsPicture(thumbnail))
            continue;
        if (const auto drawn = drawn_.constFind(thumbnail.cacheKey()); drawn != drawn_.constEnd())
            show_.setThumbnail(index, drawn->thumbnail);
    }
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
        bool decodes = true;
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
            // A slide names an image that cannot be decoded: the slide stays, marked as such.
            decodes = false;
        }
        if (decodes)
            thumbnails_.DrawThumbnail(slide.thumbnail, path);
        else
            thumbnails_.drawUnreadableThumbnail(slide.thumbnail, path);
    }
    if (recordHasAudio(record) && QFileInfo::exists(StoredPath::of(record.AudioFile).trimmed()))
        thumbnails_.drawAudioMark(slide.thumbnail);
    // The cells draw through the imaging control's palette while it has one.
    TPhoto& photo = thumbnails_.photo();
    view_.grid().setCellPalette(photo.hPal() != 0 ? photo.paletteColors() : QList<QRgb>());
    return true;
}
