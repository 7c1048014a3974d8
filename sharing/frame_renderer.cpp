// SPDX-License-Identifier: MIT
#include "frame_renderer.h"

#include "caption_band.h"
#include "frame_fill.h"
#include "image_loader.h"
#include "missing_picture.h"
#include "picture_place.h"
#include "slide_transition.h"

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

// The band lies on the bottom (or top) edge of the picture, across the whole frame, as in the
// viewer's full screen; it may go beyond a small picture.
QRect FrameRenderer::captionBand(const SharedSlide& slide, QSize stored) const {
    if (!slide.showText)
        return {};
    const QRect area = pictureArea(slide);
    const CaptionBand::CaptionPlace at = slide.look.captionPlace;
    return CaptionBand::bandRect(CaptionBand::room(area, placePicture(stored, area), at), slide.caption,
                                 slide.font, textSide(), at);
}

QRect FrameRenderer::placePicture(QSize stored, const QRect& area) {
    const ShowRules::Rect place = ShowRules::placePicture(stored.width(), stored.height(),
                                                          {area.x(), area.y(), area.width(), area.height()});
    return QRect(place.x, place.y, place.width, place.height);
}

QImage FrameRenderer::render(const SharedSlide& slide, const QImage& picture, QSize stored) const {
    QImage frame = FrameFill::backdrop(picture, frame_, slide.look);
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

// The caption on its band at the bottom (or top) of the picture as drawn (of the area when there is
// none).
void FrameRenderer::drawCaption(QPainter& painter, const SharedSlide& slide, const QRect& area,
                                const QRect& place) const {
    if (!slide.showText)
        return;
    const CaptionBand::CaptionPlace at = slide.look.captionPlace;
    CaptionBand::draw(painter, CaptionBand::room(area, place, at), slide.caption, slide.font, slide.colour,
                      textSide(), at);
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

// As the viewer draws a moving slide: the frame as large as fits, centred, on the slide's fill.
QImage FrameRenderer::renderMoving(const SharedSlide& slide, const QImage& picture,
                                   const ShowMotion::Frame& frame, const QImage& fill) const {
    QImage image = fill.size() == frame_ ? fill : this->fill(slide, picture);
    QPainter painter(&image);
    const QRect area = pictureArea(slide);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF source = ShowMotion::sourceRect(frame, QSizeF(picture.size()));
    const QRectF place = ShowMotion::fittedRect(source.size(), QRectF(area));
    painter.drawImage(place, picture, source);
    drawCaption(painter, slide, area, place.toAlignedRect());
    return image;
}

QImage FrameRenderer::fill(const SharedSlide& slide, const QImage& picture) const {
    return FrameFill::backdrop(picture, frame_, slide.look);
}

// A title slide: its fill, the blurred one of the picture after it, and its title in the middle.
QImage FrameRenderer::renderTitle(const SharedSlide& slide) const {
    const bool blurred = slide.look.fill == ShowRules::Fill::Blur;
    QImage frame = FrameFill::backdrop(blurred ? FrameFill::backdropPicture(slide.backdrop) : QImage(),
                                       frame_, slide.look);
    if (slide.showText) {
        QPainter painter(&frame);
        CaptionBand::drawTitle(painter, pictureArea(slide), slide.caption, slide.font, slide.colour,
                               textSide());
    }
    return frame;
}

QImage FrameRenderer::renderSlide(const SharedSlide& slide) const {
    if (slide.title)
        return renderTitle(slide);
    if (slide.picture.isEmpty())
        return render(slide, QImage(), QSize());
    const QRect area = pictureArea(slide);
    if (!QFileInfo::exists(slide.picture))
        return render(slide, missingPicture(area.size(), slide.picture, scaledFont(QFont())), area.size());
    // The viewer's rule needs the stored size; a reduced decode that still covers the area will do.
    const imaging::LoadedImage loaded = imaging::loadImageFile(slide.picture, area.size());
    return render(slide, loaded.image, loaded.image.isNull() ? QSize() : loaded.fullSize);
}

QImage FrameRenderer::blend(const QImage& from, const QImage& to, const ShowRules::TransitionLook& look,
                            const QRect& area) {
    QImage frame = to.convertToFormat(QImage::Format_RGB32);
    QPainter painter(&frame);
    painter.fillRect(area, Qt::black);
    SlideTransition::paint(painter, area, from.copy(area), to.copy(area), look);
    return frame;
}

} // namespace sharing
