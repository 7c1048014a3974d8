// Where the program finds the files it ships: beside itself in a build folder, else in the data
// folder of its install, found from its own folder.

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

TEST(ShippedFiles, BesideTheProgramFirstThenTheInstalledDataFolder) {
    const struct {
        const char* what;
        bool beside;
        bool installed;
        const char* expected; // relative to the prefix
    } rows[] = {
        {"build folder", true, false, "bin/help/verasco.html"},
        {"install", false, true, "share/verasco/help/verasco.html"},
        {"both", true, true, "bin/help/verasco.html"},
        {"neither: where the install would hold it", false, false, "share/verasco/help/verasco.html"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir prefix;
        const QString program = prefix.filePath(QStringLiteral("bin"));
        QDir().mkpath(program);
        if (row.beside)
            touch(prefix.filePath(QStringLiteral("bin/help/verasco.html")));
        if (row.installed)
            touch(prefix.filePath(QStringLiteral("share/verasco/help/verasco.html")));
        EXPECT_EQ(shippedFilePath(QStringLiteral("help/verasco.html"), program).toStdString(),
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
