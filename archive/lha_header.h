// SPDX-License-Identifier: MIT
// Member headers of LHA archives: levels 0, 1 and 2 are written, levels 0 to 3 read; the method
// identifiers and the header checksum.
#pragma once

#include "member_name.h"

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>

namespace verasco::archive {

// Method index as the codec and the archive contents use it. Folders are stored as "-lhd-" entries,
// which the component reads but never writes.
enum class LhaMethod : int { Lh0 = 0, Lh1 = 1, Lh5 = 2, Rle = 3, Directory = 4 };

// The five-byte identifier of a method, such as "-lh5-".
std::string MethodIdentifier(LhaMethod method);

// The 22 fixed bytes at the start of a level-0 or level-1 header.
struct LhaBaseHeaderLayout {
    uint8_t headerSize;      // bytes of the header after the first two
    uint8_t checksum;        // low 8 bits of the sum of those bytes
    char method[5];          // such as "-lh5-"
    uint8_t packedSize[4];   // data bytes that follow (level 1: extended headers too)
    uint8_t originalSize[4]; // uncompressed size
    uint8_t time[2];         // MS-DOS time of the last write
    uint8_t date[2];         // MS-DOS date of the last write
    uint8_t attribute;       // file attribute bits
    uint8_t level;           // header level, 0x80 when the data is scrambled
    uint8_t nameLength;      // length of the name that follows
};
static_assert(sizeof(LhaBaseHeaderLayout) == 22);
static_assert(offsetof(LhaBaseHeaderLayout, headerSize) == 0);
static_assert(offsetof(LhaBaseHeaderLayout, checksum) == 1);
static_assert(offsetof(LhaBaseHeaderLayout, method) == 2);
static_assert(offsetof(LhaBaseHeaderLayout, packedSize) == 7);
static_assert(offsetof(LhaBaseHeaderLayout, originalSize) == 11);
static_assert(offsetof(LhaBaseHeaderLayout, time) == 15);
static_assert(offsetof(LhaBaseHeaderLayout, date) == 17);
static_assert(offsetof(LhaBaseHeaderLayout, attribute) == 19);
static_assert(offsetof(LhaBaseHeaderLayout, level) == 20);
static_assert(offsetof(LhaBaseHeaderLayout, nameLength) == 21);

constexpr size_t kBaseHeaderBytes = sizeof(LhaBaseHeaderLayout);
constexpr uint8_t kExtendedHeaderCrc = 0x00;
constexpr uint8_t kExtendedFileName = 0x01;
constexpr uint8_t kExtendedFolder = 0x02;
constexpr uint8_t kExtendedAttribute = 0x40;
constexpr uint8_t kExtendedLargeSizes = 0x42;
constexpr uint8_t kExtendedUnixMode = 0x50;

// The fields of one member. `name` is the full stored name with "\" between folders;
// `packedSize` counts the data bytes only (a level-1 writer adds its extended headers). Levels 2
// and 3 store the time as Unix time, which is turned into the MS-DOS date and time here (local time).
struct LhaMemberHeader {
    LhaMethod method = LhaMethod::Lh0;
    uint32_t packedSize = 0;
    uint32_t originalSize = 0;
    uint16_t time = 0;
    uint16_t date = 0;
    uint8_t attribute = 0;
    uint8_t level = 0; // 0, 1 or 2 written; 3 read too
    bool scrambled = false;
    std::string name;
    uint16_t crc = 0;
    char osId = 0; // levels 1 to 3; written as "M" when 0
};

// Writes the header at the stream's position and leaves the stream at its end. Writing the same
// fields again (with the final packed size and CRC) takes exactly the same number of bytes.
void WriteMemberHeader(std::ostream& out, const LhaMemberHeader& header);

// The most data bytes a member with these fields can record: the packed size field also counts the
// extended headers of a level-1 header.
uint32_t LargestDataSize(const LhaMemberHeader& header);

// Number of bytes WriteMemberHeader writes for these fields.
size_t MemberHeaderLength(const LhaMemberHeader& header);

// Reads the header at the stream's position and leaves the stream at the first data byte.
// Returns false when no further header can be read whole (the end marker, or the end of the
// stream). Whether the member's data is all there is for the reader of the data to find out.
bool ReadMemberHeader(std::istream& in, LhaMemberHeader& header);

// Sum of `length` bytes, low 8 bits.
uint8_t HeaderChecksum(const uint8_t* bytes, size_t length);

} // namespace verasco::archive
