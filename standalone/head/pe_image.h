// SPDX-License-Identifier: MIT
// Where the program image of a PE file (a Windows program) ends: past its headers and the raw data
// of its sections. The head of a Windows package is such a program followed by the LHA members, so
// the first member starts there.
#pragma once

#include <cstdint>
#include <optional>

namespace verasco::head {

// The end of the PE image of a file of `fileSize` bytes, from its first `available` bytes at `bytes`
// (its first 64 KiB, or all of a shorter file, hold every header of a PE file); nothing when the
// bytes are no PE file or its tables lie outside the file.
std::optional<uint64_t> PeImageEnd(const unsigned char* bytes, uint64_t available, uint64_t fileSize);

} // namespace verasco::head
