// SPDX-License-Identifier: MIT
#pragma once
// 16- and 32-bit numbers as stored files hold them, in either byte order. Plain C++, header only.

#include <cstdint>

namespace ShowRules {

inline unsigned read16(const unsigned char* p, bool little) {
    return little ? p[0] | p[1] << 8 : p[0] << 8 | p[1];
}

inline std::uint32_t read32(const unsigned char* p, bool little) {
    return little ? read16(p, true) | std::uint32_t(read16(p + 2, true)) << 16
                  : std::uint32_t(read16(p, false)) << 16 | read16(p + 2, false);
}

} // namespace ShowRules
