// SPDX-License-Identifier: MIT
#include "member_name.h"

#include "member_names.h"

#include <cstdio>
#include <filesystem>
#include <limits>
#include <locale>
#include <stdexcept>

namespace verasco::archive {

namespace {

constexpr char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);

// Reads one well-formed UTF-8 sequence at `i` into `c` and moves `i` past it; false (and `i` left
// alone) for a byte that does not start one.
bool DecodeUtf8(const std::string& s, size_t& i, char32_t& c) {
    const auto byte = [&s](size_t at) { return at < s.size() ? static_cast<unsigned char>(s[at]) : 0u; };
    const unsigned lead = byte(i);
    const size_t length = lead < 0x80                   ? 1
                          : lead >= 0xC2 && lead < 0xE0 ? 2
                          : lead >= 0xE0 && lead < 0xF0 ? 3
                          : lead >= 0xF0 && lead < 0xF5 ? 4
                                                        : 0;
    if (length == 0 || i + length > s.size())
        return false;
    char32_t value = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return false;
        value = value << 6 | (byte(i + k) & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value < 0xE000))
        return false;
    c = value;
    i += length;
    return true;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | c >> 6));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | c >> 12));
        out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | c >> 18));
        out.push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// The C library's Unicode case tables, through a UTF-8 locale when the system has one (names are
// UTF-8 whatever the user's own locale is).
const std::ctype<wchar_t>& UnicodeCase() {
    static const std::locale locale = [] {
        for (const char* name : {"C.UTF-8", "C.utf8", ""}) {
            try {
                return std::locale(name);
            } catch (const std::runtime_error&) {
            }
        }
        return std::locale::classic();
    }();
    return std::use_facet<std::ctype<wchar_t>>(locale);
}

} // namespace

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

void SplitPath(const std::string& path, std::string& folder, std::string& name) {
    const size_t cut = path.find_last_of("/\\");
    folder = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
    name = cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string FolderOf(const std::string& path) {
    std::string folder, name;
    SplitPath(path, folder, name);
    return folder;
}

std::string WithTrailingSeparator(const std::string& path) {
    if (path.empty() || IsSeparator(path.back()))
        return path;
    return path + kSeparator;
}

std::string PlatformName(const std::string& name) {
    std::string out = name;
    for (char& c : out)
        if (IsSeparator(c))
            c = kSeparator;
    return out;
}

std::string UpperCaseName(const std::string& name) {
    return MemberNames::stored(name);
}

std::string LowerCaseName(const std::string& name) {
    const std::ctype<wchar_t>& letters = UnicodeCase();
    std::string out;
    out.reserve(name.size());
    size_t i = 0;
    while (i < name.size()) {
        char32_t c = 0;
        if (!DecodeUtf8(name, i, c)) {
            out.push_back(name[i++]);
        } else if (c < 0x80) {
            // ASCII by its own rules, whatever the locale says of "I".
            out.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c));
        } else if (c > static_cast<char32_t>(std::numeric_limits<wchar_t>::max())) {
            AppendUtf8(out, c);
        } else {
            AppendUtf8(out, static_cast<char32_t>(letters.tolower(static_cast<wchar_t>(c))));
        }
    }
    return out;
}

std::u32string NameCharacters(const std::string& name) {
    std::u32string out;
    size_t i = 0;
    while (i < name.size()) {
        char32_t c = 0;
        if (!DecodeUtf8(name, i, c))
            c = 0xDC00 + static_cast<unsigned char>(name[i++]);
        out.push_back(c);
    }
    return out;
}

bool EqualsIgnoreCase(const std::string& a, const std::string& b) {
    return LowerCaseName(a) == LowerCaseName(b);
}

std::string DropDrive(const std::string& name) {
    if (name.size() >= 2 && name[1] == ':' &&
        ((name[0] >= 'a' && name[0] <= 'z') || (name[0] >= 'A' && name[0] <= 'Z')))
        return name.substr(2);
    return name;
}

std::string DropSystemDrive(const std::string& name) {
    return kPathsHaveDrives ? DropDrive(name) : name;
}

std::string BuildStoredName(const std::string& filePath, const StoredNameOptions& options) {
    std::string name = filePath;
    if (options.storePath) {
        const std::string& t = options.targetPath;
        if (!t.empty() && name.size() >= t.size() && EqualsIgnoreCase(name.substr(0, t.size()), t))
            name = name.substr(t.size());
    } else {
        std::string folder;
        SplitPath(filePath, folder, name);
    }
    name = DropSystemDrive(name);
    for (char& c : name)
        if (c == '/')
            c = '\\';
    if (options.upperCase)
        name = UpperCaseName(name);
    return name;
}

bool ExpansionName(const std::string& stored, char osId, std::string& name) {
    name = stored;
    for (;;) {
        const size_t separators = name.find_first_not_of("/\\");
        name.erase(0, separators == std::string::npos ? name.size() : separators);
        const std::string withoutDrive = osId == 'U' ? name : DropDrive(name);
        if (withoutDrive == name)
            break;
        name = withoutDrive;
    }
    size_t start = 0;
    while (start < name.size()) {
        size_t end = name.find_first_of("/\\", start);
        if (end == std::string::npos)
            end = name.size();
        if (end - start == 2 && name.compare(start, 2, "..") == 0)
            return false;
        start = end + 1;
    }
    return !name.empty();
}

std::string PrintableName(const std::string& name) {
    std::string out;
    size_t i = 0;
    while (i < name.size()) {
        size_t next = i;
        char32_t c = 0;
        if (DecodeUtf8(name, next, c) && c >= 0x20 && !(c >= 0x7F && c < 0xA0)) {
            out.append(name, i, next - i);
            i = next;
            continue;
        }
        for (const size_t end = next > i ? next : i + 1; i < end; ++i) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(name[i]));
            out += escaped;
        }
    }
    return out;
}

} // namespace verasco::archive
