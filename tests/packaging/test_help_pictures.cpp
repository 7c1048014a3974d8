// SPDX-License-Identifier: MIT
// The pictures of the help: every one the help shows is shipped beside it, every one shipped is
// shown, and the screenshot tool (scripts/screenshots) can still take each of them.

#include "packaging_support.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString HelpFolder = QStringLiteral(VERASCO_SOURCE_DIR "/packaging/help");

QStringList picturesShownByTheHelp() {
    QFile file(HelpFolder + QStringLiteral("/verasco.html"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    QStringList pictures;
    for (const auto& match : QRegularExpression(QStringLiteral("<img src=\"([^\"]+)\"")).globalMatch(html))
        pictures.append(match.captured(1));
    pictures.sort();
    return pictures;
}

TEST(HelpPictures, TheHelpShowsExactlyThePicturesShippedWithIt) {
    const QStringList shown = picturesShownByTheHelp();
    EXPECT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown, QDir(HelpFolder).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name));
}

TEST(HelpPictures, TheScreenshotToolTakesEachOfThem) {
    QTemporaryDir taken;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const ProgramRun run = runProgram(QStringLiteral(SCREENSHOT_TOOL), {taken.path()}, environment);
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    for (const QString& picture : picturesShownByTheHelp()) {
        SCOPED_TRACE(picture.toStdString());
        const QImage fresh(taken.filePath(picture));
        ASSERT_FALSE(fresh.isNull());
        // The windows are laid out in fixed sizes: a picture of another size shows another window.
        EXPECT_EQ(fresh.size(), QImage(HelpFolder + QLatin1Char('/') + picture).size());
    }
}

} // namespace
