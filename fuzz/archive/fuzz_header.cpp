// SPDX-License-Identifier: MIT
// Reads every member header of the input as an archive would be read, skipping each member's data.
#include "lha_header.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <stdexcept>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace verasco::archive;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    LhaMemberHeader header;
    try {
        while (ReadMemberHeader(in, header)) {
            const uint64_t next = static_cast<uint64_t>(in.tellg()) + header.packedSize;
            if (next >= size)
                break; // the member's data runs to the end or is cut short
            in.seekg(static_cast<std::streamoff>(next));
        }
    } catch (const std::runtime_error&) {
        // Refusals of damaged headers are expected.
    }
    return 0;
}
