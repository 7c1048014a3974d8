// SPDX-License-Identifier: MIT
#include "thumbnails.h"

#include "audio_icon.h"
#include "dib_memory.h"
#include "thumbnail_fit.h"
#include "thumbnail_picture.h"
#include "tphoto.h"
#include "window_font.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <iterator>

namespace {
// The image text that names the ground a thumbnail was drawn on.
const QString GroundKey = QStringLiteral("Ground");
// The image text of a thumbnail drawn for a picture that could not be decoded.
const QString UnreadableKey = QStringLiteral("verasco-unreadable");

struct ThumbnailColours {
    QColor ground;
    QColor text;
    QColor missingGround;
};

// White with black names, grey for a missing picture, on a light palette; on a dark one the
// palette's own field and text colours, and its alternate field colour for a missing picture.
ThumbnailColours thumbnailColours() {
    const QPalette palette = QGuiApplication::palette();
    if (palette.color(QPalette::Base).lightness() >= 128)
        return {Qt::white, Qt::black, QColor(192, 192, 192)};
    return {palette.color(QPalette::Base), palette.color(QPalette::Text),
            palette.color(QPalette::AlternateBase)};
}

} // namespace

QString thumbnailCaption(const QString& path) {
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return path.mid(cut + 1).left(255);
}

QString fittedCaption(const QString& caption, const std::function<bool(const QString&)>& fits) {
    if (fits(caption))
        return caption;
    // ".jpeg" and the like; a name that is all extension, or a dot far from the end, has none.
    const qsizetype dot = caption.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot > 0 && caption.size() - dot <= 6 ? caption.mid(dot) : QString();
    // As much of the beginning and the end of the name as fits, the beginning the longer by one; in
    // a place too narrow for the extension with them, the name shortened as a whole.
    for (const QString& end : {extension, QString()}) {
        const QString stem = caption.left(caption.size() - end.size());
        for (qsizetype kept = stem.size() - 1; kept > 0; --kept) {
            const QString shown =
                stem.left((kept + 1) / 2) + QStringLiteral("...") + stem.right(kept / 2) + end;
            if (fits(shown))
                return shown;
        }
    }
    return caption.left(1) + QStringLiteral("...");
}

QSize thumbnailSizeFor(int width) {
    return QSize(width, qRound(50.0 * width / ThumbnailWidth) + ThumbnailHeight - 50);
}

int steppedThumbnailWidth(int width, int steps) {
    static constexpr int Widths[] = {ThumbnailWidth, 96, 128, 160, 192, 224, LargestThumbnailWidth};
    constexpr int last = int(std::size(Widths)) - 1;
    int at = 0;
    while (at < last && Widths[at + 1] <= width)
        ++at;
    return Widths[std::clamp(at + steps, 0, last)];
}

ThumbnailBuilder::ThumbnailBuilder(TPhoto& photo, QImage& workBitmap, std::function<int()> screenDepth,
                                   QString paletteFile, std::function<qreal()> pixelRatio)
    : photo_(photo), work_(workBitmap), screenDepth_(std::move(screenDepth)),
      paletteFile_(std::move(paletteFile)), pixelRatio_(std::move(pixelRatio)), audioIcon_(makeAudioIcon()) {}

int ThumbnailBuilder::measureScreenDepth() {
    screenBits_ = screenDepth_ ? screenDepth_() : 32;
    ratio_ = pixelRatio_ ? std::max<qreal>(1, pixelRatio_()) : 1;
    return screenBits_;
}

void ThumbnailBuilder::setThumbnailWidth(int width) {
    width_ = std::clamp(width, ThumbnailWidth, LargestThumbnailWidth);
}

bool ThumbnailBuilder::drawnAtOtherWidth(const QImage& thumbnail) const {
    const QSize drawn = thumbnail.deviceIndependentSize().toSize();
    return !thumbnail.isNull() && drawn != thumbnailSize() && drawn == thumbnailSizeFor(drawn.width());
}

QColor ThumbnailBuilder::ground() const {
    return thumbnailColours().ground;
}

