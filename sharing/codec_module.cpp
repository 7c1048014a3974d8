// SPDX-License-Identifier: MIT
#include "codec_module.h"

#include "shipped_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace sharing {

namespace {

struct LoadedModule {
    CodecBackend* backend = nullptr;
    QString error;
};

// The module where the program's shipped files are (beside it, or installed), or where this build
// puts it, for programs that run from other folders of the build (tests, benchmarks).
LoadedModule loadModule() {
    const QStringList folders = shippedFileFolders(QCoreApplication::applicationDirPath())
                                << QStringLiteral(VERASCO_CODEC_MODULE_DIR);
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

CodecBackend* codecBackend(QString* error) {
    static const LoadedModule module = loadModule();
    if (!module.backend && error)
        *error = QStringLiteral("The codec module could not be loaded: %1").arg(module.error);
    return module.backend;
}

} // namespace sharing
