// SPDX-License-Identifier: MIT
// An install into a temporary prefix: exactly the expected files, a program that starts from there
// (and from wherever the prefix is moved) and finds what it ships, and desktop files, icons, file
// type and manual pages that the freedesktop and Debian tools accept.

#include "packaging_support.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

std::vector<std::string> toStd(const QStringList& list) {
    std::vector<std::string> result;
    for (const QString& s : list)
        result.push_back(s.toStdString());
    return result;
}

QString readText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The value of a key of a desktop entry ("Key=value" lines).
QString desktopValue(const QString& entry, const QString& key) {
    const QRegularExpression line(QStringLiteral("^%1=(.*)$").arg(key), QRegularExpression::MultilineOption);
    return line.match(entry).captured(1);
}

class Install : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        root = new QTemporaryDir;
        prefix = root->filePath(QStringLiteral("prefix"));
        install = runProgram(QStringLiteral(CMAKE_COMMAND),
                             {QStringLiteral("--install"), QStringLiteral(VERASCO_BINARY_DIR),
                              QStringLiteral("--prefix"), prefix});
    }
    static void TearDownTestSuite() { delete root; }
    void SetUp() override {
        ASSERT_TRUE(install.finished && install.exitCode == 0) << install.err.toStdString();
    }

    // Starts the program installed under the prefix until its main window has painted itself, with
    // a home, settings and runtime folder of its own.
    static ProgramRun startInstalledProgram(const QString& installPrefix) {
        QTemporaryDir home;
        QTemporaryDir runtime; // made for its owner only, as the hand-off wants it
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("VERASCO_QUIT_WHEN_SHOWN"), QStringLiteral("1"));
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        environment.remove(QStringLiteral("VERASCO_HELP_FILE"));
        return runProgram(installPrefix + QStringLiteral("/bin/verasco"), {}, environment);
    }

    static void expectStartedWithoutReport(const ProgramRun& run) {
        EXPECT_TRUE(run.finished);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(QStringLiteral("shown"))) << run.out.toStdString();
        EXPECT_FALSE(run.err.contains(QStringLiteral("shipped file"))) << run.err.toStdString();
    }

    static inline QTemporaryDir* root = nullptr;
    static inline QString prefix;
    static inline ProgramRun install;
};

TEST_F(Install, HoldsExactlyTheExpectedFiles) {
    EXPECT_EQ(toStd(filesBelow(prefix)), toStd(expectedInstalledFiles()));
}

TEST_F(Install, ProgramStartsAndFindsItsFilesWhereverThePrefixIs) {
    expectStartedWithoutReport(startInstalledProgram(prefix));

    const QString moved = root->filePath(QStringLiteral("elsewhere/deeper/prefix"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(moved).path()));
    ASSERT_TRUE(QDir().rename(prefix, moved));
    expectStartedWithoutReport(startInstalledProgram(moved));
    ASSERT_TRUE(QDir().rename(moved, prefix));
}

TEST_F(Install, ProgramNamesEachShippedFileItCannotFind) {
    for (const QString& name :
         {QStringLiteral("share/verasco/verasco.pal"), QStringLiteral("share/verasco/help/verasco.html"),
          QStringLiteral("libexec/verasco/verasco1.dat"), QStringLiteral("libexec/verasco/verasco2.dat"),
          QStringLiteral("libexec/verasco/verasco3.dat")}) {
        SCOPED_TRACE(name.toStdString());
        const QString path = prefix + QLatin1Char('/') + name;
        ASSERT_TRUE(QFile::rename(path, path + QStringLiteral(".away")));
        const ProgramRun run = startInstalledProgram(prefix);
        ASSERT_TRUE(QFile::rename(path + QStringLiteral(".away"), path));

        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(run.out.contains(QStringLiteral("shown")));
        const QString report =
            QStringLiteral("shipped file %1 not found in %2/bin or %2/libexec/verasco or %2/share/verasco")
                .arg(name.section(QLatin1Char('/'), 2), prefix);
        EXPECT_TRUE(run.err.contains(report)) << run.err.toStdString();
        EXPECT_EQ(run.err.count(QStringLiteral("shipped file")), 1) << run.err.toStdString();
    }
}

