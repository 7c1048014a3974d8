// SPDX-License-Identifier: MIT
// The members of a package as the Windows head reads them: level-0 headers and "-lh5-" (or stored
// "-lh0-") data, as the export writes them, read and expanded without C++ exceptions or streams.
// The head must stay within the first 64 KiB of the package, where LHA readers look for the first
// member, and a program for Windows linked statically carries the C++ library's exception and stream
// support whole (some 900 KiB); so the head reads members with this plain decoder of the same
// format instead of the archive engine. Plain C++, also built and tested on Linux against the
// engine and lhasa.
#pragma once

#include <cstdint>
#include <cstdio>

namespace verasco::head {

struct LeanMember {
    char name[256] = {}; // a plain file name, zero-terminated
    bool stored = false; // "-lh0-" rather than "-lh5-"
    uint32_t packed = 0;
    uint32_t original = 0;
    uint16_t crc = 0;
    uint64_t data = 0; // where its packed data starts
    uint64_t next = 0; // where the next header starts
};

enum class LeanRead { Member, End, Damaged };

// Reads the header at `offset` of `file` (`fileSize` bytes long). End exactly at the end of the
// file; Damaged, with what is wrong in `why`, for a header that is cut short, fails its checksum, is
// of another level or method, names anything but a plain file, or whose data runs past the end.
LeanRead ReadLeanMember(std::FILE* file, uint64_t offset, uint64_t fileSize, LeanMember& member,
                        const char*& why);

// Whether `member` is named like one of the `count` members before it, in any letter case (by the
// rule of MemberNames::same): expanded, it would take that one's place.
bool RepeatsAName(const LeanMember* before, int count, const LeanMember& member);

// Where expanded bytes go: `write` is given them piece by piece, in order, and says whether a piece
// was written whole.
struct LeanSink {
    bool (*write)(void* to, const unsigned char* bytes, size_t size);
    void* to;
};

// Expands the member's data into `out`, checking its size and CRC. False, with what is wrong in
// `why`.
bool ExpandLeanMember(std::FILE* file, const LeanMember& member, LeanSink out, const char*& why);

} // namespace verasco::head
