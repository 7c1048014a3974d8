// SPDX-License-Identifier: MIT
// Paths as a slide stores them: UTF-8 written, UTF-8 or Windows-1252 read, and never cut.

#include "stored_path.h"

#include <gtest/gtest.h>

namespace {

TEST(StoredPath, BytesThatAreNoUtf8AreReadAsWindows1252) {
    struct Row {
        QByteArray stored;
        QString text;
    };
    const Row rows[] = {
        {"C:\\Bilder\\M\xFCller.jpg", QStringLiteral("C:\\Bilder\\M\u00FCller.jpg")},
        {"/home/ann/M\xC3\xBCller.jpg", QStringLiteral("/home/ann/M\u00FCller.jpg")},
        {"\x80\x8A\x9F \xE9t\xE9", QStringLiteral("\u20AC\u0160\u0178 \u00E9t\u00E9")},
        {"\x81\x8D\x8F\x90\x9D", QStringLiteral("\u0081\u008D\u008F\u0090\u009D")},
        {"plain.png", QStringLiteral("plain.png")},
        {"", QString()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.stored.toStdString());
        EXPECT_EQ(StoredPath::decode(row.stored), row.text);
    }
    EXPECT_EQ(StoredPath::encode(QStringLiteral("M\u00FCller.jpg")), QByteArray("M\xC3\xBCller.jpg"));
}

TEST(StoredPath, APathLongerThanTheFieldOnceStoredIsRefusedNotCut) {
    struct Row {
        QString path;
        bool fits;
    };
    const QString e = QString(QChar(0xE9));
    const Row rows[] = {
        {QString(255, 'a'), true},      {QString(256, 'a'), false},
        {"/" + e.repeated(127), true},  // 255 bytes
        {"/" + e.repeated(128), false}, // 129 characters, 257 bytes
        {QString(254, 'a') + e, false}, // the last character would be cut in half
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path.size());
        ShortString<StoredPath::Capacity> field{};
        ASSERT_TRUE(StoredPath::assign(field, QStringLiteral("/before.png")));
        EXPECT_EQ(StoredPath::fits(row.path), row.fits);
        EXPECT_EQ(StoredPath::assign(field, row.path), row.fits);
        EXPECT_EQ(StoredPath::of(field), row.fits ? row.path : QStringLiteral("/before.png"));
    }
}

} // namespace
