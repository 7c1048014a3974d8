// SPDX-License-Identifier: MIT
// Member headers and CRC-16: the bytes written, what reading accepts, and every refusal.
#include "archive_test_support.h"
#include "crc16.h"
#include "file_mask.h"
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

// A level-2 or level-3 header built by hand, as other writers make them: 10 bytes of "-lh0-" data,
// the extended headers (type byte and data) in order, the header CRC filled in where one is of type 0.
std::string OtherWritersHeader(int level, char osId, const std::vector<std::string>& ext) {
    const size_t word = level == 2 ? 2 : 4;
    std::string b(level == 2 ? 24 : 28, '\0');
    auto* p = reinterpret_cast<uint8_t*>(b.data());
    b.replace(2, 5, "-lh0-");
    le::write32(p + 7, 10);
    le::write32(p + 11, 10);
    le::write32(p + 15, 1262304000); // 2010-01-01 00:00 UTC
    p[19] = 0x20;
    p[20] = static_cast<uint8_t>(level);
    le::write16(p + 21, 0xBEEF);
    p[23] = static_cast<uint8_t>(osId);
    auto appendSize = [&b, word](size_t n) {
        word == 2 ? le::append16(b, static_cast<uint16_t>(n)) : le::append32(b, static_cast<uint32_t>(n));
    };
    appendSize(ext.empty() ? 0 : ext[0].size() + word);
    size_t crcAt = 0;
    for (size_t i = 0; i < ext.size(); ++i) {
        if (ext[i][0] == '\0')
            crcAt = b.size() + 1;
        b += ext[i];
        appendSize(i + 1 < ext.size() ? ext[i + 1].size() + word : 0);
    }
    p = reinterpret_cast<uint8_t*>(b.data());
    level == 2 ? le::write16(p, static_cast<uint16_t>(b.size())) : le::write16(p, 4);
    if (level == 3)
        le::write32(p + 24, static_cast<uint32_t>(b.size()));
    if (crcAt)
        le::write16(p + crcAt, Crc(b));
    return b;
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

// Level 2: the header CRC header first, then the name, the folder and the attribute; the time as
// Unix time; the packed size counts the data only.
TEST(MemberHeader, LevelTwoLayout) {
    const std::string bytes = Written(Sample(2, "pics\\Photo.bmp", 0x21));
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    ASSERT_EQ(bytes.size(), 56u);
    EXPECT_EQ(le::read16(p), 56);
    EXPECT_EQ(bytes.substr(2, 5), "-lh5-");
    EXPECT_EQ(le::read32(p + 7), 10u);
    EXPECT_EQ(le::read32(p + 11), 100u);
    EXPECT_EQ(le::read32(p + 15), static_cast<uint32_t>(TimeOfDosDateTime(0x5821, 0x6000)));
    EXPECT_EQ(p[19], 0x20);
    EXPECT_EQ(p[20], 2);
    EXPECT_EQ(le::read16(p + 21), 0xBEEF);
    EXPECT_EQ(p[23], 'M');
    EXPECT_EQ(le::read16(p + 24), 5);
    EXPECT_EQ(p[26], 0x00);
    std::string zeroed = bytes;
    zeroed[27] = zeroed[28] = '\0';
    EXPECT_EQ(le::read16(p + 27), Crc(zeroed));
    EXPECT_EQ(le::read16(p + 29), 12);
    EXPECT_EQ(bytes.substr(31, 10), "\x01Photo.bmp");
    EXPECT_EQ(le::read16(p + 41), 8);
    EXPECT_EQ(bytes.substr(43, 6), "\x02pics\xFF");
    EXPECT_EQ(le::read16(p + 49), 5);
    EXPECT_EQ(bytes.substr(51, 3), std::string("\x40\x21\x00", 3));
    EXPECT_EQ(le::read16(p + 54), 0);
    // A size whose low byte is 0 would read as the end marker: a padding byte follows the headers.
    const std::string padded = Written(Sample(2, std::string(222, 'n'), 0));
    EXPECT_EQ(padded.size(), 257u);
    EXPECT_EQ(le::read16(reinterpret_cast<const uint8_t*>(padded.data())), 257);
    for (const std::string& written : {bytes, padded}) {
        LhaMemberHeader back;
        uint64_t data = 0;
        ASSERT_TRUE(Read(written + std::string(10, 'd'), back, &data));
        EXPECT_EQ(data, written.size());
    }
}

// What other writers put in level-2 and level-3 headers: the name, folder, attribute and Unix
// permissions (an owner who may not write makes the file read-only), and the OS-9/68k header size
// two bytes short.
TEST(MemberHeader, LevelTwoAndThreeOfOtherWriters) {
    std::string os9 = OtherWritersHeader(2, 'K', {std::string("\x50\xA4\x01", 3), "\x01gpl-2.gz"});
    os9[0] = static_cast<char>(os9[0] - 2);
    const struct {
        const char* what;
        std::string bytes;
        std::string name;
        uint8_t attribute;
        uint64_t dataAt;
    } rows[] = {
        {"level 3",
         OtherWritersHeader(3, 'U', {std::string(3, '\0'), "\x01GPL-2", "\x02sub\xFF", "\x50\x24\x01"}),
         "sub\\GPL-2", 0x21, 65},
        {"level 2 attribute",
         OtherWritersHeader(2, 'w',
                            {"\x01"
                             "a.txt",
                             std::string("\x40\x01\x00", 3)}),
         "a.txt", 0x01, 39},
        {"OS-9/68k", os9, "gpl-2.gz", 0x20, 42},
    };
    for (const auto& r : rows) {
        LhaMemberHeader h;
        uint64_t data = 0;
        ASSERT_TRUE(Read(r.bytes + std::string(10, 'd'), h, &data)) << r.what;
        EXPECT_EQ(h.name, r.name) << r.what;
        EXPECT_EQ(h.attribute, r.attribute) << r.what;
        EXPECT_EQ(data, r.dataAt) << r.what;
        EXPECT_EQ(h.packedSize, 10u) << r.what;
        EXPECT_EQ(h.crc, 0xBEEF) << r.what;
        EXPECT_EQ(h.method, LhaMethod::Lh0) << r.what;
        EXPECT_EQ(h.date << 16 | h.time, DosDateTimeOf(1262304000)) << r.what;
    }
}

// Every field comes back as written, and the header keeps its length when the final sizes and CRC
// are written over the placeholders, so the data after it stays in place.
TEST(MemberHeader, RoundTripOfFieldsAndFinalWriting) {
    for (uint8_t level : {0, 1, 2}) {
        LhaMemberHeader h = Sample(level, "A.TXT");
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

        h = Sample(level, "dir\\file.dat", 0x20);
        h.packedSize = 0;
        h.crc = 0;
        const size_t placeholder = Written(h).size();
        h.packedSize = 123456;
        h.crc = 0x1234;
        EXPECT_EQ(Written(h).size(), placeholder);
        EXPECT_EQ(MemberHeaderLength(h), placeholder);
    }
}

TEST(MemberHeader, EndOfArchive) {
    LhaMemberHeader h;
    const std::string full = Written(Sample(0, "A.TXT"));
    for (const std::string& bytes :
         {std::string(), std::string(1, '\0'), std::string("\0garbage", 8), full.substr(0, 21),
          full.substr(0, 22), full.substr(0, full.size() - 1), Written(Sample(2, "a.txt")).substr(0, 25)})
        EXPECT_FALSE(Read(bytes, h)) << bytes.size();
}

// Level-0 headers as other programs write them: where the name ends and where the data begins.
TEST(MemberHeader, LevelZeroNameAndDataStart) {
    std::string extra = Written(Sample(0, "A.TXT"));
    extra[0] = static_cast<char>(extra[0] + 3);
    extra += "U\x01\x02"; // what other programs put after the CRC
    FixChecksum(extra);
    const struct {
        const char* what;
        std::string header, data, name;
    } rows[] = {
        {"bytes after the CRC", extra, std::string(10, 'd'), "A.TXT"},
        // Data cut short is for the data reader to find, not the header reader.
        {"data cut short", Written(Sample(0, "A.TXT")), "d", "A.TXT"},
        {"name with a NUL", Written(Sample(0, std::string("NOTE.TXT\0a comment", 18))), std::string(10, 'd'),
         "NOTE.TXT"},
    };
    for (const auto& r : rows) {
        LhaMemberHeader h;
        uint64_t data = 0;
        ASSERT_TRUE(Read(r.header + r.data, h, &data)) << r.what;
        EXPECT_EQ(h.name, r.name) << r.what;
        EXPECT_EQ(h.packedSize, 10u) << r.what;
        EXPECT_EQ(data, r.header.size()) << r.what;
    }
}

TEST(MemberHeader, TooLongNameIsRefused) {
    EXPECT_THROW(Written(Sample(0, std::string(234, 'A'))), ECompLHAInvalidHeader);
    EXPECT_NO_THROW(Written(Sample(0, std::string(233, 'A'))));
    EXPECT_NO_THROW(Written(Sample(2, std::string(60000, 'a'))));
    EXPECT_THROW(Written(Sample(2, std::string(65500, 'a'))), ECompLHAInvalidHeader);
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
        b[20] = 4;
        rows.push_back({"level 4", b, "Unsupported header level in archive: 4", 2});
        b[20] = static_cast<char>(0x84);
        rows.push_back({"level 4 scrambled", b, "Unsupported header level in archive: 132", 2});
    }
    const std::string h2 = Written(Sample(2, "a.txt"));
    const auto with16 = [](std::string b, size_t at, uint16_t value) {
        le::write16(reinterpret_cast<uint8_t*>(b.data()) + at, value);
        return b;
    };
    {
        std::string b = h2 + data;
        b[32] = 'b'; // in the name
        std::string zeroed = b.substr(0, h2.size());
        zeroed[27] = zeroed[28] = '\0';
        rows.push_back(
            {"level-2 header CRC", b, "Bad CRC in LHA archive header: " + std::to_string(Crc(zeroed)), 0});
    }
    rows.push_back({"level-2 size below its fixed part", with16(h2, 0, 20) + data,
                    "Invalid header size in archive: 20", 1});
    rows.push_back({"level-2 extended header cut", h2.substr(0, 30),
                    "Unexpected end of extended header section in archive", 1});
    rows.push_back({"level-2 extended header past the header", with16(h2, 24, 200) + data,
                    "Unexpected end of extended header section in archive", 1});
    rows.push_back({"level-2 extended header size that loops", with16(h2, 24, 2) + data,
                    "Invalid extended header size in archive: 2", 1});
    {
        std::string b = OtherWritersHeader(2, 'U', {"\x01gpl-2.gz"});
        b[0] = static_cast<char>(b[0] - 2); // two short, from a system that does not do so
        rows.push_back(
            {"level-2 size two short", b + data, "Unexpected end of extended header section in archive", 1});
    }
    const std::string h3 = OtherWritersHeader(3, 'U',
                                              {"\x01"
                                               "a.txt"});
    rows.push_back({"level-3 word size", with16(h3, 0, 2) + data,
                    "Unsupported word size in level-3 archive header: 2", 1});
    {
        std::string b = h3 + data;
        le::write32(reinterpret_cast<uint8_t*>(b.data()) + 24, 0x7FFFFFFF);
        rows.push_back({"level-3 size beyond reason", b, "Invalid header size in archive: 2147483647", 1});
        b = h3 + data;
        le::write32(reinterpret_cast<uint8_t*>(b.data()) + 28, 4);
        rows.push_back(
            {"level-3 extended header size that loops", b, "Invalid extended header size in archive: 4", 1});
    }
    {
        std::string sizes(17, '\0');
        sizes[0] = 0x42;
        sizes[13] = 1; // an original size of 4 GiB
        rows.push_back({"4 GiB member",
                        OtherWritersHeader(3, 'U',
                                           {"\x01"
                                            "big.bin",
                                            sizes}) +
                            data,
                        "Member of 4 GiB or more in archive: big.bin", 1});
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
