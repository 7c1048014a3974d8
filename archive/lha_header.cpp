// SPDX-License-Identifier: MIT
#include "lha_header.h"

#include "le_bytes.h"
#include "lha_errors.h"

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

// Level-1 extended headers of a member: the size of the first one, then each header (type byte
// and data) followed by the size of the next, 0 after the last. The attribute header comes when
// the attribute is set, the folder header when the name has a folder.
std::string ExtendedHeaders(const LhaMemberHeader& header, const std::string& folder) {
    std::vector<std::string> parts;
    const uint8_t attribute = header.attribute & 0x7F;
    if (attribute != 0)
        parts.push_back({static_cast<char>(kExtendedAttribute), static_cast<char>(attribute | 0x20), '\0'});
    if (!folder.empty()) {
        std::string f(1, static_cast<char>(kExtendedFolder));
        for (char c : folder)
            f.push_back(IsSeparator(c) ? static_cast<char>(0xFF) : c);
        parts.push_back(f);
    }
    std::string ext;
    auto appendSize = [&ext](size_t size) {
        ext.push_back(static_cast<char>(size & 0xFF));
        ext.push_back(static_cast<char>(size >> 8));
    };
    appendSize(parts.empty() ? 0 : parts[0].size() + 2);
    for (size_t i = 0; i < parts.size(); ++i) {
        ext += parts[i];
        appendSize(i + 1 < parts.size() ? parts[i + 1].size() + 2 : 0);
    }
    return ext;
}

std::string BuildHeaderBytes(const LhaMemberHeader& header) {
    std::string folder, base;
    if (header.level == 1)
        SplitPath(header.name, folder, base);
    else
        base = header.name;
    // The size byte holds 22 (level 1: 25) plus the name; a folder header's size is 16 bits.
    const size_t limit = header.level == 1 ? 230 : 233;
    if (base.size() > limit || folder.size() + 3 > 0xFFFF)
        throw ECompLHAInvalidHeader("Name too long for an archive header: " + PrintableName(header.name));
    const std::string ext = header.level == 1 ? ExtendedHeaders(header, folder) : std::string();
    if (header.packedSize > LargestDataSize(header))
        throw EInOutError("File too large for an archive member: " + PrintableName(header.name));

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
std::string FileNameText(const std::vector<uint8_t>& block, size_t length) {
    std::string text(reinterpret_cast<const char*>(block.data()) + 1, length);
    if (size_t nul = text.find('\0'); nul != std::string::npos)
        text.resize(nul);
    return text;
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
        if (type == kExtendedFileName) {
            fileName = FileNameText(block, dataLength);
        } else if (type == kExtendedFolder) {
            folder.clear();
            for (size_t i = 0; i < dataLength; ++i)
                folder.push_back(block[1 + i] == 0xFF ? '\\' : static_cast<char>(block[1 + i]));
            if (!folder.empty() && !IsSeparator(folder.back()))
                folder.push_back('\\');
        } else if (type == kExtendedAttribute && dataLength >= 1) {
            header.attribute = block[1];
        }
        size = le::read16(block.data() + size - 2);
    }
    return total;
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
    if (header.osId != 'M' && header.osId != 'U') {
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
        throw EWriteError("Write error");
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
    if (level > 1)
        throw ECompLHAInvalidHeaderLevel("Unsupported header level in archive: " + std::to_string(levelByte));
    const size_t n = fixed.nameLength;
    if (!ReadExactly(in, head + kBaseHeaderBytes, n + 2))
        return false;

    header = LhaMemberHeader{};
    header.level = static_cast<uint8_t>(level);
    header.scrambled = (levelByte & 0x80) != 0;
    header.packedSize = le::read32(fixed.packedSize);
    header.originalSize = le::read32(fixed.originalSize);
    header.time = le::read16(fixed.time);
    header.date = le::read16(fixed.date);
    header.attribute = fixed.attribute;
    header.crc = le::read16(head + kBaseHeaderBytes + n);
    std::string base(reinterpret_cast<const char*>(head + kBaseHeaderBytes), n);
    // Some writers put a comment after a NUL inside the name.
    if (size_t nul = base.find('\0'); nul != std::string::npos)
        base.resize(nul);
    std::string folder, fileName;
    if (level == 0) {
        if (!ReadLevelZeroRest(in, head, fixed))
            return false;
    } else {
        ReadLevelOneRest(in, head, fixed, header, folder, fileName);
    }
    header.name = folder + (fileName.empty() ? base : fileName);
    header.method = MethodOf(fixed.method);
    return true;
}

} // namespace verasco::archive
