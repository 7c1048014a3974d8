// SPDX-License-Identifier: MIT
#include "package_programs.h"

#include "shipped_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace PackagePrograms {

bool present(const QString& folder) {
    const QDir dir(folder);
    return !folder.isEmpty() && QFileInfo(dir.filePath(QLatin1String(ExportHeadFileName))).isFile() &&
           QFileInfo(dir.filePath(QLatin1String(ExportPlayerFileName))).isFile() &&
           QFileInfo(dir.filePath(QLatin1String(ExportRuntimeFileName))).isFile();
}

QString folder() {
    const QStringList folders = shippedFileFolders(QCoreApplication::applicationDirPath());
    for (const QString& f : folders)
        if (present(f))
            return f;
    return folders.first();
}

} // namespace PackagePrograms
