// SPDX-License-Identifier: MIT
// Feeds arbitrary texts to the shared web page as its title (also as the name of a music file) and as
// the slides' captions and font families, and reads the page as a browser would: the script element must end
// where the page's own script ends, hold nothing that changes how the browser reads it, and its data must
// parse to exactly the texts given; the title element must read as the title.
//
// The input is the title and then a caption and a font family for each slide, in UTF-8, separated by
// zero bytes.

#include "web_page_data.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr std::size_t MaxSlides = 16;

void check(bool ok) {
    if (!ok)
        std::abort();
}

qsizetype findAnyCase(const QByteArray& page, const char* what, qsizetype from = 0) {
    return page.toLower().indexOf(what, from);
}

// The title element's text as the browser reads it: up to the first end tag, with the references
// the page writes read back.
QString titleOf(const QByteArray& page) {
    const qsizetype start = page.indexOf("<title>") + 7;
    const qsizetype end = findAnyCase(page, "</title", start);
    check(start >= 7 && end >= start);
    return QString::fromUtf8(page.mid(start, end - start))
        .replace(QLatin1String("&lt;"), QLatin1String("<"))
        .replace(QLatin1String("&gt;"), QLatin1String(">"))
        .replace(QLatin1String("&quot;"), QLatin1String("\""))
        .replace(QLatin1String("&amp;"), QLatin1String("&"));
}

// The show's data in the page's script, which must be the page's only script and end as the page's
// own does.
QJsonObject dataOf(const QByteArray& page) {
    const qsizetype start = page.indexOf("<script>") + 8;
    const qsizetype end = findAnyCase(page, "</script", start);
    check(start >= 8 && end >= start && page.mid(end) == "</script>\n</body>\n</html>\n");
    const QByteArray script = page.mid(start, end - start).toLower();
    check(!script.contains("</") && !script.contains("<!--") && !script.contains("<script"));
    const QByteArray lead = "const show = ";
    const qsizetype from = script.indexOf(lead) + lead.size();
    const qsizetype to = script.indexOf(";\n", from);
    check(from >= lead.size() && to > from);
    const QByteArray json = page.mid(start + from, to - from);
    // Nothing ends a line of the script inside the data.
    check(!json.contains('\n') && !json.contains('\r') && !json.contains("\xe2\x80\xa8") &&
          !json.contains("\xe2\x80\xa9"));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    check(error.error == QJsonParseError::NoError && document.isObject());
    return document.object();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QList<QByteArray> fields =
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)).split('\0');
    const QString title = QString::fromUtf8(fields[0]);
    sharing::SharedShow show;
    std::vector<sharing::PageSlide> slides;
    for (qsizetype i = 1; i < fields.size() && show.slides.size() < MaxSlides; i += 2) {
        sharing::SharedSlide slide;
        slide.caption = QString::fromUtf8(fields[i]);
        slide.showText = !slide.caption.isEmpty();
        slide.font.setFamily(QString::fromUtf8(fields.value(i + 1)));
        show.slides.push_back(slide);
        slides.push_back(
            {.picture = QStringLiteral("pictures/picture-%1.jpg").arg(i), .stored = {640, 480}, .ms = 5000});
    }
    const QByteArray page = sharing::webPageHtml(title, show, slides, {title});
    check(titleOf(page) == title);
    const QJsonObject shown = dataOf(page);
    check(shown[QLatin1String("title")].toString() == title);
    check(shown[QLatin1String("music")][QLatin1String("files")][0].toString() == title);
    const QJsonArray list = shown[QLatin1String("slides")].toArray();
    check(list.size() == qsizetype(show.slides.size()));
    for (qsizetype i = 0; i < list.size(); ++i) {
        const sharing::SharedSlide& slide = show.slides[std::size_t(i)];
        const QJsonObject item = list[i].toObject();
        check(slide.showText ? item[QLatin1String("text")].toString() == slide.caption
                             : item[QLatin1String("text")].isNull());
        check(item[QLatin1String("caption")].isNull());
    }
    return 0;
}
