// SPDX-License-Identifier: MIT
#include "pe_image.h"

#include <algorithm>

namespace verasco::head {
namespace {

constexpr uint64_t kDosHeaderSize = 64;
constexpr uint64_t kFileHeaderSize = 24; // the signature "PE\0\0" and the COFF header
constexpr uint64_t kSectionSize = 40;

uint64_t Le(const unsigned char* p, int bytes) {
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

} // namespace

std::optional<uint64_t> PeImageEnd(const unsigned char* b, uint64_t available, uint64_t fileSize) {
    available = std::min(available, fileSize);
    if (available < kDosHeaderSize || b[0] != 'M' || b[1] != 'Z')
        return std::nullopt;
    const uint64_t pe = Le(b + 60, 4);
    if (pe > available || available - pe < kFileHeaderSize || Le(b + pe, 4) != 0x4550)
        return std::nullopt;
    const uint64_t sections = Le(b + pe + 6, 2), optionalSize = Le(b + pe + 20, 2);
    const uint64_t table = pe + kFileHeaderSize + optionalSize;
    if (table > available || sections * kSectionSize > available - table)
        return std::nullopt;
    uint64_t end = table + sections * kSectionSize;
    for (uint64_t i = 0; i < sections; ++i) {
        const unsigned char* s = b + table + i * kSectionSize;
        const uint64_t rawSize = Le(s + 16, 4), rawStart = Le(s + 20, 4);
        if (rawSize == 0)
            continue;
        if (rawStart > fileSize || rawSize > fileSize - rawStart)
            return std::nullopt;
        end = std::max(end, rawStart + rawSize);
    }
    return end;
}

} // namespace verasco::head
