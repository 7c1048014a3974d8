// SPDX-License-Identifier: MIT
#include "export_names.h"

#include "show_document.h"
#include "show_file.h"
#include "stored_path.h"

#include <QFileInfo>
#include <QRandomGenerator>

namespace ExportNames {

QString withPackageExtension(const QString& chosen) {
    return ShowFile::nameExtension(chosen).isEmpty() ? chosen + QStringLiteral(".exe") : chosen;
}

QString packageName(const QString& chosen, PackagePlatform platform) {
    if (platform == PackagePlatform::Windows)
        return withPackageExtension(chosen);
    return ShowFile::nameExtension(chosen) == QLatin1String(".exe") ? chosen.chopped(4) : chosen;
}

QString defaultPackageName(const QString& showPath, PackagePlatform platform) {
    const QString base = QFileInfo(showPath).completeBaseName();
    return packageName(base.isEmpty() ? QStringLiteral("show") : base, platform);
}

bool needsConversion(const QString& imagePath) {
    static const QStringList converted{
        QStringLiteral(".bmp"),  QStringLiteral(".dib"),  QStringLiteral(".pcx"),  QStringLiteral(".png"),
        QStringLiteral(".tga"),  QStringLiteral(".tif"),  QStringLiteral(".webp"), QStringLiteral(".gif"),
        QStringLiteral(".heic"), QStringLiteral(".heif"), QStringLiteral(".avif")};
    return converted.contains(ShowFile::nameExtension(imagePath));
}

bool hasImage(const TSlideRecord& slide) {
    const QString image = imagePath(slide).trimmed();
    return !image.isEmpty() && image.compare(QLatin1String("BLANK"), Qt::CaseInsensitive) != 0;
}

bool hasAudio(const TSlideRecord& slide) {
    return !audioPath(slide).trimmed().isEmpty();
}

int imageFileCount(const ShowDocument& show) {
    int n = 0;
    for (int i = 0; i < show.SlideCount; ++i)
        n += hasImage(show.slide(i)) ? 1 : 0;
    return n;
}

int audioFileCount(const ShowDocument& show) {
    int n = 0;
    for (int i = 0; i < show.SlideCount; ++i)
        n += hasAudio(show.slide(i)) ? 1 : 0;
    return n;
}

QString imagePath(const TSlideRecord& slide) {
    return StoredPath::of(slide.ImageFile);
}

QString audioPath(const TSlideRecord& slide) {
    return StoredPath::of(slide.AudioFile);
}

QString temporaryPrefix() {
    QRandomGenerator* random = QRandomGenerator::global();
    return QStringLiteral("~%1%2")
        .arg(random->bounded(32768), 4, 16, QLatin1Char('0'))
        .arg(random->bounded(4095), 3, 16, QLatin1Char('0'));
}

} // namespace ExportNames
