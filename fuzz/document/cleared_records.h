// SPDX-License-Identifier: MIT
#pragma once
// The bytes a writer of slide records gives back for records it has read: the same bytes, but zeros
// behind the characters of each short string, where a file may carry stray bytes.

#include "slide_record.h"

#include <cstddef>
#include <cstring>
#include <string>

inline std::string clearedRecords(const char* records, std::size_t count) {
    std::string out(records, count * sizeof(TSlideRecord));
    const std::size_t fields[][2] = {{offsetof(TSlideRecord, ImageFile), 255},
                                     {offsetof(TSlideRecord, AudioFile), 255},
                                     {offsetof(TSlideRecord, FontName), 32},
                                     {offsetof(TSlideRecord, Text), 255}};
    for (std::size_t r = 0; r < count; ++r) {
        char* record = out.data() + r * sizeof(TSlideRecord);
        for (const auto& [offset, capacity] : fields) {
            const std::size_t length = static_cast<unsigned char>(record[offset]);
            if (length < capacity)
                std::memset(record + offset + 1 + length, 0, capacity - length);
        }
    }
    return out;
}
