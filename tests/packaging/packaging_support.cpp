// SPDX-License-Identifier: MIT
#include "packaging_support.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>

ProgramRun runProgram(const QString& program, const QStringList& arguments,
                      const QProcessEnvironment& environment, int timeoutMs) {
    QProcess process;
    if (!environment.isEmpty())
        process.setProcessEnvironment(environment);
    process.start(program, arguments);
    ProgramRun run;
    run.finished = process.waitForFinished(timeoutMs) && process.exitStatus() == QProcess::NormalExit;
    if (!run.finished)
        process.kill();
    process.waitForFinished();
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QStringList expectedInstalledFiles() {
    QStringList files = {
        "bin/verasco",
        "bin/verasco-lha",
        "share/applications/verasco.desktop",
        "share/doc/verasco/changelog.gz",
        "share/doc/verasco/copyright",
        "share/lintian/overrides/verasco",
        "share/icons/hicolor/scalable/apps/verasco.svg",
        "share/man/man1/verasco-lha.1.gz",
        "share/man/man1/verasco.1.gz",
        "share/metainfo/com.morvantimaging.verasco.metainfo.xml",
        "share/mime/packages/verasco.xml",
        "share/verasco/help/image-properties.png",
        "share/verasco/help/main-window.png",
        "share/verasco/help/main-window-dark.png",
        "share/verasco/help/preferences.png",
        "share/verasco/help/preferences-dark.png",
        "share/verasco/help/print.png",
        "share/verasco/help/stand-alone.png",
        "share/verasco/help/verasco.html",
        "share/verasco/samples/bells.png",
        "share/verasco/samples/chime.wav",
        "share/verasco/samples/leaf.tif",
        "share/verasco/samples/night.png",
        "share/verasco/samples/sample.vrs",
        "share/verasco/samples/shapes.bmp",
        "share/verasco/samples/sunrise.jpg",
        "share/verasco/samples/swirl.tga",
        "share/verasco/samples/tiles.pcx",
        "share/verasco/help/viewer.png",
        "share/verasco/help/viewer-dark.png",
        "libexec/verasco/libverasco_codec.so",
        "libexec/verasco/libverasco_media.so",
        "share/verasco/verasco.pal",
        "libexec/verasco/verasco1.dat",
        "libexec/verasco/verasco2.dat",
        "libexec/verasco/verasco3.dat",
    };
#ifdef VERASCO_WINDOWS_PACKAGES
    files << "libexec/verasco/verasco1w.dat"
          << "libexec/verasco/verasco2w.dat"
          << "libexec/verasco/verasco3w.dat";
#endif
    for (const char* size : {"16x16", "32x32", "48x48", "64x64", "128x128", "256x256"})
        files.append(QStringLiteral("share/icons/hicolor/%1/apps/verasco.png").arg(QLatin1String(size)));
    files.sort();
    return files;
}

QStringList filesBelow(const QString& folder) {
    QStringList files;
    const QDir base(folder);
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(base.relativeFilePath(it.next()));
    files.sort();
    return files;
}
