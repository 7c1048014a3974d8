// SPDX-License-Identifier: MIT
// The Debian package that CPack makes: its name, its control data and the files it installs.
// (scripts/check-package-install installs it on a fresh Debian 12 and removes it again.)

#include "packaging_support.h"
#include "sanitizers.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class DebianPackage : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder = new QTemporaryDir;
        made =
            runProgram(QStringLiteral(CPACK_COMMAND),
                       {QStringLiteral("--config"), QStringLiteral(VERASCO_BINARY_DIR "/CPackConfig.cmake"),
                        QStringLiteral("-B"), folder->path(),
                        // The compression is not what is checked here; gzip makes it quicker.
                        QStringLiteral("-D"), QStringLiteral("CPACK_DEBIAN_COMPRESSION_TYPE=gzip")});
        const QStringList debs = QDir(folder->path()).entryList({QStringLiteral("*.deb")}, QDir::Files);
        if (debs.size() == 1)
            package = folder->filePath(debs.first());
    }
    static void TearDownTestSuite() { delete folder; }
    void SetUp() override {
        ASSERT_EQ(made.exitCode, 0) << made.out.toStdString() << made.err.toStdString();
        ASSERT_FALSE(package.isEmpty()) << "not exactly one package made";
    }

    static QString field(const char* name) {
        return runProgram(QStringLiteral("dpkg-deb"),
                          {QStringLiteral("--field"), package, QLatin1String(name)})
            .out.trimmed();
    }

    static inline QTemporaryDir* folder = nullptr;
    static inline ProgramRun made;
    static inline QString package;
};

TEST_F(DebianPackage, IsNamedByNameVersionAndArchitecture) {
    const QString architecture =
        runProgram(QStringLiteral("dpkg"), {QStringLiteral("--print-architecture")}).out.trimmed();
    EXPECT_EQ(QFileInfo(package).fileName(),
              QStringLiteral("verasco_%1_%2.deb").arg(VERASCO_VERSION, architecture));
    EXPECT_EQ(field("Package"), "verasco");
    EXPECT_EQ(field("Version"), VERASCO_VERSION);
    EXPECT_EQ(field("Architecture"), architecture);
    EXPECT_EQ(field("Section"), "graphics");
    EXPECT_FALSE(field("Maintainer").isEmpty());
    EXPECT_TRUE(field("Description").startsWith("compose, play, print and export picture slide shows\n"));
}

// CPack strips the programs it packs; the package head has no sections left to strip, and must not
// be handed to strip, which would report an error for it.
TEST_F(DebianPackage, IsMadeWithoutErrorsFromStrip) {
    for (const QString& output : {made.out, made.err})
        EXPECT_FALSE(output.contains(QLatin1String("strip"))) << output.toStdString();
}

TEST_F(DebianPackage, DependsOnTheLinkedLibrariesAndTheRunTimePlugins) {
    const QStringList depends = field("Depends").split(QRegularExpression(QStringLiteral(",\\s*")));
    QStringList names;
    for (const QString& entry : depends)
        names.append(entry.section(QLatin1Char(' '), 0, 0));
    // Found by dpkg-shlibdeps in the programs...
    for (const char* library :
         {"libc6", "libstdc++6", "libqt6core6", "libqt6gui6", "libqt6widgets6", "libjpeg62-turbo"})
        EXPECT_TRUE(names.contains(QLatin1String(library)))
            << library << " in " << field("Depends").toStdString();
    // ...and named by hand for what Qt loads by itself.
    for (const char* plugins :
         {"qt6-image-formats-plugins", "gstreamer1.0-plugins-base", "gstreamer1.0-plugins-good"})
        EXPECT_TRUE(names.contains(QLatin1String(plugins))) << plugins;
}

// Debian's package checker finds no error and no warning; the deliberate findings carry their reason
// in the package's own override file.
TEST_F(DebianPackage, PassesDebiansPackageChecker) {
    if (QStandardPaths::findExecutable(QStringLiteral("lintian")).isEmpty())
        GTEST_SKIP() << "lintian is not installed (scripts/deps installs it)";
#ifdef VERASCO_TEST_SANITIZED
    GTEST_SKIP() << "the package is made from the release build; a sanitizer build's programs cannot be "
                    "stripped as the checker asks";
#endif
    const ProgramRun checked = runProgram(QStringLiteral("lintian"), {package});
    ASSERT_TRUE(checked.finished) << checked.err.toStdString();
    for (const QString& line : checked.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        EXPECT_FALSE(line.startsWith(QLatin1String("E:")) || line.startsWith(QLatin1String("W:")))
            << line.toStdString();
    EXPECT_EQ(checked.exitCode, 0) << checked.out.toStdString() << checked.err.toStdString();
}

TEST_F(DebianPackage, InstallsTheFilesOfAnInstallUnderUsrOwnedByRoot) {
    const ProgramRun contents =
        runProgram(QStringLiteral("dpkg-deb"), {QStringLiteral("--contents"), package});
    ASSERT_EQ(contents.exitCode, 0);
    QStringList files;
    for (const QString& line : contents.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList columns = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        ASSERT_GE(columns.size(), 6) << line.toStdString();
        EXPECT_EQ(columns[1], "root/root") << line.toStdString();
        const QString path = columns.last();
        EXPECT_TRUE(path.startsWith("./usr/")) << path.toStdString();
        if (line.startsWith(QLatin1Char('-')))
            files.append(path.mid(QStringLiteral("./usr/").size()));
    }
    files.sort();
    EXPECT_EQ(files, expectedInstalledFiles());
}

} // namespace