bool ThumbnailBuilder::drawnOtherwise(const QImage& thumbnail) const {
    const QString drawnOn = thumbnail.text(GroundKey);
    return drawnAtOtherWidth(thumbnail) || (!drawnOn.isEmpty() && drawnOn != ground().name());
}

void ThumbnailBuilder::FitThumbnailImage() {
    const QSize picture(photo_.IWidth(), photo_.IHeight());
    const auto first = firstThumbnailResize(picture);
    workRatio_ = 1;
    const qreal ratio = pixelRatio();
    if (!first)
        return;
    if (ratio != 1) {
        // Straight to the device pixels of the fitted size.
        const QSize pixels = (QSizeF(fittedThumbnailSize(picture)) * ratio).toSize();
        photo_.ResizeImage(pixels.width(), pixels.height());
        workRatio_ = ratio;
        return;
    }
    photo_.ResizeImage(first->width(), first->height());
    if (const auto second = secondThumbnailResize(QSize(photo_.IWidth(), photo_.IHeight())))
        photo_.ResizeImage(second->width(), second->height());
}

bool ThumbnailBuilder::FetchScaledImage() {
    const qintptr handle = photo_.CopyDib();
    if (handle <= 0)
        return false;
    const qsizetype size = GlobalSize(handle);
    const uchar* block = GlobalLock(handle);
    if (!block)
        return false;
    std::optional<QImage> loaded = imageFromPackedDib(block, size);
    GlobalUnlock(handle);
    if (!loaded)
        return false;
    work_ = std::move(*loaded);
    work_.setDevicePixelRatio(workRatio_);
    return true;
}

bool ThumbnailBuilder::fetchWithRetries() {
    for (int attempt = 0; attempt < ThumbnailFetchAttempts; ++attempt) {
        if (FetchScaledImage())
            return true;
    }
    return false;
}

void ThumbnailBuilder::clearWorkBitmap() {
    work_ = QImage(ThumbnailWidth, ThumbnailHeight, QImage::Format_RGB32);
    work_.setDevicePixelRatio(1);
    work_.fill(thumbnailColours().ground);
}

void ThumbnailBuilder::reducePaletteColours() {
    photo_.setPFileName(paletteFile_);
    photo_.ReduceColors(8, 7, 3);
}

void markUnreadable(QImage& thumbnail) {
    thumbnail.setText(UnreadableKey, QStringLiteral("1"));
}

bool isUnreadable(const QImage& thumbnail) {
    return !thumbnail.text(UnreadableKey).isEmpty();
}

void ThumbnailBuilder::DrawThumbnail(QImage& target, const QString& path) {
    draw(target, path, Mark::None);
}

void ThumbnailBuilder::drawMissingThumbnail(QImage& target, const QString& path) {
    draw(target, path, Mark::Missing);
}

void ThumbnailBuilder::drawUnreadableThumbnail(QImage& target, const QString& path) {
    draw(target, path, Mark::Unreadable);
    markUnreadable(target);
}

