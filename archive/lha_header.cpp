// SPDX-License-Identifier: MIT
#include "lha_header.h"

#include "crc16.h"
#include "file_mask.h"
#include "le_bytes.h"
#include "lha_errors.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <istream>
#include <ostream>
#include <vector>

namespace verasco::archive {
namespace {

// The letters between the two dashes of each identifier. They are kept apart from the dashes so that
// a program that carries the engine (a package's head, which LHA readers search for the first member)
// holds no bytes that look like the start of a member header.
constexpr const char* kMethodCodes[] = {"lh0", "lh1", "lh5", "rle", "lhd"};

// An attribute header (type and data) with the archive bit set, as other programs write it.
std::string AttributeHeader(uint8_t attribute) {
    return {static_cast<char>(kExtendedAttribute), static_cast<char>(attribute | 0x20), '\0'};
}

// A folder header (type and data): the folder with 0xFF between its names and after the last.
std::string FolderHeader(const std::string& folder) {
    std::string f(1, static_cast<char>(kExtendedFolder));
    for (char c : folder)
        f.push_back(IsSeparator(c) ? static_cast<char>(0xFF) : c);
    return f;
}

// Level-1 extended headers of a member: the size of the first one, then each header (type byte
// and data) followed by the size of the next, 0 after the last. The attribute header comes when
// the attribute is set, the folder header when the name has a folder.
std::string ExtendedHeaders(const LhaMemberHeader& header, const std::string& folder) {
    std::vector<std::string> parts;
    const uint8_t attribute = header.attribute & 0x7F;
    if (attribute != 0)
        parts.push_back(AttributeHeader(attribute));
    if (!folder.empty())
        parts.push_back(FolderHeader(folder));
    std::string ext;
    le::append16(ext, static_cast<uint16_t>(parts.empty() ? 0 : parts[0].size() + 2));
    for (size_t i = 0; i < parts.size(); ++i) {
        ext += parts[i];
        le::append16(ext, static_cast<uint16_t>(i + 1 < parts.size() ? parts[i + 1].size() + 2 : 0));
    }
    return ext;
}

// Levels 2 and 3 begin with the size of the header (level 2: all its bytes in 16 bits; level 3: the
// word size 4, and the size in 32 bits after the system byte), then the method, the packed size (of
// the data only), the original size, the Unix time, a reserved byte (0x20), the level, the data's
// CRC and the system byte, and last the size of the first extended header. Each extended header is
// its type byte, its data and the size of the next one (level 3: 32 bits), 0 after the last. The
// header CRC header (type 0) holds the CRC-16 of the whole header, taken with those two bytes at 0.
constexpr size_t kLevelTwoFixedBytes = 26;
constexpr size_t kLevelThreeFixedBytes = 32;
// Larger level-3 headers are refused: no writer needs one, and a damaged size field must not make
// the reader take the memory it claims.
constexpr uint64_t kLargestLevelThreeHeader = 1u << 20;

uint32_t UnixTimeOf(uint16_t date, uint16_t time) {
    const std::time_t t = TimeOfDosDateTime(date, time);
    return t < 0 ? 0u : static_cast<uint32_t>(std::min<std::time_t>(t, 0xFFFFFFFF));
}

// A level-2 header: the header CRC header first, the name, the folder when there is one and the
// attribute when it is set. A header whose size ends in a 0 byte would read as the end of the
// archive; a padding byte after the extended headers avoids it, as other writers do.
std::string BuildLevelTwoBytes(const LhaMemberHeader& header) {
    std::string folder, base;
    SplitPath(header.name, folder, base);
    std::vector<std::string> parts = {std::string{static_cast<char>(kExtendedHeaderCrc), '\0', '\0'},
                                      static_cast<char>(kExtendedFileName) + base};
    if (!folder.empty())
        parts.push_back(FolderHeader(folder));
    if ((header.attribute & 0x7F) != 0)
        parts.push_back(AttributeHeader(header.attribute & 0x7F));
    std::string bytes(kLevelTwoFixedBytes - 2, '\0');
    auto* fixed = reinterpret_cast<uint8_t*>(bytes.data());
    std::memcpy(fixed + 2, MethodIdentifier(header.method).data(), 5);
    le::write32(fixed + 7, header.packedSize);
    le::write32(fixed + 11, header.originalSize);
    le::write32(fixed + 15, UnixTimeOf(header.date, header.time));
    fixed[19] = 0x20;
    fixed[20] = static_cast<uint8_t>(2 | (header.scrambled ? 0x80 : 0));
    le::write16(fixed + 21, header.crc);
    fixed[23] = static_cast<uint8_t>(header.osId ? header.osId : 'M');
    le::append16(bytes, static_cast<uint16_t>(parts[0].size() + 2));
    for (size_t i = 0; i < parts.size(); ++i) {
        bytes += parts[i];
        le::append16(bytes, static_cast<uint16_t>(i + 1 < parts.size() ? parts[i + 1].size() + 2 : 0));
    }
    if ((bytes.size() & 0xFF) == 0)
        bytes.push_back('\0');
    if (bytes.size() > 0xFFFF)
        throw ECompLHAInvalidHeader(
            QT_TRANSLATE_NOOP("ArchiveEngine", "Name too long for an archive header: %1"),
            PrintableName(header.name));
    auto* all = reinterpret_cast<uint8_t*>(bytes.data());
    le::write16(all, static_cast<uint16_t>(bytes.size()));
    le::write16(all + kLevelTwoFixedBytes + 1, UpdateCrc16(0, all, bytes.size()));
    return bytes;
}

std::string BuildHeaderBytes(const LhaMemberHeader& header) {
    if (header.level > 2)
        throw ECompLHAInvalidHeaderLevel("Unsupported header level for writing: " +
                                         std::to_string(header.level));
    if (header.level == 2)
        return BuildLevelTwoBytes(header);
    std::string folder, base;
    if (header.level == 1)
        SplitPath(header.name, folder, base);
    else
        base = header.name;
    // The size byte holds 22 (level 1: 25) plus the name; a folder header's size is 16 bits.
    const size_t limit = header.level == 1 ? 230 : 233;
    if (base.size() > limit || folder.size() + 3 > 0xFFFF)
        throw ECompLHAInvalidHeader(
            QT_TRANSLATE_NOOP("ArchiveEngine", "Name too long for an archive header: %1"),
            PrintableName(header.name));
    const std::string ext = header.level == 1 ? ExtendedHeaders(header, folder) : std::string();
    if (header.packedSize > LargestDataSize(header))
        throw EInOutError(QT_TRANSLATE_NOOP("ArchiveEngine", "File too large for an archive member: %1"),
                          PrintableName(header.name));

    LhaBaseHeaderLayout fixed{};
    uint64_t packed = header.packedSize;
    uint8_t attribute = header.attribute;
    if (header.level == 1) {
        packed += ext.size() - 2;
        attribute = 0x20;
    } else {
        attribute = static_cast<uint8_t>((attribute & 0x7F) | 0x20);
    }
    fixed.headerSize = static_cast<uint8_t>(22 + base.size() + (header.level == 1 ? 3 : 0));
    std::memcpy(fixed.method, MethodIdentifier(header.method).data(), 5);
    le::write32(fixed.packedSize, static_cast<uint32_t>(packed));
    le::write32(fixed.originalSize, header.originalSize);
    le::write16(fixed.time, header.time);
    le::write16(fixed.date, header.date);
    fixed.attribute = attribute;
    fixed.level = static_cast<uint8_t>(header.level | (header.scrambled ? 0x80 : 0));
    fixed.nameLength = static_cast<uint8_t>(base.size());

    std::string bytes(kBaseHeaderBytes, '\0');
    std::memcpy(bytes.data(), &fixed, kBaseHeaderBytes);
    bytes += base;
    bytes.push_back(static_cast<char>(header.crc & 0xFF));
    bytes.push_back(static_cast<char>(header.crc >> 8));
    if (header.level == 1) {
        bytes.push_back(header.osId ? header.osId : 'M');
        bytes += ext;
    }
    bytes[1] = static_cast<char>(
        HeaderChecksum(reinterpret_cast<const uint8_t*>(bytes.data()) + 2, fixed.headerSize));
    return bytes;
}

bool ReadExactly(std::istream& in, void* dst, size_t n) {
    in.read(static_cast<char*>(dst), static_cast<std::streamsize>(n));
    return static_cast<size_t>(in.gcount()) == n;
}

[[noreturn]] void ExtendedHeaderCutShort() {
    throw ECompLHAInvalidHeader("Unexpected end of extended header section in archive");
}

// The name in a file name header, which ends at a NUL as the base header's does.
std::string FileNameText(const uint8_t* data, size_t length) {
    std::string text(reinterpret_cast<const char*>(data), length);
    if (size_t nul = text.find('\0'); nul != std::string::npos)
        text.resize(nul);
    return text;
}

// The folder in a folder header: 0xFF between names, "\" after the last.
std::string FolderText(const uint8_t* data, size_t length) {
    std::string folder;
    for (size_t i = 0; i < length; ++i)
        folder.push_back(data[i] == 0xFF ? '\\' : static_cast<char>(data[i]));
    if (!folder.empty() && !IsSeparator(folder.back()))
        folder.push_back('\\');
    return folder;
}

// Walks the level-1 extended headers that begin with `size`; returns the bytes they take. A file
// name header (written by programs whose names do not fit the base header) gives `fileName`.
uint64_t ReadExtendedHeaders(std::istream& in, uint16_t size, uint64_t limit, std::string& folder,
                             std::string& fileName, LhaMemberHeader& header) {
    uint64_t total = 0;
    std::vector<uint8_t> block;
    while (size != 0) {
        if (size < 3 || total + size > limit)
            ExtendedHeaderCutShort();
        block.resize(size);
        if (!ReadExactly(in, block.data(), size))
            ExtendedHeaderCutShort();
        total += size;
        const uint8_t type = block[0];
        const size_t dataLength = size - 3u;
        if (type == kExtendedFileName)
            fileName = FileNameText(block.data() + 1, dataLength);
        else if (type == kExtendedFolder)
            folder = FolderText(block.data() + 1, dataLength);
        else if (type == kExtendedAttribute && dataLength >= 1)
            header.attribute = block[1];
        size = le::read16(block.data() + size - 2);
    }
    return total;
}

// What the extended headers of a level-2 or level-3 header say.
struct ExtendedFields {
    std::string folder, fileName;
    size_t crcAt = 0;   // where the header CRC lies in the header; 0 when there is none
    int attribute = -1; // of the attribute header; -1 when there is none
    int unixMode = -1;  // of the Unix permission header; -1 when there is none
    bool beyond32Bits = false;
};

// One extended header of level 2 or 3 at `at` in the header: type byte and data.
void TakeExtendedHeader(const uint8_t* block, size_t dataLength, size_t at, ExtendedFields& fields) {
    const uint8_t* data = block + 1;
    if (block[0] == kExtendedHeaderCrc && dataLength >= 2)
        fields.crcAt = at + 1;
    else if (block[0] == kExtendedFileName)
        fields.fileName = FileNameText(data, dataLength);
    else if (block[0] == kExtendedFolder)
        fields.folder = FolderText(data, dataLength);
    else if (block[0] == kExtendedAttribute && dataLength >= 1)
        fields.attribute = data[0];
    else if (block[0] == kExtendedLargeSizes && dataLength >= 16)
        fields.beyond32Bits = le::read32(data + 4) != 0 || le::read32(data + 12) != 0;
    else if (block[0] == kExtendedUnixMode && dataLength >= 2)
        fields.unixMode = le::read16(data);
}

uint32_t SizeField(const uint8_t* p, size_t word) {
    return word == 2 ? le::read16(p) : le::read32(p);
}

// Walks the extended headers of the level-2 or level-3 header in `bytes`; an extended header
// smaller than its type and size fields, or reaching past the header, is refused. Level-2 headers
// of OS-9/68k (system "K") count two bytes too few; those two are read after the header.
void WalkExtendedHeaders(std::istream& in, std::vector<uint8_t>& bytes, unsigned level,
                         ExtendedFields& fields) {
    const size_t word = level == 2 ? 2 : 4;
    const size_t declared = bytes.size();
    size_t at = level == 2 ? kLevelTwoFixedBytes : kLevelThreeFixedBytes;
    uint64_t size = SizeField(bytes.data() + at - word, word);
    while (size != 0) {
        if (size < 1 + word)
            throw ECompLHAInvalidHeader("Invalid extended header size in archive: " + std::to_string(size));
        if (at + size > bytes.size()) {
            if (level != 2 || bytes[23] != 'K' || at + size != declared + 2)
                ExtendedHeaderCutShort();
            bytes.resize(at + size);
            if (!ReadExactly(in, bytes.data() + declared, 2))
                ExtendedHeaderCutShort();
        }
        TakeExtendedHeader(bytes.data() + at, size - 1 - word, at, fields);
        at += size;
        size = SizeField(bytes.data() + at - word, word);
    }
}

// Compares the header CRC, when the header has one, with the header's bytes.
void CheckHeaderCrc(std::vector<uint8_t>& bytes, size_t crcAt) {
    if (crcAt == 0)
        return;
    const uint16_t stored = le::read16(bytes.data() + crcAt);
    le::write16(bytes.data() + crcAt, 0);
    const uint16_t crc = UpdateCrc16(0, bytes.data(), bytes.size());
    le::write16(bytes.data() + crcAt, stored);
    if (crc != stored)
        throw ECompLHABadChecksum("Bad CRC in LHA archive header: " + std::to_string(crc));
}

// The rest of a level-2 or level-3 header whose first 22 bytes are in `head`; false when its fixed
// part is cut short. The whole header is read before its extended headers are walked.
bool ReadLevelTwoOrThreeRest(std::istream& in, const uint8_t* head, unsigned level, LhaMemberHeader& header,
                             std::string& folder, std::string& fileName) {
    const size_t fixedBytes = level == 2 ? kLevelTwoFixedBytes : kLevelThreeFixedBytes;
    std::vector<uint8_t> bytes(head, head + kBaseHeaderBytes);
    bytes.resize(fixedBytes);
    if (!ReadExactly(in, bytes.data() + kBaseHeaderBytes, fixedBytes - kBaseHeaderBytes))
        return false;
    if (level == 3 && le::read16(bytes.data()) != 4)
        throw ECompLHAInvalidHeader("Unsupported word size in level-3 archive header: " +
                                    std::to_string(le::read16(bytes.data())));
    const uint64_t total = level == 2 ? le::read16(bytes.data()) : le::read32(bytes.data() + 24);
    if (total < fixedBytes || total > kLargestLevelThreeHeader)
        throw ECompLHAInvalidHeader("Invalid header size in archive: " + std::to_string(total));
    bytes.resize(total);
    if (!ReadExactly(in, bytes.data() + fixedBytes, total - fixedBytes))
        ExtendedHeaderCutShort();
    ExtendedFields fields;
    WalkExtendedHeaders(in, bytes, level, fields);
    CheckHeaderCrc(bytes, fields.crcAt);
    folder = fields.folder;
    fileName = fields.fileName;
    if (fields.beyond32Bits)
        throw ECompLHAInvalidHeader("Member of 4 GiB or more in archive: " +
                                    PrintableName(folder + fileName));
    const uint32_t dos = DosDateTimeOf(static_cast<std::time_t>(le::read32(bytes.data() + 15)));
    header.date = static_cast<uint16_t>(dos >> 16);
    header.time = static_cast<uint16_t>(dos);
    header.crc = le::read16(bytes.data() + 21);
    header.osId = static_cast<char>(bytes[23]);
    // A file its owner may not write is read-only, where no attribute header says otherwise.
    header.attribute = static_cast<uint8_t>(fields.attribute >= 0 ? fields.attribute : bytes[19]);
    if (fields.attribute < 0 && fields.unixMode >= 0 && (fields.unixMode & 0x80) == 0)
        header.attribute |= 0x01;
    return true;
}

// The bytes of a level-0 header after the CRC; false when they are cut short.
bool ReadLevelZeroRest(std::istream& in, uint8_t* head, const LhaBaseHeaderLayout& fixed) {
    const size_t have = kBaseHeaderBytes + fixed.nameLength + 2;
    const size_t h = fixed.headerSize;
    // Other programs put extra bytes after the CRC; they belong to the header and its sum.
    if (h + 2 > have && !ReadExactly(in, head + have, h + 2 - have))
        return false;
    const uint8_t sum = HeaderChecksum(head + 2, h);
    if (sum != fixed.checksum)
        throw ECompLHABadChecksum("Bad checksum in LHARC archive header: " + std::to_string(sum));
    return true;
}

// The operating-system byte, the first extended-header size (which end the base header of level
// 1) and the extended headers; the packed size loses the extended headers' bytes.
void ReadLevelOneRest(std::istream& in, uint8_t* head, const LhaBaseHeaderLayout& fixed,
                      LhaMemberHeader& header, std::string& folder, std::string& fileName) {
    const size_t have = kBaseHeaderBytes + fixed.nameLength + 2;
    const size_t h = fixed.headerSize;
    const size_t baseEnd = std::max<size_t>(h + 2, have + 3);
    if (!ReadExactly(in, head + have, baseEnd - have))
        ExtendedHeaderCutShort();
    header.osId = static_cast<char>(head[have]);
    const uint8_t sum = HeaderChecksum(head + 2, h);
    if (sum != fixed.checksum)
        throw ECompLHABadChecksum("Bad checksum in LHA archive header: " + std::to_string(sum));
    // MS-DOS, Unix, and the Java writer's two marks (its library's "J", its archiver's 0).
    if (header.osId != 'M' && header.osId != 'U' && header.osId != 'J' && header.osId != 0) {
        // A byte that does not print is shown by its value.
        const unsigned char id = static_cast<unsigned char>(header.osId);
        char shown[8] = {static_cast<char>(id), 0};
        if (id <= 0x20 || id >= 0x7F)
            std::snprintf(shown, sizeof shown, "0x%02x", id);
        throw ECompLHAInvalidHeader(std::string("Unsupported OS mode in archive: ") + shown);
    }
    const uint16_t firstSize = le::read16(head + baseEnd - 2);
    header.packedSize -= static_cast<uint32_t>(
        ReadExtendedHeaders(in, firstSize, header.packedSize, folder, fileName, header));
}

// The name, CRC and the rest of a level-0 or level-1 header whose first 22 bytes are in `head`;
// false when the header is cut short.
bool ReadLevelZeroOrOneRest(std::istream& in, uint8_t* head, const LhaBaseHeaderLayout& fixed,
                            LhaMemberHeader& header, std::string& base, std::string& folder,
                            std::string& fileName) {
    const size_t n = fixed.nameLength;
    if (!ReadExactly(in, head + kBaseHeaderBytes, n + 2))
        return false;
    header.time = le::read16(fixed.time);
    header.date = le::read16(fixed.date);
    header.attribute = fixed.attribute;
    header.crc = le::read16(head + kBaseHeaderBytes + n);
    base.assign(reinterpret_cast<const char*>(head + kBaseHeaderBytes), n);
    // Some writers put a comment after a NUL inside the name.
    if (size_t nul = base.find('\0'); nul != std::string::npos)
        base.resize(nul);
    if (header.level == 0)
        return ReadLevelZeroRest(in, head, fixed);
    ReadLevelOneRest(in, head, fixed, header, folder, fileName);
    return true;
}

LhaMethod MethodOf(const char (&identifier)[5]) {
    const std::string id(identifier, 5);
    for (int m = 0; m < 5; ++m)
        if (id == MethodIdentifier(static_cast<LhaMethod>(m)))
            return static_cast<LhaMethod>(m);
    throw ECompLHAUnrecognizedCompressionMethod("Unrecognized compression method: \"" + PrintableName(id) +
                                                "\" in header");
}

} // namespace

std::string MethodIdentifier(LhaMethod method) {
    return '-' + std::string(kMethodCodes[static_cast<int>(method)]) + '-';
}

uint8_t HeaderChecksum(const uint8_t* bytes, size_t length) {
    unsigned sum = 0;
    for (size_t i = 0; i < length; ++i)
        sum += bytes[i];
    return static_cast<uint8_t>(sum);
}

uint32_t LargestDataSize(const LhaMemberHeader& header) {
    if (header.level != 1)
        return 0xFFFFFFFFu;
    std::string folder, base;
    SplitPath(header.name, folder, base);
    // The packed size field also counts the extended headers, but not the first size field.
    return static_cast<uint32_t>(0xFFFFFFFFu - (ExtendedHeaders(header, folder).size() - 2));
}

size_t MemberHeaderLength(const LhaMemberHeader& header) {
    return BuildHeaderBytes(header).size();
}

void WriteMemberHeader(std::ostream& out, const LhaMemberHeader& header) {
    const std::string bytes = BuildHeaderBytes(header);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw EWriteError(QT_TRANSLATE_NOOP("ArchiveEngine", "Write error"), {});
}

bool ReadMemberHeader(std::istream& in, LhaMemberHeader& header) {
    uint8_t head[640];
    // The size byte 0 is the end marker.
    if (!ReadExactly(in, head, 1) || head[0] == 0)
        return false;
    if (!ReadExactly(in, head + 1, kBaseHeaderBytes - 1))
        return false;
    LhaBaseHeaderLayout fixed;
    std::memcpy(&fixed, head, kBaseHeaderBytes);
    const unsigned levelByte = fixed.level;
    const unsigned level = levelByte & 0x7F;
    if (level > 3)
        throw ECompLHAInvalidHeaderLevel("Unsupported header level in archive: " + std::to_string(levelByte));
    header = LhaMemberHeader{};
    header.level = static_cast<uint8_t>(level);
    header.scrambled = (levelByte & 0x80) != 0;
    header.packedSize = le::read32(fixed.packedSize);
    header.originalSize = le::read32(fixed.originalSize);
    std::string base, folder, fileName;
    if (level >= 2) {
        if (!ReadLevelTwoOrThreeRest(in, head, level, header, folder, fileName))
            return false;
    } else if (!ReadLevelZeroOrOneRest(in, head, fixed, header, base, folder, fileName)) {
        return false;
    }
    header.name = folder + (fileName.empty() ? base : fileName);
    header.method = MethodOf(fixed.method);
    return true;
}

} // namespace verasco::archive
