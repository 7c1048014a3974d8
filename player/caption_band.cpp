// SPDX-License-Identifier: MIT
#include "caption_band.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

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

// The band's font and margin, smaller until the wrapped text and its margins fit `room`; returns the
// text's bounds.
QRect fitText(Layout& layout, const QSize& room, const QString& text) {
    QRect bounds;
    for (;;) {
        layout.margin = std::max(MinMargin, layout.font.pixelSize() / 2);
        const int width = std::max(1, room.width() - 2 * layout.margin);
        bounds = textBounds(layout.font, width, text);
        const bool fits = bounds.width() <= width && bounds.height() + 2 * layout.margin <= room.height();
        if (fits || layout.font.pixelSize() <= MinPixelSize)
            return bounds;
        layout.font.setPixelSize(std::max(MinPixelSize, layout.font.pixelSize() * ShrinkPercent / 100));
    }
}

Layout layOut(const QRect& picture, const QString& text, const QFont& slideFont, int screenHeight,
              CaptionPlace place) {
    Layout layout;
    if (text.trimmed().isEmpty() || picture.isEmpty())
        return layout;
    layout.font = scaledFont(slideFont, screenHeight);
    const QRect bounds = fitText(layout, picture.size(), text);
    const int height = std::min(picture.height(), bounds.height() + 2 * layout.margin);
    const int top = place == CaptionPlace::Top ? picture.top() : picture.bottom() + 1 - height;
    layout.band = QRect(picture.left(), top, picture.width(), height);
    return layout;
}

// A title in the middle of `frame`: larger than a caption, within a share of the frame each way.
Layout layOutTitle(const QRect& frame, const QString& text, const QFont& slideFont, int screenHeight) {
    Layout layout;
    if (text.trimmed().isEmpty() || frame.isEmpty())
        return layout;
    layout.font = scaledFont(slideFont, screenHeight);
    layout.font.setPixelSize(layout.font.pixelSize() * TitlePercent / 100);
    const QSize room = frame.size() * TitleWidthPercent / 100;
    const QRect bounds = fitText(layout, room, text);
    const QSize size(std::min(room.width(), bounds.width() + 2 * layout.margin),
                     std::min(room.height(), bounds.height() + 2 * layout.margin));
    layout.band = QRect(frame.center() - QPoint(size.width() / 2, size.height() / 2), size);
    return layout;
}

// The text on the band of `layout`, whose top left is at `origin`.
void drawText(QPainter& painter, const Layout& layout, QPoint origin, const QString& text) {
    const int margin = layout.margin;
    painter.setFont(layout.font);
    painter.drawText(QRect(origin, layout.band.size()).adjusted(margin, margin, -margin, -margin), Flags,
                     text);
}

// The letters of `layout` as an 8-bit coverage mask of the band's size.
QImage letters(const Layout& layout, const QString& text) {
    QImage band(layout.band.size(), QImage::Format_ARGB32_Premultiplied);
    band.fill(Qt::transparent);
    QPainter painter(&band);
    painter.setPen(Qt::white);
    drawText(painter, layout, {0, 0}, text);
    painter.end();
    return band.convertToFormat(QImage::Format_Alpha8);
}

QImage inColour(const QImage& mask, QRgb colour) {
    QImage image(mask.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(colour));
    image.setAlphaChannel(mask);
    return image;
}

// The letters of `layout` in the caption's colours over their outline, on transparency.
QImage outlinedLetters(const Layout& layout, const QString& text, const QColor& colour, int screenHeight) {
    const QImage mask = letters(layout, text);
    const int w = mask.width(), h = mask.height();
    std::vector<std::uint8_t> in(std::size_t(w) * std::size_t(h)), out(in.size());
    for (int y = 0; y < h; ++y)
        std::memcpy(in.data() + std::size_t(y) * std::size_t(w), mask.constScanLine(y), std::size_t(w));
    ShowRules::outlineOf(in.data(), w, h, ShowRules::outlineRadius(screenHeight), out.data());
    QImage outline(mask.size(), QImage::Format_Alpha8);
    for (int y = 0; y < h; ++y)
        std::memcpy(outline.scanLine(y), out.data() + std::size_t(y) * std::size_t(w), std::size_t(w));
    const ShowRules::CaptionColours colours = ShowRules::captionColours(colour.rgb() & 0xFFFFFF);
    QImage drawn = inColour(outline, colours.outline);
    QPainter painter(&drawn);
    painter.drawImage(0, 0, inColour(mask, colours.text));
    painter.end();
    return drawn;
}

} // namespace

