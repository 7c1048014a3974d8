// SPDX-License-Identifier: MIT
#include "wine_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

QString wine() {
    for (const QString& path :
         {QStringLiteral("/usr/lib/wine/wine64"), QStandardPaths::findExecutable("wine64")})
        if (!path.isEmpty() && QFileInfo(path).isExecutable())
            return path;
    return {};
}

QProcessEnvironment wineEnvironment() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("WINEPREFIX"), WinePrefix);
    env.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("-all"));
    env.insert(QStringLiteral("WINEDLLOVERRIDES"), QStringLiteral("mscoree,mshtml="));
    return env;
}

// Wine writes most of its registry in the background of the first program it runs; a run that ends
// first leaves folders without the system's parts (its sound devices among them), which later runs
// take as made. Folders not marked whole are made anew.
bool wholeWinePrefix() {
    static const bool whole = [] {
        const QString mark = WinePrefix + QStringLiteral("/.made-whole");
        if (QFileInfo::exists(mark))
            return true;
        QDir(WinePrefix).removeRecursively();
        QProcess boot;
        boot.setProcessEnvironment(wineEnvironment());
        boot.start(wine(), {QStringLiteral("wineboot"), QStringLiteral("--init")});
        if (!boot.waitForFinished(300000))
            return false;
        // Waits until every program of those folders, and Wine's server, has ended.
        QProcess server;
        server.setProcessEnvironment(wineEnvironment());
        server.start(QFileInfo(wine()).dir().filePath(QStringLiteral("wineserver")), {QStringLiteral("-w")});
        return server.waitForFinished(300000) && QFile(mark).open(QIODevice::WriteOnly);
    }();
    return whole;
}
