// SPDX-License-Identifier: MIT
#include "frame_fill.h"

#include "caption_band.h"
#include "image_loader.h"
#include "picture_place.h"

#include <QPainter>

namespace FrameFill {

QImage backdrop(const QImage& picture, QSize frame, const ShowRules::Look& look) {
    QImage fill(frame, QImage::Format_RGB32);
    if (frame.isEmpty())
        return fill;
    if (look.fill != ShowRules::Fill::Blur) {
        fill.fill(look.fill == ShowRules::Fill::Colour ? QColor(QRgb(0xFF000000u | look.fillColour))
                                                       : QColor(Qt::black));
        return fill;
    }
    const QImage pixels = picture.convertToFormat(QImage::Format_RGB32);
    ShowRules::blurredFill(reinterpret_cast<const std::uint32_t*>(pixels.constBits()), pixels.width(),
                           pixels.height(), int(pixels.bytesPerLine() / 4), frame.width(), frame.height(),
                           reinterpret_cast<std::uint32_t*>(fill.bits()));
    return fill;
}

QImage backdropPicture(const QString& path) {
    // The blur takes the picture down to BlurHeight rows of the frame; a few times that is plenty.
    constexpr int Side = ShowRules::BlurHeight * 8;
    return path.isEmpty() ? QImage() : imaging::loadImageFile(path, QSize(Side, Side)).image;
}

void drawSlide(QPainter& painter, const QRect& frame, const QImage& picture, const ShowRules::Look& look,
               const QString& text, const QFont& font, const QColor& colour) {
    painter.drawImage(frame.topLeft(), backdrop(picture, frame.size(), look));
    const ShowRules::Rect place = ShowRules::placePicture(
        picture.width(), picture.height(), {frame.x(), frame.y(), frame.width(), frame.height()});
    const QRect placed(place.x, place.y, place.width, place.height);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!placed.isEmpty())
        painter.drawImage(placed, picture);
    painter.restore();
    CaptionBand::draw(painter, CaptionBand::room(frame, placed, look.captionPlace), text, font, colour,
                      frame.height(), look.captionPlace);
}

} // namespace FrameFill

FrameFillView::FrameFillView(QWidget* area) : QWidget(area) {
    setObjectName(QStringLiteral("FrameFill"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
}

void FrameFillView::setFill(const QImage& picture, const ShowRules::Look& look) {
    picture_ = look.fill == ShowRules::Fill::Blur ? picture : QImage();
    look_ = look;
    setGeometry(parentWidget()->contentsRect());
    const bool filled = look.fill != ShowRules::Fill::Black;
    drawn_ = filled ? FrameFill::backdrop(picture_, size(), look_) : QImage();
    setVisible(filled);
    lower();
    update();
}

void FrameFillView::paintEvent(QPaintEvent*) {
    if (drawn_.size() != size() && look_.fill != ShowRules::Fill::Black)
        drawn_ = FrameFill::backdrop(picture_, size(), look_);
    QPainter(this).drawImage(0, 0, drawn_);
}
