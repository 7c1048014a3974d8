#include "show_slides.h"

#include "ovc_table.h"
#include "shared_flags.h"
#include "show_document.h"
#include "show_file.h"
#include "stored_path.h"
#include "thumbnail_decode_queue.h"
#include "thumbnail_picture.h"
#include "thumbnails.h"
#include "tphoto.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLabel>

#include <algorithm>

namespace {
const char* const AcceptedExtensions[] = {".bmp",  ".kqp", ".jpg",  ".qpx",  ".dib",  ".jif",
                                          ".pcx",  ".png", ".tga",  ".tif",  ".jpeg", ".jpe",
                                          ".webp", ".gif", ".heic", ".heif", ".avif"};
const QString CountPadding(24, QLatin1Char(' '));
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

QString imagesCountText(int count, int notFound) {
    const QString missing = notFound > 0 ? QStringLiteral(" (%1 not found)").arg(notFound) : QString();
    return QStringLiteral("Images: ") + QString::number(count) + missing + CountPadding;
}

QString pathTooLongText(const QString& path) {
    return QStringLiteral("Path too long: ") + ShowFile::fileNamePart(path);
}

ShowSlides::ShowSlides(ShowDocument& show, ThumbnailBuilder& thumbnails, TOvcTable& grid, QLabel& countLabel,
                       SharedFlags& flags)
    : show_(show), thumbnails_(thumbnails), grid_(grid), countLabel_(countLabel), flags_(flags) {}

bool ShowSlides::AppendImageSlide(const QString& path) {
    return appendSlide(path, nullptr);
}

bool ShowSlides::appendSlide(const QString& path, const std::optional<QImage>* decoded) {
    const int index = show_.SlideCount;
    show_.resetSlot(index);
    if (!show_.setImagePath(index, path)) {
        showPathTooLong(path);
        return false;
    }
    ++show_.SlideCount;
    return buildSlideThumbnail(index, decoded);
}

void ShowSlides::appendImageSlides(const QStringList& paths) {
    QStringList accepted;
    for (const QString& path : paths) {
        if (IsAcceptedImagePath(path))
            accepted.append(QFileInfo(path).absoluteFilePath());
    }
    QStringList decoded;
    for (const QString& path : accepted)
        decoded.append(StoredPath::fits(path) ? path : QString());
    const std::unique_ptr<ThumbnailDecodeQueue> pictures = decodeAhead(decoded);
    stopRequested_ = false;
    QString tooLong;
    for (qsizetype i = 0; i < accepted.size(); ++i) {
        if (show_.SlideCount >= ShowDocument::MaxSlides || stopRequested_)
            break;
        const std::optional<QImage> picture = pictures ? pictures->take(i) : std::nullopt;
        if (!appendSlide(accepted[i], pictures ? &picture : nullptr) && !StoredPath::fits(accepted[i]))
            tooLong = accepted[i];
    }
    UpdateShowGrid();
    if (!tooLong.isEmpty())
        showPathTooLong(tooLong);
}

bool ShowSlides::BuildSlideThumbnail(int index) {
    return buildSlideThumbnail(index, nullptr);
}

bool ShowSlides::buildSlideThumbnail(int index, const std::optional<QImage>* decoded) {
    const bool kept = drawSlideThumbnail(index, Purpose::Append, decoded);
    grid_.setAllowRedraw(true);
    if (kept) {
        grid_.setActiveCell(0, 0);
        grid_.InvalidateTable();
        showImagesCount();
    }
    return kept;
}

void ShowSlides::buildThumbnailForRead(int index) {
    drawSlideThumbnail(index, Purpose::ShowRead);
}

void ShowSlides::buildThumbnailsForRead(int count) {
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths.append(show_.isBlank(i) || show_.isMissing(i) ? QString() : show_.imagePath(i));
    const std::unique_ptr<ThumbnailDecodeQueue> pictures = decodeAhead(paths);
    stopRequested_ = false;
    for (int i = 0; i < count && !stopRequested_; ++i) {
        if (pictures) {
            const std::optional<QImage> picture = pictures->take(i);
            drawSlideThumbnail(i, Purpose::ShowRead, &picture);
        } else {
            buildThumbnailForRead(i);
        }
        showReadProgress(i + 1, count);
    }
}

std::unique_ptr<ThumbnailDecodeQueue> ShowSlides::decodeAhead(const QStringList& paths) {
    // Screens below 16 bits per pixel draw through the imaging control's palette, one at a time.
    if (decodeThreads_ == 1 || paths.isEmpty() || thumbnails_.measureScreenDepth() < 16)
        return nullptr;
    const auto decode = [scale = thumbnails_.pixelRatio()](const QString& path) {
        return path.isEmpty() ? std::nullopt : decodeThumbnailPicture(path, scale);
    };
    return std::make_unique<ThumbnailDecodeQueue>(paths, decode, nullptr, decodeThreads_ - 1);
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

bool ShowSlides::drawSlideThumbnail(int index, Purpose purpose, const std::optional<QImage>* decoded) {
    if (thumbnails_.measureScreenDepth() < 16)
        grid_.setAllowRedraw(false);

    TSlideRecord& record = show_.slide(index);
    // A show being read has had its paths repaired (and the lost pictures made blank) already.
    if (purpose == Purpose::Append && !show_.isBlank(index) && !QFileInfo::exists(show_.imagePath(index)))
        record.ImageFile.assign(BlankImageName);
    const QString path = show_.imagePath(index);
    QImage& thumbnail = show_.thumbnail(index);

    if (purpose == Purpose::ShowRead && show_.isMissing(index)) {
        thumbnails_.drawMissingThumbnail(thumbnail, path);
    } else {
        if (show_.isBlank(index)) {
            thumbnails_.clearWorkBitmap();
        } else if (decoded && decoded->has_value()) {
            thumbnails_.workBitmap() = **decoded;
        } else if (!decoded && loadSlideImage(path)) {
            thumbnails_.FitThumbnailImage();
            if (thumbnails_.palettePath())
                thumbnails_.reducePaletteColours();
            thumbnails_.fetchWithRetries();
        } else if (purpose == Purpose::Append) {
            --show_.SlideCount;
            return false;
        } else {
            // A show file names an image that cannot be decoded: the slide stays, with an empty
            // picture rather than whatever the previous slide left in the work bitmap.
            thumbnails_.clearWorkBitmap();
        }
        thumbnails_.DrawThumbnail(thumbnail, path);
    }
    if (show_.hasAudio(index) &&
        (purpose == Purpose::Append || QFileInfo::exists(show_.audioPath(index).trimmed())))
        thumbnails_.drawAudioMark(thumbnail);
    // The cells draw through the imaging control's palette while it has one.
    TPhoto& photo = thumbnails_.photo();
    grid_.setCellPalette(photo.hPal() != 0 ? photo.paletteColors() : QList<QRgb>());
    return true;
}

void ShowSlides::UpdateShowGrid() {
    grid_.setRowLimit(show_.gridRowCount());
}

void ShowSlides::showImagesCount() {
    showImagesCount(0);
}

void ShowSlides::showImagesCount(int notFound) {
    countLabel_.setText(imagesCountText(show_.SlideCount, notFound));
}

void ShowSlides::showPathTooLong(const QString& path) {
    countLabel_.setText(pathTooLongText(path));
}

void ShowSlides::showReadProgress(int done, int count) {
    countLabel_.setText(ShowFile::readingStatusText(done, count));
    countLabel_.repaint();
}

void ShowSlides::showAnew(GridView view, int minimumRows) {
    grid_.setAllowRedraw(true);
    grid_.setActiveCell(0, 0);
    const int rows = std::max(show_.gridRowCount(), minimumRows);
    grid_.setRowLimit(rows);
    const int visibleRows = grid_.fullyVisibleRows();
    grid_.setTopRow(view == GridView::LastRows && rows > visibleRows ? rows - visibleRows : 0);
    grid_.InvalidateTable();
    showImagesCount();
}

void ShowSlides::showCleared() {
    const int visibleSlots = std::min(grid_.fullyVisibleRows() * 5, ShowDocument::MaxSlides);
    for (int i = 0; i < visibleSlots; ++i) {
        QImage& thumbnail = show_.thumbnail(i);
        thumbnail = QImage(ThumbnailWidth, ThumbnailHeight, QImage::Format_RGB32);
        thumbnail.fill(Qt::white);
    }
    showAnew(GridView::FirstRows, 1);
}
