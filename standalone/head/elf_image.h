// SPDX-License-Identifier: MIT
// Where the program image of a little-endian ELF file ends: past its headers, its program
// segments and its sections. A stand-alone package is the head program followed by the LHA
// members, so the first member starts there.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>

namespace verasco::head {

// The end of the ELF image at the start of `in`, a file of `fileSize` bytes; nothing when the
// bytes are no little-endian ELF file or its tables lie outside the file.
std::optional<uint64_t> ElfImageEnd(std::istream& in, uint64_t fileSize);

} // namespace verasco::head
