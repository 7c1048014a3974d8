// SPDX-License-Identifier: MIT
#include "web_page_data.h"

#include "web_page_template.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace sharing {

namespace {

QJsonObject cssFont(const QFont& font) {
    QJsonObject css;
    css[QLatin1String("family")] = font.family();
    css[QLatin1String("size")] = font.pointSizeF() > 0
                                     ? QString::number(font.pointSizeF()) + QLatin1String("pt")
                                     : QString::number(font.pixelSize()) + QLatin1String("px");
    css[QLatin1String("weight")] = font.bold() ? 700 : 400;
    css[QLatin1String("italic")] = font.italic();
    QStringList lines;
    if (font.underline())
        lines << QStringLiteral("underline");
    if (font.strikeOut())
        lines << QStringLiteral("line-through");
    css[QLatin1String("decoration")] =
        lines.isEmpty() ? QStringLiteral("none") : lines.join(QLatin1Char(' '));
    return css;
}

QJsonObject slideData(const SharedSlide& slide, const PageSlide& page, std::int64_t fadeMs) {
    QJsonObject data;
    data[QLatin1String("picture")] = page.picture;
    data[QLatin1String("width")] = page.stored.width();
    data[QLatin1String("height")] = page.stored.height();
    data[QLatin1String("backdrop")] =
        page.backdrop.isValid() ? QJsonValue(page.backdrop.name(QColor::HexRgb)) : QJsonValue();
    // As in the viewer, the fade into a slide takes no longer than the slide's own time.
    data[QLatin1String("fade")] = double(std::min(fadeMs, std::int64_t(slide.delaySeconds) * 1000));
    data[QLatin1String("ms")] = double(page.ms);
    data[QLatin1String("sound")] = page.sound;
    data[QLatin1String("endsSound")] = page.endsSound;
    data[QLatin1String("hold")] = slide.holdForAudio && !page.sound.isEmpty();
    data[QLatin1String("text")] = slide.showText ? QJsonValue(slide.caption) : QJsonValue();
    data[QLatin1String("font")] = cssFont(slide.font);
    data[QLatin1String("color")] = slide.colour.name(QColor::HexRgb);
    return data;
}

// The data as a script reads it whatever a text says: no character that the page's markup gives a
// meaning inside a script element (one that ends it, opens a comment or a character reference),
// nor a line end of JavaScript's own, is written as itself. They all stand in strings, where an
// escape means the same.
QByteArray inertJson(const QJsonObject& data) {
    return QJsonDocument(data)
        .toJson(QJsonDocument::Compact)
        .replace("<", "\\u003c")
        .replace(">", "\\u003e")
        .replace("&", "\\u0026")
        .replace("\xe2\x80\xa8", "\\u2028") // U+2028 and U+2029 in UTF-8
        .replace("\xe2\x80\xa9", "\\u2029");
}

} // namespace

QByteArray webPageHtml(const QString& title, const SharedShow& show, const std::vector<PageSlide>& slides) {
    QJsonArray list;
    for (std::size_t i = 0; i < slides.size(); ++i)
        list.append(slideData(show.slides[i], slides[i], show.fadeMs));
    QJsonObject data;
    data[QLatin1String("title")] = title;
    data[QLatin1String("loop")] = show.loop;
    data[QLatin1String("slides")] = list;
    QByteArray page(WebPageTemplate);
    page.replace("/*SHOW*/null", inertJson(data));
    page.replace("<title></title>", "<title>" + title.toHtmlEscaped().toUtf8() + "</title>");
    return page;
}

} // namespace sharing
