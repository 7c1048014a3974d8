// SPDX-License-Identifier: MIT
#include "web_page_data.h"

#include "caption_scale.h"
#include "music_level.h"
#include "web_page_template.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace sharing {

namespace {

QJsonArray frameData(const ShowMotion::Frame& frame) {
    return {frame.x, frame.y, frame.w, frame.h};
}

// The slide's motion over its own time, as the video runs it; none for a picture the page shows
// still (a blank slide, a picture that could not be read, the stand-in for a missing file).
QJsonValue motionData(const SharedSlide& slide, const PageSlide& page) {
    if (!slide.motion || page.picture.isEmpty() || page.backdrop.isValid())
        return QJsonValue();
    return QJsonObject{{QLatin1String("from"), frameData(slide.motion->from)},
                       {QLatin1String("to"), frameData(slide.motion->to)},
                       {QLatin1String("ms"), double(std::max<std::int64_t>(1, page.motionMs))}};
}

QJsonObject slideData(const SharedSlide& slide, const PageSlide& page) {
    QJsonObject data;
    data[QLatin1String("picture")] = page.picture;
    data[QLatin1String("width")] = page.stored.width();
    data[QLatin1String("height")] = page.stored.height();
    data[QLatin1String("backdrop")] =
        page.backdrop.isValid() ? QJsonValue(page.backdrop.name(QColor::HexRgb)) : QJsonValue();
    data[QLatin1String("fade")] = double(page.fadeMs);
    data[QLatin1String("change")] = QString::fromUtf8(ShowRules::transitionName(page.transition));
    data[QLatin1String("ms")] = double(page.ms);
    data[QLatin1String("sound")] = page.sound;
    data[QLatin1String("endsSound")] = page.endsSound;
    data[QLatin1String("hold")] = slide.holdForAudio && !page.sound.isEmpty();
    data[QLatin1String("text")] = slide.showText ? QJsonValue(slide.caption) : QJsonValue();
    data[QLatin1String("caption")] = page.caption.isEmpty()
                                         ? QJsonValue()
                                         : QJsonObject{{QLatin1String("src"), page.caption},
                                                       {QLatin1String("width"), page.captionSize.width()},
                                                       {QLatin1String("height"), page.captionSize.height()}};
    data[QLatin1String("motion")] = motionData(slide, page);
    data[QLatin1String("fill")] =
        slide.look.fill == ShowRules::Fill::Colour
            ? QJsonValue(QColor(QRgb(0xFF000000u | slide.look.fillColour)).name(QColor::HexRgb))
            : QJsonValue(page.fill);
    data[QLatin1String("captionTop")] = slide.look.captionPlace == ShowRules::CaptionPlace::Top;
    data[QLatin1String("title")] = slide.title;
    return data;
}

// JSON as a script reads it whatever a text says: no character that the page's markup gives a
// meaning inside a script element (one that ends it, opens a comment or a character reference),
// nor a line end of JavaScript's own, is written as itself. They all stand in strings, where an
// escape means the same.
QByteArray inert(QByteArray json) {
    return json.replace("<", "\\u003c")
        .replace(">", "\\u003e")
        .replace("&", "\\u0026")
        .replace("\xe2\x80\xa8", "\\u2028") // U+2028 and U+2029 in UTF-8
        .replace("\xe2\x80\xa9", "\\u2029");
}

QByteArray inertJson(const QJsonObject& data) {
    return inert(QJsonDocument(data).toJson(QJsonDocument::Compact));
}

// A text as a JavaScript string literal, quotes included.
QByteArray inertString(const QString& text) {
    const QByteArray list = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return inert(list.mid(1, list.size() - 2));
}

// The page's own texts, each where the template writes it in English: between `before` and
// `after` in the markup, or, in the script, as a string literal there.
struct PageText {
    const char* before;
    const char* text;
    const char* after;
    bool script = false;
};

const PageText PageTexts[] = {
    {"<div id=\"start\">", QT_TRANSLATE_NOOP("WebPage", "Click to start the show"), "</div>"},
    {"title=\"", QT_TRANSLATE_NOOP("WebPage", "Previous image (Left)"), "\""},
    {"&#9664; ", QT_TRANSLATE_NOOP("WebPage", "Previous"), "</button>"},
    {"title=\"", QT_TRANSLATE_NOOP("WebPage", "Play or stop (Space)"), "\""},
    {"\">", QT_TRANSLATE_NOOP("WebPage", "Play"), "</button>"},
    {"title=\"", QT_TRANSLATE_NOOP("WebPage", "Next image (Right)"), "\""},
    {"\">", QT_TRANSLATE_NOOP("WebPage", "Next"), " &#9654;"},
    {"title=\"", QT_TRANSLATE_NOOP("WebPage", "Full screen (F)"), "\""},
    {"\">", QT_TRANSLATE_NOOP("WebPage", "Full screen"), "</button>"},
    {"textContent = ", QT_TRANSLATE_NOOP("WebPage", "Stop"), ";", true},
    {"textContent = ", QT_TRANSLATE_NOOP("WebPage", "Play"), ";", true},
};

// The page's texts in the program's language; in English the page stays as the template has it.
void translatePageTexts(QByteArray& page) {
    const QString language =
        QCoreApplication::translate("WebPage", "en", "the language code of the page's texts");
    page.replace("<html lang=\"en\">", "<html lang=\"" + language.toHtmlEscaped().toUtf8() + "\">");
    for (const PageText& text : PageTexts) {
        const QString english = QString::fromLatin1(text.text);
        const QString translated = QCoreApplication::translate("WebPage", text.text);
        const auto written = [&text](const QString& words) {
            return text.before + (text.script ? inertString(words) : words.toHtmlEscaped().toUtf8()) +
                   text.after;
        };
        page.replace(written(english), written(translated));
    }
}

// The caption band's black, and the height of the screen the captions were drawn for.
QJsonObject bandData() {
    return {{QLatin1String("height"), CaptionBand::PackageHeight},
            {QLatin1String("alpha"), CaptionBand::BandAlpha / 255.0}};
}

QJsonObject musicData(const SharedShow& show, const std::vector<QString>& music) {
    QJsonArray files;
    for (const QString& file : music)
        files.append(file);
    return {{QLatin1String("files"), files},
            {QLatin1String("fadeMs"), double(show.musicFadeMs)},
            {QLatin1String("ducked"), MusicLevel::Ducked},
            {QLatin1String("level"), show.musicLevel},
            {QLatin1String("tickMs"), MusicLevel::TickMs}};
}

} // namespace

QByteArray webPageHtml(const QString& title, const SharedShow& show, const std::vector<PageSlide>& slides,
                       const std::vector<QString>& music) {
    QJsonArray list;
    for (std::size_t i = 0; i < slides.size(); ++i)
        list.append(slideData(show.slides[i], slides[i]));
    QJsonObject data;
    data[QLatin1String("title")] = title;
    data[QLatin1String("loop")] = show.loop;
    data[QLatin1String("slides")] = list;
    data[QLatin1String("band")] = bandData();
    data[QLatin1String("music")] = musicData(show, music);
    QByteArray page(WebPageTemplate);
    translatePageTexts(page);
    page.replace("/*SHOW*/null", inertJson(data));
    page.replace("<title></title>", "<title>" + title.toHtmlEscaped().toUtf8() + "</title>");
    return page;
}

} // namespace sharing
