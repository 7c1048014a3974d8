// SPDX-License-Identifier: MIT
// The LHA members that follow the head in a package: checked whole before anything is written, and
// expanded into a folder with the archive engine's codec.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace verasco::head {

// A package that cannot be used, with what is wrong in words.
class PackageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct PackageMembers {
    // In package order. The export writes the player first, whatever the package is called now.
    std::vector<std::string> names;
    uint64_t expandedSize = 0; // bytes the members take once expanded
};

// The members of `package` from byte `start` on. Every header must be sound, every name a plain
// file name stored once (in any letter case), every member's data inside the file, and the last
// member must end exactly at its end.
PackageMembers ListMembers(const std::string& package, uint64_t start);

// Expands every member into `folder`, checking each one's size and CRC. `stop` is asked between
// blocks of data; when it says yes, the expansion ends early and quietly. A file that cannot be
// written is reported with the folder and the space the show needs.
void ExpandMembers(const std::string& package, uint64_t start, const std::string& folder,
                   uint64_t expandedSize, const std::function<bool()>& stop);

} // namespace verasco::head
