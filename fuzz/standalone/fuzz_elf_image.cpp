// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes to the head's reader of its own program image: it must never read outside
// the file nor report an end beyond it.

#include "elf_image.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    const auto end = verasco::head::ElfImageEnd(in, size);
    if (end && *end > size)
        std::abort();
    return 0;
}
