// SPDX-License-Identifier: MIT
#include "caption_band.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <climits>

namespace CaptionBand {
namespace {

constexpr int Flags = Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextWordWrap;

// The text's size wrapped at `width`.
QRect textBounds(const QFont& font, int width, const QString& text) {
    return QFontMetrics(font).boundingRect(QRect(0, 0, width, INT_MAX), Flags, text);
}

} // namespace

QFont scaledFont(const QFont& slideFont, int screenHeight) {
    QFont font = slideFont;
    const qreal pixels =
        slideFont.pointSizeF() > 0 ? slideFont.pointSizeF() * PointDpi / 72 : slideFont.pixelSize();
    font.setPixelSize(std::max(MinPixelSize, qRound(pixels * screenHeight / ReferenceHeight)));
    return font;
}

namespace {

// The band's place at the bottom of `picture`, its font and its margin.
struct Layout {
    QRect band;
    QFont font;
    int margin = 0;
};

Layout layOut(const QRect& picture, const QString& text, const QFont& slideFont, int screenHeight) {
    Layout layout;
    if (text.trimmed().isEmpty() || picture.isEmpty())
        return layout;
    layout.font = scaledFont(slideFont, screenHeight);
    QRect bounds;
    // Smaller until the wrapped text and its margins fit the picture's width and height.
    for (;;) {
        layout.margin = std::max(MinMargin, layout.font.pixelSize() / 2);
        const int width = std::max(1, picture.width() - 2 * layout.margin);
        bounds = textBounds(layout.font, width, text);
        const bool fits = bounds.width() <= width && bounds.height() + 2 * layout.margin <= picture.height();
        if (fits || layout.font.pixelSize() <= MinPixelSize)
            break;
        layout.font.setPixelSize(std::max(MinPixelSize, layout.font.pixelSize() * ShrinkPercent / 100));
    }
    const int height = std::min(picture.height(), bounds.height() + 2 * layout.margin);
    layout.band = QRect(picture.left(), picture.bottom() + 1 - height, picture.width(), height);
    return layout;
}

// The text on the band of `layout`, whose top left is at `origin`.
void drawText(QPainter& painter, const Layout& layout, QPoint origin, const QString& text) {
    const int margin = layout.margin;
    painter.setFont(layout.font);
    painter.drawText(QRect(origin, layout.band.size()).adjusted(margin, margin, -margin, -margin), Flags,
                     text);
}

} // namespace

QRect bandRect(const QRect& picture, const QString& text, const QFont& slideFont, int screenHeight) {
    return layOut(picture, text, slideFont, screenHeight).band;
}

QRect draw(QPainter& painter, const QRect& picture, const QString& text, const QFont& slideFont,
           const QColor& colour, int screenHeight) {
    const Layout layout = layOut(picture, text, slideFont, screenHeight);
    if (layout.band.isEmpty())
        return {};
    painter.save();
    painter.fillRect(layout.band, QColor(0, 0, 0, BandAlpha));
    painter.setPen(colour);
    drawText(painter, layout, layout.band.topLeft(), text);
    painter.restore();
    return layout.band;
}

QImage coverage(const QString& text, const QFont& slideFont, const QSize& screen) {
    const Layout layout = layOut(QRect(QPoint(0, 0), screen), text, slideFont, screen.height());
    if (layout.band.isEmpty())
        return {};
    QImage band(layout.band.size(), QImage::Format_ARGB32_Premultiplied);
    band.fill(Qt::transparent);
    QPainter painter(&band);
    painter.setPen(Qt::white);
    drawText(painter, layout, {0, 0}, text);
    painter.end();
    return band.convertToFormat(QImage::Format_Alpha8);
}

} // namespace CaptionBand

CaptionBandView::CaptionBandView(QWidget* area) : QWidget(area) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
}

void CaptionBandView::setCaption(const QString& text, const QFont& font, const QColor& colour,
                                 const QRect& picture) {
    text_ = text;
    font_ = font;
    colour_ = colour;
    picture_ = picture;
    setGeometry(parentWidget()->rect());
    setVisible(!text.trimmed().isEmpty());
    raise();
    update();
}

void CaptionBandView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    band_ = CaptionBand::draw(painter, picture_, text_, font_, colour_, height());
}

void CaptionBandView::setPicture(const QRect& picture) {
    setGeometry(parentWidget()->rect());
    picture_ = picture;
    raise();
    update();
}
