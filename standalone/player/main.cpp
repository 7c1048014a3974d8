// SPDX-License-Identifier: MIT
// verasco2.dat, the player of a stand-alone package. The package's head unpacks the members into a
// private folder and runs this program there under the package's own name; it plays the show that
// "images.sld" and "images.dat" of that folder hold. The test switch --report writes each slide as
// it comes on screen to standard output and quits after the last one.

#include "media_device.h"
#include "package_show.h"
#include "runtime_decoder.h"
#include "standalone_player.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

#include <cstdio>

extern "C" MediaBackend* verascoCreateMediaBackend(); // the sound backend, built in

namespace {

constexpr int ShowUnusable = 3;

void tell(const QString& text) {
    std::fprintf(stderr, "%s: %s\n",
                 qPrintable(QFileInfo(QCoreApplication::applicationFilePath()).fileName()), qPrintable(text));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Verasco"));
    const bool report = app.arguments().contains(QStringLiteral("--report"));
    MediaDevice::setBackendMaker(&verascoCreateMediaBackend);

    PackageShow package;
    QString error;
    if (!package.open(QDir::currentPath(), error)) {
        tell(error);
        if (!report)
            QMessageBox::critical(nullptr, QStringLiteral("Verasco"), error);
        return ShowUnusable;
    }
    RuntimeDecoder runtime;
    if (!runtime.load(QCoreApplication::applicationDirPath()))
        tell(QStringLiteral("the decoding run-time cannot be used (%1); the pictures are decoded without it")
                 .arg(runtime.error()));
    StandalonePlayer player(package, runtime, report ? stdout : nullptr);
    player.start();
    return app.exec();
}
