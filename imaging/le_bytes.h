// Little-endian reading and writing of the fixed-size fields in the image file headers.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>

namespace imaging {

inline uint16_t readLe16(QByteArrayView b, qsizetype at) {
    return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8);
}

inline uint32_t readLe32(QByteArrayView b, qsizetype at) {
    return uint32_t(readLe16(b, at)) | uint32_t(readLe16(b, at + 2)) << 16;
}

inline void appendLe16(QByteArray& out, uint16_t v) {
    out.append(char(v & 0xff));
    out.append(char(v >> 8));
}

inline void appendLe32(QByteArray& out, uint32_t v) {
    appendLe16(out, uint16_t(v & 0xffff));
    appendLe16(out, uint16_t(v >> 16));
}

} // namespace imaging
