// SPDX-License-Identifier: MIT
// Member headers and CRC-16: the bytes written, what reading accepts, and every refusal.
#include "archive_test_support.h"
#include "crc16.h"
#include "le_bytes.h"
#include "lha_errors.h"
#include "lha_header.h"
#include "member_name.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace verasco::archive;
using namespace archive_test;

namespace {

uint16_t Crc(const std::string& s) {
    return UpdateCrc16(0, reinterpret_cast<const uint8_t*>(s.data()), s.size());
}

std::string Written(const LhaMemberHeader& h) {
    std::ostringstream out;
    WriteMemberHeader(out, h);
    return out.str();
}

LhaMemberHeader Sample(uint8_t level, const std::string& name, uint8_t attribute = 0x20) {
    LhaMemberHeader h;
    h.method = LhaMethod::Lh5;
    h.packedSize = 10;
    h.originalSize = 100;
    h.time = 0x6000;
    h.date = 0x5821;
    h.attribute = attribute;
    h.level = level;
    h.name = name;
    h.crc = 0xBEEF;
    return h;
}

// Recomputes the checksum byte of a header built by hand.
void FixChecksum(std::string& bytes) {
    const size_t h = static_cast<uint8_t>(bytes[0]);
    bytes[1] = static_cast<char>(HeaderChecksum(reinterpret_cast<const uint8_t*>(bytes.data()) + 2, h));
}

bool Read(const std::string& bytes, LhaMemberHeader& h, uint64_t* dataOffset = nullptr) {
    std::istringstream in(bytes);
    const bool ok = ReadMemberHeader(in, h);
    if (dataOffset)
        *dataOffset = static_cast<uint64_t>(in.tellg());
    return ok;
}

} // namespace

TEST(Crc16, KnownValues) {
    EXPECT_EQ(Crc(""), 0);
    EXPECT_EQ(Crc("123456789"), 0xBB3D); // the CRC-16/ARC check value
    EXPECT_EQ(Crc16Table()[1], 0xC0C1);
    EXPECT_EQ(Crc16Table()[0x80], 0xA001);
    // Taking the data in pieces gives the same sum as at once.
    const std::string text = SampleText(1001, 3);
    uint16_t crc = 0;
    for (size_t i = 0; i < text.size(); i += 7)
        crc = UpdateCrc16(crc, reinterpret_cast<const uint8_t*>(text.data()) + i,
                          std::min<size_t>(7, text.size() - i));
    EXPECT_EQ(crc, Crc(text));
}

TEST(Crc16, OfThePeersSampleText) {
    SKIP_WITHOUT_TESTDATA();
    EXPECT_EQ(Crc(ReadFile(TestData() + "/raw/gpl-2.txt")), 0xA33A);
}

TEST(StoredName, RulesForDrivesFoldersAndCase) {
    struct Row {
        std::string path;
        bool storePath;
        std::string targetPath;
        bool upper;
        std::string expected;
    } rows[] = {
        {"C:\\Data\\images.sld", false, "", true, "IMAGES.SLD"},
        {"C:\\Data\\images.sld", false, "", false, "images.sld"},
        {"/home/u/show/images.sld", false, "", false, "images.sld"},
        {"C:\\Data\\pics\\a.bmp", true, "c:\\data\\", false, "pics\\a.bmp"},
        {"/home/u/show/pics/a.bmp", true, "/HOME/U/show/", true, "PICS\\A.BMP"},
        {"C:\\Data\\a.bmp", true, "", false, kPathsHaveDrives ? "\\Data\\a.bmp" : "C:\\Data\\a.bmp"},
        {"/home/u/a:b.txt", false, "", false, kPathsHaveDrives ? "b.txt" : "a:b.txt"},
        {"/home/u/caf\xC3\xA9.bmp", false, "", true, "CAF\xC3\x89.BMP"}, // letters beyond ASCII
        {"/home/\xC3\xA9t\xC3\xA9/x.bmp", true, "/HOME/\xC3\x89T\xC3\x89/", false, "x.bmp"},
        {"/home/u/caf\xE9.bmp", false, "", true, "CAF\xE9.BMP"}, // not UTF-8: left as it is
    };
    for (const Row& r : rows)
        EXPECT_EQ(BuildStoredName(r.path, {r.storePath, r.targetPath, r.upper}), r.expected) << r.path;
}

