// SPDX-License-Identifier: MIT
#pragma once
// The names of a package's members: a file is stored under its name with its letters upper-cased
// (the archive's rule for level-0 headers), and the heads and the players find a member again by
// any spelling whose letters upper-case alike. Names are UTF-8; each letter changes case by
// Unicode's simple mapping, one character for one ("é" to "É", "ß" stays "ß"), as the C library's
// own tables have it, whatever the system's locale; bytes that are no UTF-8 stay as they are.
// Plain C++; comparing names allocates nothing, so that the Windows head compares them too.

#include <string>
#include <string_view>

namespace MemberNames {

// The letter `c` is stored as.
char32_t storedLetter(char32_t c);

// The character of `name` at `at`, moving `at` past it: a well-formed UTF-8 sequence as its code
// point, any other byte b on its own as 0xDC00 + b, which no letter is stored as or stored from.
char32_t readCharacter(std::string_view name, std::size_t& at);
// Writes the character as readCharacter() read it into `bytes`; its length.
std::size_t writeCharacter(char32_t c, char (&bytes)[4]);

// The name a file named `name` is stored under. (Inline, so that a program that only compares names
// carries no string code.)
inline std::string stored(std::string_view name) {
    std::string out;
    char bytes[4];
    for (std::size_t at = 0; at < name.size();)
        out.append(bytes, writeCharacter(storedLetter(readCharacter(name, at)), bytes));
    return out;
}

// Whether the two names are stored alike: expanded into one folder, one would take the other's
// place, and a player asking for one finds the other.
bool same(std::string_view a, std::string_view b);

} // namespace MemberNames
