// SPDX-License-Identifier: MIT
#pragma once
// Slide lists laid out by hand from the field offsets of the format, independent of the program's
// own writer and reader.

#include <cstdint>
#include <string>

namespace slide_list_bytes {

inline void putInt32(std::string& bytes, std::size_t offset, std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>((u >> (8 * i)) & 0xFF);
}

inline std::int32_t getInt32(const std::string& bytes, std::size_t offset) {
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= std::uint32_t(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
    return static_cast<std::int32_t>(u);
}

inline std::string header(std::int32_t count, const std::string& field1 = {}, const std::string& field2 = {},
                          std::int32_t recordSize = 824, const std::string& signature = "MORVANT rev1.01") {
    std::string h = signature;
    h += field1 + std::string(64 - field1.size(), ' ');
    h += field2 + std::string(64 - field2.size(), ' ');
    h.resize(151);
    putInt32(h, 143, count);
    putInt32(h, 147, recordSize);
    return h;
}

inline std::string shortStringAt(const std::string& record, std::size_t offset) {
    return record.substr(offset + 1, static_cast<unsigned char>(record[offset]));
}

// One record with the fields the tests look at.
struct Record {
    std::string bytes = std::string(824, '\0');

    Record& shortString(std::size_t offset, const std::string& text) {
        bytes[offset] = static_cast<char>(text.size());
        bytes.replace(offset + 1, text.size(), text);
        return *this;
    }
    Record& byte(std::size_t offset, std::uint8_t value) {
        bytes[offset] = static_cast<char>(value);
        return *this;
    }
    Record& int32(std::size_t offset, std::int32_t value) {
        putInt32(bytes, offset, value);
        return *this;
    }
    Record& image(const std::string& text) { return shortString(2, text); }
    Record& audio(const std::string& text) { return shortString(258, text); }
};

} // namespace slide_list_bytes