TEST(MemberHeader, LevelZeroLayout) {
    LhaMemberHeader h = Sample(0, BuildStoredName("C:\\Data\\images.sld", {false, "", true}), 0x01);
    const std::string bytes = Written(h);
    ASSERT_EQ(bytes.size(), 34u);
    EXPECT_EQ(static_cast<uint8_t>(bytes[0]), 32);
    EXPECT_EQ(bytes.substr(2, 5), "-lh5-");
    EXPECT_EQ(le::read32(reinterpret_cast<const uint8_t*>(bytes.data()) + 7), 10u);
    EXPECT_EQ(static_cast<uint8_t>(bytes[19]), 0x21); // archive bit added
    EXPECT_EQ(bytes[20], 0);
    EXPECT_EQ(bytes.substr(22, 10), "IMAGES.SLD");
    EXPECT_EQ(le::read16(reinterpret_cast<const uint8_t*>(bytes.data()) + 32), 0xBEEF);
    EXPECT_EQ(static_cast<uint8_t>(bytes[1]),
              HeaderChecksum(reinterpret_cast<const uint8_t*>(bytes.data()) + 2, 32));
}

TEST(MemberHeader, LevelOneWithoutExtendedHeaders) {
    LhaMemberHeader h = Sample(1, "plain.txt", 0);
    const std::string bytes = Written(h);
    ASSERT_EQ(bytes.size(), 24u + 9 + 3);
    EXPECT_EQ(static_cast<uint8_t>(bytes[0]), 25 + 9);
    EXPECT_EQ(bytes[20], 1);
    EXPECT_EQ(static_cast<uint8_t>(bytes[19]), 0x20);
    EXPECT_EQ(bytes[24 + 9], 'M');
    EXPECT_EQ(le::read16(reinterpret_cast<const uint8_t*>(bytes.data()) + 25 + 9), 0); // no extended header
    EXPECT_EQ(le::read32(reinterpret_cast<const uint8_t*>(bytes.data()) + 7), 10u);    // the data only
}

// The level-1 packed size also counts the extended headers; data that would push it past 32 bits
// is refused rather than written with a wrapped size.
TEST(MemberHeader, PackedSizeAtTheLimit) {
    LhaMemberHeader h = Sample(1, "pics\\Photo.bmp", 0x21);
    const uint32_t largest = LargestDataSize(h);
    EXPECT_EQ(largest, 0xFFFFFFFFu - 5 - (5 + 3));
    h.packedSize = largest;
    EXPECT_EQ(le::read32(reinterpret_cast<const uint8_t*>(Written(h).data()) + 7), 0xFFFFFFFFu);
    h.packedSize = largest + 1;
    EXPECT_THROW(Written(h), EInOutError);
    EXPECT_EQ(LargestDataSize(Sample(0, "pics\\Photo.bmp")), 0xFFFFFFFFu);
}

