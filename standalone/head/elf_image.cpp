// SPDX-License-Identifier: MIT
#include "elf_image.h"

#include <algorithm>
#include <array>
#include <istream>
#include <vector>

namespace verasco::head {
namespace {

constexpr int kClass32 = 1;
constexpr int kClass64 = 2;
constexpr int kLittleEndian = 1;
constexpr uint32_t kNoBitsSection = 8; // occupies no bytes in the file

uint64_t ReadLe(const uint8_t* p, int bytes) {
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

// Field offsets and sizes of the two ELF classes.
struct Layout {
    int word; // size of an address or offset
    int phoff, shoff, phentsize, phnum, shentsize, shnum;
    int pOffset, pFilesz;         // in a program header
    int shType, shOffset, shSize; // in a section header
    int minPhent, minShent;       // smallest entries that hold those fields
};
constexpr Layout kLayout32{4, 28, 32, 42, 44, 46, 48, 4, 16, 4, 16, 20, 32, 40};
constexpr Layout kLayout64{8, 32, 40, 54, 56, 58, 60, 8, 32, 4, 24, 32, 56, 64};

bool ReadAt(std::istream& in, uint64_t offset, uint8_t* out, size_t n, uint64_t fileSize) {
    if (offset > fileSize || n > fileSize - offset)
        return false;
    in.clear();
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(n));
    return static_cast<size_t>(in.gcount()) == n;
}

// The end of a table of `count` entries of `size` bytes at `offset`, visiting each entry.
template <class Visit>
std::optional<uint64_t> WalkTable(std::istream& in, uint64_t fileSize, uint64_t offset, uint64_t size,
                                  uint64_t count, Visit visit) {
    if (count == 0)
        return 0;
    if (count > fileSize || size > fileSize || offset > fileSize || count * size > fileSize - offset)
        return std::nullopt;
    std::vector<uint8_t> entry(size);
    for (uint64_t i = 0; i < count; ++i) {
        if (!ReadAt(in, offset + i * size, entry.data(), entry.size(), fileSize) || !visit(entry.data()))
            return std::nullopt;
    }
    return offset + count * size;
}

} // namespace

std::optional<uint64_t> ElfImageEnd(std::istream& in, uint64_t fileSize) {
    std::array<uint8_t, 64> h{};
    if (!ReadAt(in, 0, h.data(), 16, fileSize) || h[0] != 0x7F || h[1] != 'E' || h[2] != 'L' || h[3] != 'F' ||
        h[5] != kLittleEndian || (h[4] != kClass32 && h[4] != kClass64))
        return std::nullopt;
    const Layout& l = h[4] == kClass64 ? kLayout64 : kLayout32;
    const uint64_t headerSize = h[4] == kClass64 ? 64 : 52;
    if (!ReadAt(in, 0, h.data(), headerSize, fileSize))
        return std::nullopt;
    const uint64_t phentsize = ReadLe(&h[l.phentsize], 2), shentsize = ReadLe(&h[l.shentsize], 2);
    const uint64_t phnum = ReadLe(&h[l.phnum], 2), shnum = ReadLe(&h[l.shnum], 2);
    if ((phnum > 0 && phentsize < uint64_t(l.minPhent)) || (shnum > 0 && shentsize < uint64_t(l.minShent)))
        return std::nullopt;

    uint64_t end = headerSize;
    auto reach = [&end, fileSize](uint64_t offset, uint64_t size) {
        if (offset > fileSize || size > fileSize - offset)
            return false;
        end = std::max(end, offset + size);
        return true;
    };
    const auto programs =
        WalkTable(in, fileSize, ReadLe(&h[l.phoff], l.word), phentsize, phnum, [&](const uint8_t* p) {
            return reach(ReadLe(p + l.pOffset, l.word), ReadLe(p + l.pFilesz, l.word));
        });
    const auto sections =
        WalkTable(in, fileSize, ReadLe(&h[l.shoff], l.word), shentsize, shnum, [&](const uint8_t* s) {
            if (ReadLe(s + l.shType, 4) == kNoBitsSection)
                return true;
            return reach(ReadLe(s + l.shOffset, l.word), ReadLe(s + l.shSize, l.word));
        });
    if (!programs || !sections)
        return std::nullopt;
    return std::max({end, *programs, *sections});
}

} // namespace verasco::head
