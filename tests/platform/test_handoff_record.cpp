// SPDX-License-Identifier: MIT
#include "handoff_record.h"

#include <gtest/gtest.h>

namespace {

struct EncodeCase {
    const char* name;
    QString argument;
    int expectedLength;
    QString expectedPath;
};

class HandoffRecordEncoding : public testing::TestWithParam<EncodeCase> {};

TEST_P(HandoffRecordEncoding, CarriesTheLengthThePathAndZeros) {
    const EncodeCase& c = GetParam();
    const QByteArray record = encodeHandoffRecord(c.argument);
    ASSERT_EQ(record.size(), 256);
    EXPECT_EQ(static_cast<unsigned char>(record[0]), c.expectedLength);
    for (int i = 1 + c.expectedLength; i < 256; ++i)
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
    testing::Values(EncodeCase{"Plain", "/home/ann/pictures/beach.jpg", 28, "/home/ann/pictures/beach.jpg"},
                    EncodeCase{"Empty", "", 0, ""},
                    EncodeCase{"Blanks", "/tmp/my photo.png", 17, "/tmp/my photo.png"},
                    EncodeCase{"Exactly255", QString(255, QLatin1Char('b')), 255,
                               QString(255, QLatin1Char('b'))},
                    EncodeCase{"LongIsCutTo255", letters300, 255, letters300.left(255)},
                    EncodeCase{"NoCutInsideTwoByteCharacter", QString(254, QLatin1Char('c')) + eAcute, 254,
                               QString(254, QLatin1Char('c'))},
                    EncodeCase{"NoCutInsideThreeByteCharacter", QString(253, QLatin1Char('d')) + euro + "x",
                               253, QString(253, QLatin1Char('d'))},
                    EncodeCase{"WholeCharacterKept", QString(253, QLatin1Char('e')) + eAcute, 255,
                               QString(253, QLatin1Char('e')) + eAcute}),
    [](const testing::TestParamInfo<EncodeCase>& info) { return info.param.name; });

// Only a record of 256 bytes counts; its first byte says how many of the rest are the path.
TEST(HandoffRecordDecoding, ReadsTheLengthAndRefusesRecordsThatAreNot256Bytes) {
    auto record = [](int size, int length, char fill) {
        QByteArray bytes(size, fill);
        if (size > 0)
            bytes[0] = static_cast<char>(length);
        return bytes;
    };
    for (const int size : {0, 1, 255, 257, 512})
        EXPECT_FALSE(decodeHandoffRecord(record(size, 3, '\0')).has_value()) << "size " << size;
    EXPECT_EQ(decodeHandoffRecord(record(256, 4, 'z')), QString("zzzz")) << "the bytes after it are ignored";
    EXPECT_EQ(decodeHandoffRecord(record(256, 255, 'q')), QString(255, QLatin1Char('q')));
}

} // namespace
