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
    uint64_t pos = 0;
    LhaMemberHeader header;
    try {
        while (ReadMemberHeader(in, header, size - pos)) {
            pos = static_cast<uint64_t>(in.tellg()) + header.packedSize;
            if (pos > size)
                __builtin_trap(); // the reader promised the data is there
            in.seekg(static_cast<std::streamoff>(pos));
        }
    } catch (const std::runtime_error&) {
        // Refusals of damaged headers are expected.
    }
    return 0;
}
