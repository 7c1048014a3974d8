// SPDX-License-Identifier: MIT
// Caption fonts and colours as slides store them.
#include "qt_application_environment.h"
#include "stored_font.h"
#include "window_font.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

testing::Environment* const qtApplication =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment<QApplication>);

TEST(StoredFont, ColoursAreBgrValuesOrSystemColours) {
    QPalette palette;
    palette.setColor(QPalette::Text, QColor(1, 2, 3));
    palette.setColor(QPalette::Button, QColor(4, 5, 6));
    palette.setColor(QPalette::Highlight, QColor(7, 8, 9));
    struct Row {
        quint32 value;
        QColor colour;
    } const rows[] = {
        {0x000000FF, QColor(255, 0, 0)},        {0x00FF0000, QColor(0, 0, 255)},
        {0x00336699, QColor(0x99, 0x66, 0x33)}, {0x80000008, QColor(1, 2, 3)},
        {0x8000000F, QColor(4, 5, 6)},          {0x8000000D, QColor(7, 8, 9)},
        {0x800000FF, QColor(1, 2, 3)}, // an index the program does not know: the text colour
    };
    for (const Row& row : rows)
        EXPECT_EQ(storedColor(qint32(row.value), palette), row.colour) << std::hex << row.value;
}

TEST(StoredFont, SizesAndStyles) {
    const QFont points = storedFont(QStringLiteral("DejaVu Sans"), 14, StoredBold | StoredUnderline);
    EXPECT_EQ(points.family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(points.pointSize(), 14);
    EXPECT_TRUE(points.bold());
    EXPECT_TRUE(points.underline());
    EXPECT_FALSE(points.italic());
    EXPECT_FALSE(points.strikeOut());
    EXPECT_EQ(storedFont(QStringLiteral("DejaVu Sans"), -20, 0).pixelSize(), 20);
    EXPECT_EQ(storedFont(QStringLiteral("DejaVu Sans"), 0, StoredItalic | StoredStrikeOut).pointSize(), 8);
}

TEST(StoredFont, TheWindowFontStandsInForMsSansSerifWhereItIsMissing) {
    const QFont window = windowFont(8);
    const QFont stored = storedFont(QStringLiteral("MS Sans Serif"), 10, 0);
    if (window.family() != QLatin1String("MS Sans Serif")) {
        EXPECT_EQ(stored.family(), window.family());
    }
    EXPECT_EQ(stored.pointSize(), 10);
    EXPECT_EQ(storedFont(QString(), 9, 0).family(), window.family());
}

} // namespace
