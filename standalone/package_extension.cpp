// SPDX-License-Identifier: MIT
#include "package_extension.h"

#include "caption_band.h"
#include "plain_files.h"
#include "show_document.h"
#include "show_extension.h"
#include "slide_paths.h"
#include "stored_font.h"
#include "title_slides.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>

namespace {

const QString MusicKey = QStringLiteral("music");
const QString PathKey = QStringLiteral("path");
const QString CaptionKey = QStringLiteral("caption");

// The slides' objects; a title mark only where the slide is a title slide, as a package's record no
// longer tells a blank slide from a picture that could not be packed.
std::vector<QJsonObject> slideObjects(const ShowDocument& show) {
    std::vector<QJsonObject> slides;
    for (int i = 0; i < show.SlideCount; ++i)
        slides.push_back(TitleSlides::withTitle(show.extra(i), TitleSlides::isTitle(show, i)));
    return slides;
}

ExportError writeFailed(const QString& path, const QString& reason) {
    return {QCoreApplication::translate("StandaloneExport", "The stand-alone show could not be written."),
            QDir::toNativeSeparators(path) + QStringLiteral(": ") + reason};
}

QString shownCaption(const TSlideRecord& slide) {
    return slide.ShowText ? shownCaptionOf(slide) : QString();
}

// The slide's caption on the band of a package's reference screen, or a title slide's title in its
// middle; null for none.
QImage captionCoverage(const ShowDocument& show, int index) {
    const TSlideRecord& slide = show.slide(index);
    const QString text = shownCaption(slide);
    if (text.isEmpty())
        return {};
    const QFont font = storedFont(fontNameOf(slide), slide.FontSize, slide.FontStyle);
    const QSize screen(CaptionBand::PackageWidth, CaptionBand::PackageHeight);
    return TitleSlides::isTitle(show, index) ? CaptionBand::titleCoverage(text, font, screen)
                                             : CaptionBand::coverage(text, font, screen);
}

bool writePgm(QFile& out, const QImage& mask) {
    const QByteArray head =
        QStringLiteral("P5\n%1 %2\n255\n").arg(mask.width()).arg(mask.height()).toLatin1();
    if (!imaging::writeAll(out, head.constData(), head.size()))
        return false;
    for (int y = 0; y < mask.height(); ++y)
        if (!imaging::writeAll(out, reinterpret_cast<const char*>(mask.constScanLine(y)), mask.width()))
            return false;
    return true;
}

// Each captioned slide's caption drawn once into a member of its own, named in the slide's object.
std::optional<ExportError> writeCaptions(const ShowDocument& show, const QDir& folder,
                                         const QStringList& reserved, std::vector<PackageFile>& taken,
                                         std::vector<QJsonObject>& slides) {
    for (int i = 0; i < show.SlideCount; ++i) {
        const QImage mask = captionCoverage(show, i);
        if (mask.isNull())
            continue;
        const QString member = freePackageName(QStringLiteral("caption-%1.pgm").arg(i + 1), reserved, taken);
        QFile out(folder.filePath(QStringLiteral("caption-%1").arg(i)));
        if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly) || !writePgm(out, mask) || !out.flush())
            return writeFailed(out.fileName(), out.errorString());
        slides[std::size_t(i)].insert(CaptionKey, member);
        taken.push_back({out.fileName(), member});
    }
    return std::nullopt;
}

} // namespace

bool hasExtensionData(const ShowDocument& show) {
    for (int i = 0; i < show.SlideCount; ++i)
        if (!shownCaption(show.slide(i)).isEmpty())
            return true;
    return !ShowExtension::encode(show.showData(), slideObjects(show)).isEmpty();
}

std::optional<ExportError> runExtensionPass(const ExtensionPassJob& job, std::vector<PackageFile>& files) {
    const ShowDocument& show = *job.show;
    if (!hasExtensionData(show))
        return std::nullopt;
    const QDir folder(job.packageFolder);
    QStringList reserved = job.reservedNames;
    reserved.append(QLatin1String(ExtensionMemberName));
    // The music is converted first, so that the block names only the members that are packed.
    const QJsonArray given = show.showData().value(MusicKey).toArray();
    std::vector<MusicConversion> conversions;
    for (const QJsonValue& value : given)
        conversions.push_back({value.toObject().value(PathKey).toString(),
                               folder.filePath(QStringLiteral("music-%1").arg(conversions.size()))});
    std::vector<bool> converted(conversions.size(), false);
    if (!conversions.empty() && job.convertMusic) {
        const std::optional<std::vector<bool>> done = job.convertMusic(conversions);
        if (!done)
            return ExportError{{}, {}, true};
        converted = *done;
    }
    std::vector<PackageFile> music;
    QJsonArray entries;
    for (std::size_t i = 0; i < conversions.size(); ++i) {
        const MusicConversion& conversion = conversions[i];
        if (!converted[i]) {
            QFile::remove(conversion.to);
            if (job.leftOut && !conversion.from.isEmpty())
                job.leftOut->push_back(conversion.from);
            continue;
        }
        std::vector<PackageFile> taken = files;
        taken.insert(taken.end(), music.begin(), music.end());
        const QString member =
            freePackageName(QStringLiteral("music-%1.ogg").arg(music.size() + 1), reserved, taken);
        QJsonObject entry = given[qsizetype(i)].toObject();
        entry.insert(PathKey, member);
        entries.append(entry);
        music.push_back({conversion.to, member});
    }
    QJsonObject data = show.showData();
    if (entries.isEmpty())
        data.remove(MusicKey);
    else
        data.insert(MusicKey, entries);
    std::vector<QJsonObject> slides = slideObjects(show);
    std::vector<PackageFile> taken = files;
    taken.insert(taken.end(), music.begin(), music.end());
    const std::size_t captionsFrom = taken.size();
    if (std::optional<ExportError> error = writeCaptions(show, folder, reserved, taken, slides))
        return error;
    const QByteArray block = ShowExtension::encode(data, slides);
    if (block.isEmpty())
        return std::nullopt;
    QFile out(folder.filePath(QLatin1String(ExtensionMemberName)));
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered) ||
        !imaging::writeAll(out, block.constData(), block.size()))
        return writeFailed(out.fileName(), out.errorString());
    files.push_back({out.fileName(), QLatin1String(ExtensionMemberName)});
    files.insert(files.end(), music.begin(), music.end());
    files.insert(files.end(), taken.begin() + std::ptrdiff_t(captionsFrom), taken.end());
    return std::nullopt;
}
