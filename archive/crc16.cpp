// SPDX-License-Identifier: MIT
#include "crc16.h"

#include <array>
#include <cstring>

namespace verasco::archive {
namespace {

// Eight tables so that the data can be taken eight bytes per step; table 0 is the classic one.
struct Crc16Tables {
    std::array<std::array<uint16_t, 256>, 8> t{};
    Crc16Tables() {
        for (unsigned i = 0; i < 256; ++i) {
            unsigned c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? (c >> 1) ^ 0xA001u : c >> 1;
            t[0][i] = static_cast<uint16_t>(c);
        }
        for (unsigned i = 0; i < 256; ++i)
            for (int k = 1; k < 8; ++k)
                t[k][i] = static_cast<uint16_t>(t[0][t[k - 1][i] & 0xFF] ^ (t[k - 1][i] >> 8));
    }
};

const Crc16Tables& Tables() {
    static const Crc16Tables tables;
    return tables;
}

} // namespace

const uint16_t* Crc16Table() {
    return Tables().t[0].data();
}

uint16_t UpdateCrc16(uint16_t crc, const uint8_t* data, size_t length) {
    const auto& t = Tables().t;
    while (length >= 8) {
        const unsigned b0 = (data[0] ^ crc) & 0xFF;
        const unsigned b1 = (data[1] ^ (crc >> 8)) & 0xFF;
        crc = static_cast<uint16_t>(t[7][b0] ^ t[6][b1] ^ t[5][data[2]] ^ t[4][data[3]] ^ t[3][data[4]] ^
                                    t[2][data[5]] ^ t[1][data[6]] ^ t[0][data[7]]);
        data += 8;
        length -= 8;
    }
    while (length--)
        crc = static_cast<uint16_t>(t[0][(crc ^ *data++) & 0xFF] ^ (crc >> 8));
    return crc;
}

} // namespace verasco::archive