TEST(MemberHeader, LevelOneAttributeAndFolderHeaders) {
    LhaMemberHeader h = Sample(1, "pics\\sub\\Photo.bmp", 0x21);
    h.scrambled = true;
    const std::string bytes = Written(h);
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    const size_t n = 9; // "Photo.bmp"
    EXPECT_EQ(bytes.substr(22, n), "Photo.bmp");
    EXPECT_EQ(bytes[20] & 0xFF, 0x81);
    EXPECT_EQ(le::read16(p + 25 + n), 5); // attribute header first
    EXPECT_EQ(p[27 + n], 0x40);
    EXPECT_EQ(le::read16(p + 28 + n), 0x21);
    EXPECT_EQ(le::read16(p + 30 + n), 3 + 9); // then the folder header
    EXPECT_EQ(p[32 + n], 0x02);
    EXPECT_EQ(bytes.substr(33 + n, 9), "pics\xFFsub\xFF");
    EXPECT_EQ(le::read16(p + 42 + n), 0);
    EXPECT_EQ(le::read32(p + 7), 10u + 5 + 12);
    EXPECT_EQ(bytes.size(), 44 + n);

    LhaMemberHeader back;
    uint64_t data = 0;
    ASSERT_TRUE(Read(bytes + std::string(10, 'x'), back, &data));
    EXPECT_EQ(back.name, "pics\\sub\\Photo.bmp");
    EXPECT_EQ(back.packedSize, 10u);
    EXPECT_EQ(back.attribute, 0x21);
    EXPECT_TRUE(back.scrambled);
    EXPECT_EQ(back.osId, 'M');
    EXPECT_EQ(data, bytes.size());
}

TEST(MemberHeader, FinalWritingKeepsTheDataInPlace) {
    for (uint8_t level : {0, 1}) {
        LhaMemberHeader h = Sample(level, "dir\\file.dat", 0x20);
        h.packedSize = 0;
        h.crc = 0;
        const size_t placeholder = Written(h).size();
        h.packedSize = 123456;
        h.crc = 0x1234;
        EXPECT_EQ(Written(h).size(), placeholder);
        EXPECT_EQ(MemberHeaderLength(h), placeholder);
    }
}

TEST(MemberHeader, RoundTripOfFields) {
    for (uint8_t level : {0, 1}) {
        const LhaMemberHeader h = Sample(level, "A.TXT");
        LhaMemberHeader back;
        ASSERT_TRUE(Read(Written(h) + std::string(10, '\0'), back));
        EXPECT_EQ(back.method, LhaMethod::Lh5);
        EXPECT_EQ(back.originalSize, 100u);
        EXPECT_EQ(back.packedSize, 10u);
        EXPECT_EQ(back.date, 0x5821);
        EXPECT_EQ(back.time, 0x6000);
        EXPECT_EQ(back.crc, 0xBEEF);
        EXPECT_EQ(back.name, "A.TXT");
        EXPECT_EQ(back.level, level);
    }
}

TEST(MemberHeader, EndOfArchive) {
    LhaMemberHeader h;
    const std::string full = Written(Sample(0, "A.TXT"));
    for (const std::string& bytes : {std::string(), std::string(1, '\0'), std::string("\0garbage", 8),
                                     full.substr(0, 21), full.substr(0, 22), full.substr(0, full.size() - 1)})
        EXPECT_FALSE(Read(bytes, h)) << bytes.size();
}

TEST(MemberHeader, LevelZeroExtraBytesAfterTheCrc) {
    std::string bytes = Written(Sample(0, "A.TXT"));
    bytes[0] = static_cast<char>(bytes[0] + 3);
    bytes += "U\x01\x02"; // what other programs put there
    FixChecksum(bytes);
    LhaMemberHeader h;
    uint64_t data = 0;
    ASSERT_TRUE(Read(bytes + std::string(10, 'd'), h, &data));
    EXPECT_EQ(data, bytes.size());
    EXPECT_EQ(h.name, "A.TXT");
}

TEST(MemberHeader, DataCutShortIsForTheDataReader) {
    const std::string bytes = Written(Sample(0, "A.TXT"));
    LhaMemberHeader back;
    uint64_t data = 0;
    ASSERT_TRUE(Read(bytes + "d", back, &data));
    EXPECT_EQ(back.packedSize, 10u);
    EXPECT_EQ(data, bytes.size());
}

