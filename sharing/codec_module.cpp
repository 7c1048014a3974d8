// SPDX-License-Identifier: MIT
#include "codec_module.h"

#include "shipped_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace sharing {

namespace {

struct LoadedModule {
    CodecBackend* backend = nullptr;
    QString error;
};

// A program that runs from inside the build tree fixed at compile time (a test, a benchmark): an
// installed program never looks there, whatever that folder holds on the machine it runs on.
bool runsInsideBuild(const QString& programFolder) {
    const QString build = QFileInfo(QStringLiteral(VERASCO_BUILD_DIR)).canonicalFilePath();
    const QString program = QFileInfo(programFolder).canonicalFilePath();
    return !build.isEmpty() && (program == build || program.startsWith(build + QLatin1Char('/')));
}

LoadedModule loadModule() {
    const QStringList folders = codecModuleFolders(QCoreApplication::applicationDirPath());
    QString error;
    for (const QString& folder : folders) {
        QLibrary module(QDir(folder).filePath(QLatin1String(CodecModuleName)));
        if (auto create = reinterpret_cast<CreateCodecBackend>(module.resolve(CreateCodecBackendName)))
            return {create(), {}};
        if (error.isEmpty() || QFileInfo::exists(module.fileName()))
            error = module.errorString();
    }
    return {nullptr, error};
}

} // namespace

QStringList codecModuleFolders(const QString& programFolder) {
    QStringList folders = shippedFileFolders(programFolder);
    if (runsInsideBuild(programFolder))
        folders << QStringLiteral(VERASCO_CODEC_MODULE_DIR);
    return folders;
}

CodecBackend* codecBackend(QString* error) {
    static const LoadedModule module = loadModule();
    if (!module.backend && error)
        *error = QCoreApplication::translate("ShareReasons", "The codec module could not be loaded: %1")
                     .arg(module.error);
    return module.backend;
}

} // namespace sharing
