// SPDX-License-Identifier: MIT
#include "jpeg_scans.h"

namespace imaging {
namespace {

bool withoutLength(unsigned char marker) {
    return marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

} // namespace

int countJpegScans(const unsigned char* data, std::size_t size) {
    int scans = 0;
    std::size_t at = 2;
    while (at + 1 < size) {
        // Outside marker segments a 0xFF byte is a marker only when a marker code follows: in
        // entropy-coded data it is stuffed with a zero, and fill bytes repeat it.
        const unsigned char marker = data[at + 1];
        if (data[at] != 0xFF || marker == 0x00 || marker == 0xFF) {
            ++at;
            continue;
        }
        if (marker == 0xD9)
            break;
        if (withoutLength(marker)) {
            at += 2;
            continue;
        }
        if (marker == 0xDA)
            ++scans;
        if (at + 3 >= size)
            break;
        at += 2 + ((std::size_t(data[at + 2]) << 8) | data[at + 3]);
    }
    return scans;
}

} // namespace imaging
