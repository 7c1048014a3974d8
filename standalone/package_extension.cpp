// SPDX-License-Identifier: MIT
#include "package_extension.h"

#include "plain_files.h"
#include "show_document.h"
#include "show_extension.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>

namespace {

const QString MusicKey = QStringLiteral("music");
const QString PathKey = QStringLiteral("path");

std::vector<QJsonObject> slideObjects(const ShowDocument& show) {
    std::vector<QJsonObject> slides;
    for (int i = 0; i < show.SlideCount; ++i)
        slides.push_back(show.extra(i));
    return slides;
}

ExportError writeFailed(const QString& path, const QString& reason) {
    return {QCoreApplication::translate("StandaloneExport", "The stand-alone show could not be written."),
            QDir::toNativeSeparators(path) + QStringLiteral(": ") + reason};
}

} // namespace

bool hasExtensionData(const ShowDocument& show) {
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
    const QByteArray block = ShowExtension::encode(data, slideObjects(show));
    if (block.isEmpty())
        return std::nullopt;
    QFile out(folder.filePath(QLatin1String(ExtensionMemberName)));
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered) ||
        !imaging::writeAll(out, block.constData(), block.size()))
        return writeFailed(out.fileName(), out.errorString());
    files.push_back({out.fileName(), QLatin1String(ExtensionMemberName)});
    files.insert(files.end(), music.begin(), music.end());
    return std::nullopt;
}
