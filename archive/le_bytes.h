// SPDX-License-Identifier: MIT
// Little-endian reading and writing of fixed-size fields: the archive's headers and the picture
// files' headers alike. Standard C++ only, for any container of bytes that can be indexed or
// appended to (a pointer, std::vector, std::string, QByteArray, QByteArrayView).
#pragma once

#include <cstdint>

namespace le {

template <class Bytes, class Index> uint16_t read16(const Bytes& b, Index at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

template <class Bytes, class Index> uint32_t read32(const Bytes& b, Index at) {
    return static_cast<uint32_t>(read16(b, at)) | static_cast<uint32_t>(read16(b, at + 2)) << 16;
}

inline uint16_t read16(const uint8_t* p) {
    return read16(p, 0);
}

inline uint32_t read32(const uint8_t* p) {
    return read32(p, 0);
}

inline void write16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

inline void write32(uint8_t* p, uint32_t v) {
    write16(p, static_cast<uint16_t>(v));
    write16(p + 2, static_cast<uint16_t>(v >> 16));
}

template <class Out> void append16(Out& out, uint16_t v) {
    out.push_back(static_cast<char>(v & 0xff));
    out.push_back(static_cast<char>(v >> 8));
}

template <class Out> void append32(Out& out, uint32_t v) {
    append16(out, static_cast<uint16_t>(v & 0xffff));
    append16(out, static_cast<uint16_t>(v >> 16));
}

} // namespace le
