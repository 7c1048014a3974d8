// The LHA members that follow the head in a package: checked whole before anything is written,
// expanded into a folder with the archive engine, and the player among them found by name.
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

// The names of the members of `package` from byte `start` on. Every header must be sound, every
// member's data must lie inside the file and the last member must end exactly at its end.
std::vector<std::string> ListMembers(const std::string& package, uint64_t start);

// Expands every member into `folder`. `stop` is asked between blocks of data; when it says yes,
// the expansion ends early and quietly.
void ExpandMembers(const std::string& package, uint64_t start, const std::string& folder,
                   const std::function<bool()>& stop);

// The member that holds the player: the one named like the package (upper-cased, as stored),
// else the only one with the package's extension (a package renamed after it was made).
std::string PlayerMember(const std::vector<std::string>& members, const std::string& packageFileName);

} // namespace verasco::head