void ThumbnailBuilder::draw(QImage& target, const QString& path, Mark mark) {
    const bool marked = mark != Mark::None;
    // On a palette display the thumbnail takes over the work bitmap's colour table.
    const QList<QRgb> palette = palettePath() && !marked ? work_.colorTable() : QList<QRgb>();
    const ThumbnailColours colours = thumbnailColours();
    const QColor background = marked ? colours.missingGround : colours.ground;

    // The picture's place grows with the thumbnail; the name keeps its font under it.
    const qreal z = zoom();
    const QSize size = thumbnailSize();
    QImage canvas((QSizeF(size) * ratio_).toSize(), QImage::Format_RGB32);
    canvas.setDevicePixelRatio(ratio_);
    canvas.fill(background);
    canvas.setText(GroundKey, colours.ground.name());
    QPainter painter(&canvas);
    painter.setFont(windowFont(8));
    // The picture's size in thumbnail pixels; it may carry more device pixels.
    const qreal workRatio = work_.devicePixelRatio();
    const int w = qRound(work_.width() / workRatio);
    const int h = qRound(work_.height() / workRatio);
    const int pictureBottom = qRound(50 * z);
    if (marked) {
        painter.setPen(colours.text);
        painter.drawText(QRect(0, 0, qRound(66 * z), pictureBottom), Qt::AlignCenter | Qt::TextWordWrap,
                         mark == Mark::Missing
                             ? QCoreApplication::translate("ThumbnailBuilder", "missing")
                             : QCoreApplication::translate("ThumbnailBuilder", "not readable"));
    } else if (w > 1 && h > 1 && z == 1) {
        // Source (0, 0)-(w - 1, h - 1) stretched onto the rectangle centred on (33, 25).
        const QRect destination(33 - w / 2, 25 - h / 2, 2 * (w / 2), 2 * (h / 2));
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        if (workRatio == 1)
            painter.drawImage(destination, work_, QRect(0, 0, w - 1, h - 1));
        else
            painter.drawImage(QRectF(destination), work_,
                              QRectF(0, 0, work_.width() - workRatio, work_.height() - workRatio));
    } else if (w > 1 && h > 1) {
        // Grown: the picture grown alike, centred on the grown (33, 25).
        const QSizeF shown = QSizeF(work_.size()) * (z / workRatio);
        const QRectF destination(QPointF(33 * z, 25 * z) - QPointF(shown.width(), shown.height()) / 2, shown);
        painter.drawImage(destination, work_);
    }

    const QFontMetrics metrics(painter.font());
    const int room = size.width() - 10;
    const QString name = fittedCaption(thumbnailCaption(path), [&metrics, room](const QString& text) {
        return metrics.horizontalAdvance(text) + 3 <= room;
    });
    const int textWidth = metrics.horizontalAdvance(name);
    const int x = (room - 1 - (textWidth + 3)) / 2;
    const QRect textBox(x, pictureBottom, textWidth, metrics.height());
    painter.fillRect(textBox, background);
    painter.setPen(colours.text);
    painter.drawText(textBox, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, name);
    painter.end();

    if (!palette.isEmpty())
        target = canvas.convertToFormat(QImage::Format_Indexed8, palette, Qt::ThresholdDither);
    else
        target = canvas;
}

void ThumbnailBuilder::drawAudioMark(QImage& thumbnail) const {
    if (thumbnail.format() == QImage::Format_Indexed8) {
        // Keep the palette: compose in true colour, then map back onto the thumbnail's colours.
        const QList<QRgb> palette = thumbnail.colorTable();
        QImage canvas = thumbnail.convertToFormat(QImage::Format_RGB32);
        drawAudioMark(canvas);
        thumbnail = canvas.convertToFormat(QImage::Format_Indexed8, palette, Qt::ThresholdDither);
        return;
    }
    QPainter painter(&thumbnail);
    painter.drawImage(QPoint(0, AudioMarkTop), audioIcon_, QRect(0, 0, AudioMarkWidth, AudioMarkHeight));
}

void ThumbnailBuilder::BuildFolderThumbnail(QImage& target, const QString& path) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    measureScreenDepth();
    if (palettePath())
        reducePaletteColours();
    photo_.setQPXThumbnail(1);
    photo_.setFileName(path);
    // The reduced decode is for the thumbnail only: later loads through this control (printing)
    // get the whole picture.
    photo_.setQPXThumbnail(0);
    const bool unreadable = photo_.FXError() != 0;
    if (unreadable) {
        photo_.setUpdate(true);
        clearWorkBitmap();
    } else {
        FitThumbnailImage();
        fetchWithRetries();
    }
    DrawThumbnail(target, path);
    if (unreadable)
        markUnreadable(target);
    QApplication::restoreOverrideCursor();
}

void ThumbnailBuilder::drawFolderThumbnail(QImage& target, const QString& path,
                                           const std::optional<QImage>& picture) {
    if (picture)
        work_ = *picture;
    else
        clearWorkBitmap();
    DrawThumbnail(target, path);
}