TEST_F(Install, DesktopEntryIsValidAndNamesWhatIsInstalled) {
    const QString path = prefix + QStringLiteral("/share/applications/verasco.desktop");
    const ProgramRun check = runProgram(QStringLiteral("desktop-file-validate"), {path});
    EXPECT_EQ(check.exitCode, 0);
    EXPECT_EQ((check.out + check.err).toStdString(), "");

    const QString entry = readText(path);
    EXPECT_EQ(desktopValue(entry, QStringLiteral("Exec")), "verasco %F");
    EXPECT_EQ(desktopValue(entry, QStringLiteral("GenericName")), "Slide Show Composer");
    EXPECT_EQ(desktopValue(entry, QStringLiteral("Categories")), "Graphics;Photography;Viewer;");
    EXPECT_TRUE(QFileInfo(prefix + QStringLiteral("/bin/verasco")).isExecutable());
    const QString icon = desktopValue(entry, QStringLiteral("Icon"));
    EXPECT_TRUE(QFile::exists(prefix + QStringLiteral("/share/icons/hicolor/48x48/apps/%1.png").arg(icon)));
    EXPECT_TRUE(
        QFile::exists(prefix + QStringLiteral("/share/icons/hicolor/scalable/apps/%1.svg").arg(icon)));
    EXPECT_TRUE(desktopValue(entry, QStringLiteral("MimeType"))
                    .split(QLatin1Char(';'))
                    .contains("application/x-verasco-show"));
    EXPECT_TRUE(readText(prefix + QStringLiteral("/share/mime/packages/verasco.xml"))
                    .contains(QStringLiteral("type=\"application/x-verasco-show\"")));
}

TEST_F(Install, SoftwareCentreEntryIsValid) {
    const ProgramRun check = runProgram(
        QStringLiteral("appstreamcli"),
        {QStringLiteral("validate-tree"), QStringLiteral("--no-net"), QStringLiteral("--pedantic"), prefix});
    EXPECT_EQ(check.exitCode, 0) << check.out.toStdString() << check.err.toStdString();
    EXPECT_FALSE(check.out.contains(
        QRegularExpression(QStringLiteral("^[EWIP]:"), QRegularExpression::MultilineOption)))
        << check.out.toStdString();
}

TEST_F(Install, MimeDatabaseBuildsTheShowType) {
    // update-mime-database is what the system runs when a package adds a type; it rejects a bad file.
    QTemporaryDir data;
    const QDir mime(data.filePath(QStringLiteral("mime")));
    ASSERT_TRUE(mime.mkpath(QStringLiteral("packages")));
    ASSERT_TRUE(QFile::copy(prefix + QStringLiteral("/share/mime/packages/verasco.xml"),
                            mime.filePath(QStringLiteral("packages/verasco.xml"))));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), data.path());
    const ProgramRun update = runProgram(QStringLiteral("update-mime-database"), {mime.path()}, environment);
    EXPECT_EQ(update.exitCode, 0);
    EXPECT_EQ(update.err.toStdString(), "");
    EXPECT_TRUE(QFile::exists(mime.filePath(QStringLiteral("application/x-verasco-show.xml"))));
    EXPECT_TRUE(readText(mime.filePath(QStringLiteral("globs")))
                    .contains(QStringLiteral("application/x-verasco-show:*.vrs")));
}

