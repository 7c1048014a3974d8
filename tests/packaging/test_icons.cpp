// SPDX-License-Identifier: MIT
// The program's icons: every PNG of the hicolor theme is the mark of verasco.svg rendered at its
// size, so the icon in the menu, the window and the software centre is one picture.

#include "packaging_support.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const QString IconFolder = QStringLiteral(VERASCO_SOURCE_DIR "/packaging/icons");

// The mean difference per colour channel and pixel, 0 to 255.
double meanDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int column = 0; column < x.width(); ++column) {
            sum += std::abs(qRed(p[column]) - qRed(q[column])) +
                   std::abs(qGreen(p[column]) - qGreen(q[column])) +
                   std::abs(qBlue(p[column]) - qBlue(q[column])) +
                   std::abs(qAlpha(p[column]) - qAlpha(q[column]));
        }
    }
    return sum / (4.0 * x.width() * x.height());
}

TEST(Icons, EveryThemeSizeIsTheMarkRenderedAtThatSize) {
    QTemporaryDir rendered;
    const ProgramRun render = runProgram(QStringLiteral("bash"),
                                         {IconFolder + QStringLiteral("/render-icons.sh"), rendered.path()});
    ASSERT_EQ(render.exitCode, 0) << render.err.toStdString();
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        const QString name = QStringLiteral("/hicolor/%1x%1/apps/verasco.png").arg(size);
        const QImage shipped(IconFolder + name);
        const QImage fresh(rendered.path() + name);
        ASSERT_EQ(shipped.size(), QSize(size, size));
        ASSERT_EQ(fresh.size(), shipped.size());
        EXPECT_TRUE(shipped.hasAlphaChannel());
        // Other versions of the renderer may smooth edges a little differently.
        EXPECT_LT(meanDifference(shipped, fresh), 1.0) << "render-icons.sh was not run after the SVG changed";
    }
}

} // namespace
