// SPDX-License-Identifier: MIT
#include "caption_sources.h"

#include "date_taken.h"
#include "exif_reader.h"
#include "show_document.h"
#include "text_dialog.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLocale>
#include <QRegularExpression>
#include <QTextDocumentFragment>

#include <array>

namespace CaptionSources {

namespace {

const QString SourceKey = QStringLiteral("captionFrom");
const std::array<QString, 4> SourceNames = {QString(), QStringLiteral("date"), QStringLiteral("name"),
                                            QStringLiteral("description")};

QString dateTaken(const QString& path) {
    const std::optional<qint64> taken = imaging::dateTaken(path);
    return taken ? QLocale().toString(QDateTime::fromMSecsSinceEpoch(*taken).date(),
                                      QStringLiteral("d MMMM yyyy"))
                 : QString();
}

// The XMP packet's dc:description in its first language.
QString xmpDescription(QByteArrayView xmp) {
    static const QRegularExpression description(
        QStringLiteral("<dc:description[^>]*>.*?<rdf:li[^>]*>(.*?)</rdf:li>"),
        QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch found = description.match(QString::fromUtf8(xmp));
    return found.hasMatch() ? QTextDocumentFragment::fromHtml(found.captured(1)).toPlainText() : QString();
}

// The description a JPEG's XMP or EXIF data gives, a TIFF's own, or a PNG's text.
QString description(const QString& path) {
    QFile file(path);
    const QByteArray head = file.open(QIODevice::ReadOnly) ? file.read(imaging::DateHeadBytes) : QByteArray();
    const imaging::JpegHead jpeg = imaging::readJpegHead(head);
    QString text = xmpDescription(jpeg.xmp);
    if (text.trimmed().isEmpty())
        text = QString::fromUtf8(
            imaging::tiffDescription(jpeg.exif.isEmpty() ? QByteArrayView(head) : jpeg.exif));
    if (text.trimmed().isEmpty())
        text = QImageReader(path).text(QStringLiteral("Description"));
    return text.simplified();
}

} // namespace

Source sourceOf(const QJsonObject& slide) {
    const QString name = slide.value(SourceKey).toString();
    for (std::size_t i = 1; i < SourceNames.size(); ++i)
        if (name == SourceNames[i])
            return Source(i);
    return Source::Typed;
}

QString captionOf(Source source, const QString& imagePath) {
    if (source == Source::Typed || imagePath.isEmpty())
        return {};
    if (source == Source::FileName)
        return QFileInfo(imagePath).completeBaseName();
    return source == Source::DateTaken ? dateTaken(imagePath) : description(imagePath);
}

void apply(ShowSlide& slide, Source source, const QString& imagePath) {
    if (source == Source::Typed) {
        slide.extra.remove(SourceKey);
        return;
    }
    slide.extra.insert(SourceKey, SourceNames[std::size_t(source)]);
    slide.record.Text.assign(storedCaption(captionOf(source, imagePath)).toStdString());
}

int refreshAll(ShowDocument& show) {
    const ShowDocument::Step step(show, QCoreApplication::translate("CaptionSources", "Refresh Captions"));
    int changed = 0;
    for (int i = 0; i < show.SlideCount; ++i) {
        const Source source = sourceOf(show.extra(i));
        if (source == Source::Typed || show.isBlank(i))
            continue;
        ShowSlide slide = show.at(i);
        apply(slide, source, show.imagePath(i));
        if (slide.record.Text.str() == show.slide(i).Text.str())
            continue;
        show.replace(i, std::move(slide));
        ++changed;
    }
    return changed;
}

bool anySourced(const ShowDocument& show) {
    for (int i = 0; i < show.SlideCount; ++i)
        if (sourceOf(show.extra(i)) != Source::Typed)
            return true;
    return false;
}

} // namespace CaptionSources
