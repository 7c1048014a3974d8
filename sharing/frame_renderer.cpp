// SPDX-License-Identifier: MIT
#include "frame_renderer.h"

#include "caption_band.h"
#include "image_loader.h"
#include "missing_picture.h"
#include "picture_place.h"

#include <QFileInfo>
#include <QPainter>

#include <cmath>

namespace sharing {

// Text is drawn as the viewer draws it on a 1280 x 720 screen at 96 dots per inch; a larger video
// shows it larger in proportion, so that both look alike on the same screen.
QFont FrameRenderer::scaledFont(QFont font) const {
    if (font.pointSizeF() > 0)
        font.setPixelSize(qMax(1, int(std::lround(font.pointSizeF() * 96.0 / 72.0 * scale()))));
    else if (font.pixelSize() > 0)
        font.setPixelSize(qMax(1, int(std::lround(font.pixelSize() * scale()))));
    return font;
}

QRect FrameRenderer::pictureArea(const SharedSlide&) const {
    return QRect(QPoint(0, 0), frame_);
}

// The band lies on the bottom edge of the picture, across the whole frame, as in the viewer's full
// screen; it may rise above a small picture.
QRect FrameRenderer::captionBand(const SharedSlide& slide, QSize stored) const {
    if (!slide.showText)
        return {};
    const QRect area = pictureArea(slide);
    const QRect place = placePicture(stored, area);
    const int bottom = place.isEmpty() ? area.bottom() : place.bottom();
    return CaptionBand::bandRect(QRect(0, 0, frame_.width(), bottom + 1), slide.caption, slide.font,
                                 textSide());
}

QRect FrameRenderer::placePicture(QSize stored, const QRect& area) {
    const ShowRules::Rect place = ShowRules::placePicture(stored.width(), stored.height(),
                                                          {area.x(), area.y(), area.width(), area.height()});
    return QRect(place.x, place.y, place.width, place.height);
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
    drawCaption(painter, slide, area, place);
    return frame;
}

// The caption on its band over the bottom of the picture as drawn (of the area when there is none).
void FrameRenderer::drawCaption(QPainter& painter, const SharedSlide& slide, const QRect& area,
                                const QRect& place) const {
    if (!slide.showText)
        return;
    const int bottom = place.isEmpty() ? area.bottom() : place.bottom();
    CaptionBand::draw(painter, QRect(0, 0, frame_.width(), bottom + 1), slide.caption, slide.font,
                      slide.colour, textSide());
}

QImage FrameRenderer::loadMoving(const SharedSlide& slide) const {
    if (slide.picture.isEmpty() || !slide.motion || !QFileInfo::exists(slide.picture))
        return {};
    const QSize box = pictureArea(slide).size() * ShowMotion::decodeZoom(slide.motion);
    const imaging::LoadedImage loaded = imaging::loadImageFile(slide.picture, box);
    if (loaded.image.isNull() ||
        (loaded.image.width() <= box.width() && loaded.image.height() <= box.height()))
        return loaded.image;
    return loaded.image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

// As the viewer draws a moving slide: the frame as large as fits, centred, on black.
QImage FrameRenderer::renderMoving(const SharedSlide& slide, const QImage& picture,
                                   const ShowMotion::Frame& frame) const {
    QImage image(frame_, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    const QRect area = pictureArea(slide);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF source = ShowMotion::sourceRect(frame, QSizeF(picture.size()));
    const QRectF place = ShowMotion::fittedRect(source.size(), QRectF(area));
    painter.drawImage(place, picture, source);
    drawCaption(painter, slide, area, place.toAlignedRect());
    return image;
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