// The options an option list names, each with its default where it gives one. An option line begins
// with its options ("-0, -1", "-lh0- | -lh1-", "-C FOLDER"); the default is "(default X" anywhere in
// the option's text.
std::map<std::string, std::string> documentedOptions(const QStringList& lines) {
    static const QRegularExpression defaultValue(QStringLiteral("\\(default\\s+([^);]+)"));
    std::map<std::string, std::string> options;
    std::vector<std::string> current;
    for (const QString& line : lines) {
        if (line.trimmed().startsWith(QLatin1Char('-'))) {
            current.clear();
            for (const QString& token :
                 line.split(QRegularExpression(QStringLiteral("[\\s,|]+")), Qt::SkipEmptyParts)) {
                if (!token.startsWith(QLatin1Char('-')))
                    break;
                current.push_back(token.toStdString());
                options[current.back()];
            }
        }
        const QRegularExpressionMatch match = defaultValue.match(line);
        if (match.hasMatch())
            for (const std::string& option : current)
                options[option] = match.captured(1).trimmed().toStdString();
    }
    return options;
}

// The lines of a manual page's OPTIONS section as man shows them, and of a usage text's options.
QStringList manualOptionLines(const QString& shown) {
    const qsizetype from = shown.indexOf(QStringLiteral("\nOPTIONS\n"));
    const qsizetype to = shown.indexOf(QStringLiteral("\nEXIT STATUS\n"));
    return shown.mid(from, to - from).split(QLatin1Char('\n')).mid(2);
}

QStringList usageOptionLines(const QString& usage) {
    QStringList lines;
    for (const QString& line : usage.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1Char(' ')) && line.trimmed().startsWith(QLatin1Char('-')))
            lines.append(line);
    return lines;
}

// Each manual page renders without a warning, and documents the options, defaults and version of the
// program it is for as the program's own usage text and version give them.
TEST_F(Install, ManualPagesRenderCleanlyAndDocumentTheirProgram) {
    const struct {
        const char* program;
        const char* nameLine;
    } pages[] = {
        {"verasco", "verasco - compose, play, print and export picture slide shows"},
        {"verasco-lha", "verasco-lha - add, extract, test or list the members of LHA archives"},
    };
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("MANWIDTH"), QStringLiteral("80"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    for (const auto& [program, nameLine] : pages) {
        SCOPED_TRACE(program);
        const QString page = prefix + QStringLiteral("/share/man/man1/%1.1.gz").arg(QLatin1String(program));
        const ProgramRun lint =
            runProgram(QStringLiteral("man"),
                       {QStringLiteral("--warnings"), QStringLiteral("-E"), QStringLiteral("UTF-8"),
                        QStringLiteral("-l"), QStringLiteral("-Tutf8"), QStringLiteral("-Z"), page},
                       environment);
        EXPECT_EQ(lint.exitCode, 0);
        EXPECT_EQ(lint.err.toStdString(), "");
        const ProgramRun shown = runProgram(QStringLiteral("man"), {QStringLiteral("-l"), page}, environment);
        EXPECT_TRUE(shown.out.contains(QLatin1String(nameLine))) << shown.out.toStdString();
        EXPECT_FALSE(shown.out.contains(QLatin1Char('@'))) << "a value was left unfilled";

        const QString path = prefix + QStringLiteral("/bin/") + QLatin1String(program);
        const ProgramRun usage = runProgram(path, {QStringLiteral("--help")});
        const ProgramRun version = runProgram(path, {QStringLiteral("--version")});
        ASSERT_EQ(usage.exitCode, 0);
        ASSERT_EQ(version.exitCode, 0);
        EXPECT_EQ(documentedOptions(manualOptionLines(shown.out)),
                  documentedOptions(usageOptionLines(usage.out)))
            << shown.out.toStdString() << usage.out.toStdString();
        EXPECT_EQ(version.out.toStdString(), std::string(program) + " " VERASCO_VERSION "\n");
        EXPECT_TRUE(shown.out.contains(QStringLiteral("Verasco " VERASCO_VERSION)))
            << shown.out.toStdString();
    }
}

} // namespace
