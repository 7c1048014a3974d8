// SPDX-License-Identifier: MIT
#include "handoff_record.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

struct EncodeCase {
    const char* name;
    QString argument;
    int expectedLength;
    QString expectedPath;
};

class HandoffRecordEncoding : public testing::TestWithParam<EncodeCase> {};

// A path of up to 255 bytes fills a record of 256 with zeros; a longer one goes whole in a long
// record, marked by 255, that is never cut inside a character.
TEST_P(HandoffRecordEncoding, CarriesTheLengthThePathAndZeros) {
    const EncodeCase& c = GetParam();
    const QByteArray record = encodeHandoffRecord(c.argument);
    const qsizetype bytes = QFile::encodeName(c.expectedPath).size();
    ASSERT_EQ(record.size(), bytes > 255 ? 1 + bytes : 256);
    EXPECT_EQ(static_cast<unsigned char>(record[0]), c.expectedLength);
    for (qsizetype i = 1 + bytes; i < record.size(); ++i)
        ASSERT_EQ(record[i], '\0') << "byte " << i;
    const auto decoded = decodeHandoffRecord(record);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, c.expectedPath);
}

const QString letters300 = QString(300, QLatin1Char('a'));
const QString eAcute = QString::fromUtf8("\xC3\xA9");   // 2 bytes in UTF-8
const QString euro = QString::fromUtf8("\xE2\x82\xAC"); // 3 bytes in UTF-8

INSTANTIATE_TEST_SUITE_P(
    Paths, HandoffRecordEncoding,
    testing::Values(
        EncodeCase{"Plain", "/home/ann/pictures/beach.jpg", 28, "/home/ann/pictures/beach.jpg"},
        EncodeCase{"Empty", "", 0, ""}, EncodeCase{"Blanks", "/tmp/my photo.png", 17, "/tmp/my photo.png"},
        EncodeCase{"Exactly255", QString(255, QLatin1Char('b')), 255, QString(255, QLatin1Char('b'))},
        EncodeCase{"LongGoesWhole", letters300, 255, letters300},
        EncodeCase{"TwoByteCharacterAcrossTheRecordsEnd", QString(254, QLatin1Char('c')) + eAcute, 255,
                   QString(254, QLatin1Char('c')) + eAcute},
        EncodeCase{"ThreeByteCharacterAcrossTheRecordsEnd", QString(253, QLatin1Char('d')) + euro + "x", 255,
                   QString(253, QLatin1Char('d')) + euro + "x"},
        EncodeCase{"WholeCharacterKept", QString(253, QLatin1Char('e')) + eAcute, 255,
                   QString(253, QLatin1Char('e')) + eAcute},
        EncodeCase{"BeyondAnyPathCutToOneByteMore", QString(5000, QLatin1Char('f')), 255,
                   QString(HandoffMaxLongPathBytes, QLatin1Char('f'))}),
    [](const testing::TestParamInfo<EncodeCase>& info) { return info.param.name; });

// A record of 256 bytes counts, its first byte saying how many of the rest are the path; a longer
// one only when its first byte is 255 and it is no longer than the longest path carried.
TEST(HandoffRecordDecoding, ReadsTheLengthAndRefusesRecordsOfOtherSizes) {
    auto record = [](int size, int length, char fill) {
        QByteArray bytes(size, fill);
        if (size > 0)
            bytes[0] = static_cast<char>(length);
        return bytes;
    };
    for (const int size : {0, 1, 255, 257, 512})
        EXPECT_FALSE(decodeHandoffRecord(record(size, 3, '\0')).has_value()) << "size " << size;
    EXPECT_FALSE(decodeHandoffRecord(record(2 + HandoffMaxLongPathBytes, 255, 'q')).has_value());
    EXPECT_EQ(decodeHandoffRecord(record(256, 4, 'z')), QString("zzzz")) << "the bytes after it are ignored";
    EXPECT_EQ(decodeHandoffRecord(record(256, 255, 'q')), QString(255, QLatin1Char('q')));
    EXPECT_EQ(decodeHandoffRecord(record(257, 255, 'q')), QString(256, QLatin1Char('q')));
}

} // namespace