QRect room(const QRect& frame, const QRect& picture, CaptionPlace place) {
    if (picture.isEmpty())
        return frame;
    if (place == CaptionPlace::Top)
        return QRect(QPoint(frame.left(), picture.top()), frame.bottomRight());
    return QRect(frame.topLeft(), QPoint(frame.right(), picture.bottom()));
}

QRect bandRect(const QRect& room, const QString& text, const QFont& slideFont, int screenHeight,
               CaptionPlace place) {
    return layOut(room, text, slideFont, screenHeight, place).band;
}

QRect draw(QPainter& painter, const QRect& room, const QString& text, const QFont& slideFont,
           const QColor& colour, int screenHeight, CaptionPlace place) {
    const Layout layout = layOut(room, text, slideFont, screenHeight, place);
    if (layout.band.isEmpty())
        return {};
    painter.save();
    painter.fillRect(layout.band, QColor(0, 0, 0, BandAlpha));
    painter.drawImage(layout.band.topLeft(), outlinedLetters(layout, text, colour, screenHeight));
    painter.restore();
    return layout.band;
}

QImage coverage(const QString& text, const QFont& slideFont, const QSize& screen) {
    const Layout layout =
        layOut(QRect(QPoint(0, 0), screen), text, slideFont, screen.height(), CaptionPlace::Bottom);
    return layout.band.isEmpty() ? QImage() : letters(layout, text);
}

QImage outlined(const QString& text, const QFont& slideFont, const QColor& colour, const QSize& screen) {
    const Layout layout =
        layOut(QRect(QPoint(0, 0), screen), text, slideFont, screen.height(), CaptionPlace::Bottom);
    return layout.band.isEmpty() ? QImage() : outlinedLetters(layout, text, colour, screen.height());
}

QRect drawTitle(QPainter& painter, const QRect& frame, const QString& text, const QFont& slideFont,
                const QColor& colour, int screenHeight) {
    const Layout layout = layOutTitle(frame, text, slideFont, screenHeight);
    if (!layout.band.isEmpty())
        painter.drawImage(layout.band.topLeft(), outlinedLetters(layout, text, colour, screenHeight));
    return layout.band;
}

QImage titleCoverage(const QString& text, const QFont& slideFont, const QSize& screen) {
    const Layout layout = layOutTitle(QRect(QPoint(0, 0), screen), text, slideFont, screen.height());
    return layout.band.isEmpty() ? QImage() : letters(layout, text);
}

QImage titleOutlined(const QString& text, const QFont& slideFont, const QColor& colour, const QSize& screen) {
    const Layout layout = layOutTitle(QRect(QPoint(0, 0), screen), text, slideFont, screen.height());
    return layout.band.isEmpty() ? QImage() : outlinedLetters(layout, text, colour, screen.height());
}

} // namespace CaptionBand

CaptionBandView::CaptionBandView(QWidget* area) : QWidget(area) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
}

void CaptionBandView::setCaption(const QString& text, const QFont& font, const QColor& colour,
                                 const QRect& picture, CaptionBand::CaptionPlace place, bool title) {
    text_ = text;
    place_ = place;
    title_ = title;
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
    band_ = title_ ? CaptionBand::drawTitle(painter, rect(), text_, font_, colour_, height())
                   : CaptionBand::draw(painter, picture_, text_, font_, colour_, height(), place_);
}

void CaptionBandView::setPicture(const QRect& picture) {
    setGeometry(parentWidget()->rect());
    picture_ = picture;
    raise();
    update();
}
