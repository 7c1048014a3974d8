// SPDX-License-Identifier: MIT
#include "shipped_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QStringList shippedFileFolders(const QString& programFolder) {
    const QDir program(programFolder);
    // The installed folders of the machine code and of the data, relative to the installed program
    // folder (set by the build).
    return {program.absolutePath(),
            QDir::cleanPath(program.absoluteFilePath(QStringLiteral(VERASCO_LIB_FROM_BIN))),
            QDir::cleanPath(program.absoluteFilePath(QStringLiteral(VERASCO_DATA_FROM_BIN)))};
}

QString shippedFilePath(const QString& name, const QString& programFolder) {
    const QStringList folders = shippedFileFolders(programFolder);
    for (const QString& folder : folders) {
        const QString path = QDir(folder).filePath(name);
        if (QFileInfo(path).isFile())
            return path;
    }
    return QDir(folders.last()).filePath(name);
}

QString shippedFilePath(const QString& name) {
    return shippedFilePath(name, QCoreApplication::applicationDirPath());
}

QStringList shippedFileNames() {
    return {QLatin1String(PaletteFileName), QLatin1String(HelpFileName), QLatin1String(ExportHeadFileName),
            QLatin1String(ExportPlayerFileName), QLatin1String(ExportRuntimeFileName)};
}

QStringList missingShippedFileReport() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    QStringList lines;
    for (const QString& name : shippedFileNames()) {
        if (!QFileInfo(shippedFilePath(name, programFolder)).isFile())
            lines.append(QStringLiteral("verasco: shipped file %1 not found in %2")
                             .arg(name, shippedFileFolders(programFolder).join(QStringLiteral(" or "))));
    }
    return lines;
}
