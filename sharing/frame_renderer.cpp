// SPDX-License-Identifier: MIT
#include "frame_renderer.h"

#include "image_loader.h"
#include "missing_picture.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>

#include <cmath>

namespace sharing {

namespace {

// The viewer's caption area is 61 pixels high in its window.
constexpr int CaptionMinimum = 61;
constexpr int CaptionMargin = 8;

constexpr int CaptionFlags = Qt::AlignCenter | Qt::TextWordWrap;

} // namespace

// The caption is drawn as the viewer draws it on a 1280 x 720 screen at 96 dots per inch; a larger
// video shows it larger in proportion, so that both look alike on the same screen.
QFont FrameRenderer::scaledFont(QFont font) const {
    if (font.pointSizeF() > 0)
        font.setPixelSize(qMax(1, int(std::lround(font.pointSizeF() * 96.0 / 72.0 * scale()))));
    else if (font.pixelSize() > 0)
        font.setPixelSize(qMax(1, int(std::lround(font.pixelSize() * scale()))));
    return font;
}

QFont FrameRenderer::captionFont(const SharedSlide& slide) const {
    return scaledFont(slide.font);
}

int FrameRenderer::captionHeight(const SharedSlide& slide) const {
    if (!slide.showText)
        return 0;
    const int margin = int(std::lround(CaptionMargin * scale()));
    const QFontMetrics metrics(captionFont(slide));
    const QRect text = metrics.boundingRect(QRect(0, 0, frame_.width() - 2 * margin, frame_.height()),
                                            CaptionFlags, slide.caption);
    const int height = qMax(int(std::lround(CaptionMinimum * scale())), text.height() + 2 * margin);
    return qMin(height, frame_.height() / 2);
}

QRect FrameRenderer::pictureArea(const SharedSlide& slide) const {
    return QRect(QPoint(0, 0), QSize(frame_.width(), frame_.height() - captionHeight(slide)));
}

QRect FrameRenderer::placePicture(QSize stored, const QRect& area) {
    if (stored.isEmpty())
        return {};
    const int w = stored.width(), h = stored.height();
    if (w < area.width() && h < area.height())
        return QRect(area.x() + area.width() / 2 - w / 2, area.y() + area.height() / 2 - h / 2, w, h);
    const QSize fitted = stored.scaled(area.size(), Qt::KeepAspectRatio);
    return QRect(QPoint(area.x() + (area.width() - fitted.width()) / 2,
                        area.y() + (area.height() - fitted.height()) / 2),
                 fitted);
}

QImage FrameRenderer::render(const SharedSlide& slide, const QImage& picture, QSize stored) const {
    QImage frame(frame_, QImage::Format_RGB32);
    frame.fill(Qt::black);
    QPainter painter(&frame);
    const QRect area = pictureArea(slide);
    const QRect place = placePicture(stored, area);
    if (!picture.isNull() && !place.isEmpty()) {
        if (picture.size() == place.size())
            painter.drawImage(place.topLeft(), picture);
        else
            painter.drawImage(place.topLeft(),
                              picture.scaled(place.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    if (slide.showText) {
        const QRect band(0, area.bottom() + 1, frame_.width(), frame_.height() - area.height());
        painter.fillRect(band, Qt::white);
        const int margin = int(std::lround(CaptionMargin * scale()));
        painter.setFont(captionFont(slide));
        painter.setPen(slide.colour);
        painter.drawText(band.adjusted(margin, margin, -margin, -margin), CaptionFlags, slide.caption);
    }
    return frame;
}

QImage FrameRenderer::renderSlide(const SharedSlide& slide) const {
    if (slide.picture.isEmpty())
        return render(slide, QImage(), QSize());
    const QRect area = pictureArea(slide);
    if (!QFileInfo::exists(slide.picture))
        return render(slide, missingPicture(area.size(), slide.picture, scaledFont(QFont())), area.size());
    // The viewer's rule needs the stored size; a reduced decode that still covers the area will do.
    const imaging::LoadedImage loaded = imaging::loadImageFile(slide.picture, area.size());
    return render(slide, loaded.image, loaded.image.isNull() ? QSize() : loaded.fullSize);
}

QImage FrameRenderer::blend(const QImage& from, const QImage& to, double opacity, const QRect& area) {
    QImage frame = to.convertToFormat(QImage::Format_RGB32);
    QPainter painter(&frame);
    painter.setClipRect(area);
    painter.drawImage(0, 0, from);
    painter.setOpacity(qBound(0.0, opacity, 1.0));
    painter.drawImage(0, 0, to);
    return frame;
}

} // namespace sharing
