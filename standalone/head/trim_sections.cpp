// SPDX-License-Identifier: MIT
// Cuts the section headers, and the sections that no segment loads, off the end of a 64-bit
// little-endian ELF program. The loader reads only the program headers; LHA readers look for the
// first member of a package within its first 64 KiB, so every byte the head does without leaves
// that much room for the archive engine inside it. Run on the head after it is linked.
//
// Then the name of the program interpreter is copied to the very end, and the interpreter header
// points there. The system reads that name before it commits to starting the program, so a
// package cut anywhere inside its head is refused at once ("Input/output error") instead of being
// started with code or data missing and crashing. The loader itself takes the name from memory,
// where the first copy stays.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

uint64_t Get(const std::vector<unsigned char>& b, size_t at, int bytes) {
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | b[at + size_t(i)];
    return v;
}

void Set(std::vector<unsigned char>& b, size_t at, int bytes, uint64_t value) {
    for (int i = 0; i < bytes; ++i)
        b[at + size_t(i)] = static_cast<unsigned char>(value >> (8 * i));
}

constexpr uint64_t kInterpreter = 3; // PT_INTERP

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PROGRAM\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (b.size() < 64 || b[0] != 0x7F || b[1] != 'E' || b[2] != 'L' || b[3] != 'F' || b[4] != 2 ||
        b[5] != 1) {
        std::fprintf(stderr, "%s: not a 64-bit little-endian ELF program\n", argv[1]);
        return 1;
    }
    const uint64_t phoff = Get(b, 32, 8), phentsize = Get(b, 54, 2), phnum = Get(b, 56, 2);
    if (phentsize < 56 || phoff > b.size() || phnum * phentsize > b.size() - phoff) {
        std::fprintf(stderr, "%s: damaged program headers\n", argv[1]);
        return 1;
    }
    uint64_t end = phoff + phnum * phentsize;
    for (uint64_t i = 0; i < phnum; ++i) {
        const size_t at = size_t(phoff + i * phentsize);
        end = std::max(end, Get(b, at + 8, 8) + Get(b, at + 32, 8)); // offset + size in the file
    }
    if (end > b.size()) {
        std::fprintf(stderr, "%s: a segment runs past the end of the file\n", argv[1]);
        return 1;
    }
    Set(b, 40, 8, 0); // e_shoff
    Set(b, 60, 2, 0); // e_shnum
    Set(b, 62, 2, 0); // e_shstrndx
    b.resize(size_t(end));
    for (uint64_t i = 0; i < phnum; ++i) {
        const size_t at = size_t(phoff + i * phentsize);
        if (Get(b, at, 4) != kInterpreter)
            continue;
        const size_t from = size_t(Get(b, at + 8, 8)), size = size_t(Get(b, at + 32, 8));
        const std::vector<unsigned char> name(b.begin() + std::ptrdiff_t(from),
                                              b.begin() + std::ptrdiff_t(from + size));
        Set(b, at + 8, 8, b.size());
        b.insert(b.end(), name.begin(), name.end());
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
    return out ? 0 : 1;
}
