// SPDX-License-Identifier: MIT
// Where the program finds the files it ships: beside itself in a build folder, else in the folders
// of its install, found from its own folder.

#include "shipped_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

TEST(ShippedFiles, BesideTheProgramFirstThenTheInstalledFolders) {
    const struct {
        const char* what;
        const char* name;
        bool beside;
        const char* installed; // relative to the prefix, or null
        const char* expected;  // relative to the prefix
    } rows[] = {
        {"build folder", "help/verasco.html", true, nullptr, "bin/help/verasco.html"},
        {"data installed", "help/verasco.html", false, "share/verasco/help/verasco.html",
         "share/verasco/help/verasco.html"},
        {"program installed", "verasco1.dat", false, "libexec/verasco/verasco1.dat",
         "libexec/verasco/verasco1.dat"},
        {"both", "help/verasco.html", true, "share/verasco/help/verasco.html", "bin/help/verasco.html"},
        {"neither: where the install would hold it", "help/verasco.html", false, nullptr,
         "share/verasco/help/verasco.html"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir prefix;
        const QString program = prefix.filePath(QStringLiteral("bin"));
        QDir().mkpath(program);
        if (row.beside)
            touch(QDir(program).filePath(QLatin1String(row.name)));
        if (row.installed)
            touch(prefix.filePath(QLatin1String(row.installed)));
        EXPECT_EQ(shippedFilePath(QLatin1String(row.name), program).toStdString(),
                  prefix.filePath(QLatin1String(row.expected)).toStdString());
    }
}

TEST(ShippedFiles, AFolderOfThatNameIsNotTheFile) {
    QTemporaryDir prefix;
    QDir().mkpath(prefix.filePath(QStringLiteral("bin/verasco.pal")));
    touch(prefix.filePath(QStringLiteral("share/verasco/verasco.pal")));
    EXPECT_EQ(shippedFilePath(QStringLiteral("verasco.pal"), prefix.filePath(QStringLiteral("bin"))),
              prefix.filePath(QStringLiteral("share/verasco/verasco.pal")));
}

} // namespace
