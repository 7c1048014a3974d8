// SPDX-License-Identifier: MIT
#include "package_programs.h"

#include "shipped_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace PackagePrograms {

Names names(PackagePlatform platform) {
    if (platform == PackagePlatform::Windows)
        return {ExportWindowsHeadFileName, ExportWindowsPlayerFileName, ExportWindowsRuntimeFileName};
    return {ExportHeadFileName, ExportPlayerFileName, ExportRuntimeFileName};
}

QString platformName(PackagePlatform platform) {
    return platform == PackagePlatform::Linux ? QStringLiteral("Linux") : QStringLiteral("Windows");
}

PackagePlatform platformNamed(const QString& name) {
    return name == QLatin1String("Linux") ? PackagePlatform::Linux : PackagePlatform::Windows;
}

bool present(const QString& folder, PackagePlatform platform) {
    const QDir dir(folder);
    const Names n = names(platform);
    return !folder.isEmpty() && QFileInfo(dir.filePath(QLatin1String(n.head))).isFile() &&
           QFileInfo(dir.filePath(QLatin1String(n.player))).isFile() &&
           QFileInfo(dir.filePath(QLatin1String(n.runtime))).isFile();
}

QString folder() {
    const QStringList folders = shippedFileFolders(QCoreApplication::applicationDirPath());
    for (const QString& f : folders)
        if (present(f))
            return f;
    return folders.first();
}

} // namespace PackagePrograms