TEST(MemberHeader, NameEndsAtNul) {
    LhaMemberHeader h = Sample(0, std::string("NOTE.TXT\0a comment", 18));
    LhaMemberHeader back;
    ASSERT_TRUE(Read(Written(h) + std::string(10, 'd'), back));
    EXPECT_EQ(back.name, "NOTE.TXT");
}

TEST(MemberHeader, TooLongNameIsRefused) {
    EXPECT_THROW(Written(Sample(0, std::string(234, 'A'))), ECompLHAInvalidHeader);
    EXPECT_NO_THROW(Written(Sample(0, std::string(233, 'A'))));
}

// Every refusal of the reader: the bytes, the exception class and its exact message.
TEST(MemberHeader, Refusals) {
    const std::string data(10, 'd');
    std::string h0 = Written(Sample(0, "A.TXT")) + data;
    std::string h1 = Written(Sample(1, "a.txt")) + data;
    const uint8_t sum0 = static_cast<uint8_t>(h0[1]);
    const uint8_t sum1 = static_cast<uint8_t>(h1[1]);

    struct Row {
        const char* what;
        std::string bytes;
        std::string message;
        int kind; // 0 checksum, 1 invalid header, 2 level, 3 method
    };
    std::vector<Row> rows;
    {
        std::string b = h0;
        b[1] = static_cast<char>(sum0 + 1);
        rows.push_back(
            {"level-0 checksum", b, "Bad checksum in LHARC archive header: " + std::to_string(sum0), 0});
    }
    {
        std::string b = h1;
        b[1] = static_cast<char>(sum1 + 1);
        rows.push_back(
            {"level-1 checksum", b, "Bad checksum in LHA archive header: " + std::to_string(sum1), 0});
    }
    {
        std::string b = h1;
        b[24 + 5] = 'A';
        FixChecksum(b);
        rows.push_back({"other system", b, "Unsupported OS mode in archive: A", 1});
    }
    {
        std::string b = h0;
        b[20] = 2;
        rows.push_back({"level 2", b, "Unsupported header level in archive: 2", 2});
        b[20] = static_cast<char>(0x83);
        rows.push_back({"level 3 scrambled", b, "Unsupported header level in archive: 131", 2});
    }
    {
        std::string b = h0;
        b.replace(2, 5, "-lhz-");
        FixChecksum(b);
        rows.push_back({"method", b, "Unrecognized compression method: \"-lhz-\" in header", 3});
    }
    {
        std::string b = h1.substr(0, 24 + 5 + 2); // first extended size missing
        rows.push_back({"no extended size", b, "Unexpected end of extended header section in archive", 1});
    }
    {
        std::string b = h1;
        b[25 + 5] = 12; // an extended header of 12 bytes that is not there
        FixChecksum(b);
        rows.push_back({"extended header cut", b.substr(0, 24 + 5 + 3 + 4),
                        "Unexpected end of extended header section in archive", 1});
        rows.push_back({"extended header beyond packed size", b,
                        "Unexpected end of extended header section in archive", 1});
    }
    for (const Row& r : rows) {
        LhaMemberHeader h;
        try {
            Read(r.bytes, h);
            ADD_FAILURE() << r.what << ": no exception";
        } catch (const ECompLHABadChecksum& e) {
            EXPECT_EQ(r.kind, 0) << r.what;
            EXPECT_EQ(e.what(), r.message) << r.what;
        } catch (const ECompLHAInvalidHeader& e) {
            EXPECT_EQ(r.kind, 1) << r.what;
            EXPECT_EQ(e.what(), r.message) << r.what;
        } catch (const ECompLHAInvalidHeaderLevel& e) {
            EXPECT_EQ(r.kind, 2) << r.what;
            EXPECT_EQ(e.what(), r.message) << r.what;
        } catch (const ECompLHAUnrecognizedCompressionMethod& e) {
            EXPECT_EQ(r.kind, 3) << r.what;
            EXPECT_EQ(e.what(), r.message) << r.what;
        }
    }
}
