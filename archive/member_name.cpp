#include "member_name.h"

#include <filesystem>

namespace verasco::archive {

namespace {

constexpr char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);

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
    std::string out = name;
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string LowerCaseName(const std::string& name) {
    std::string out = name;
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
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
    name = DropDrive(name);
    for (char& c : name)
        if (c == '/')
            c = '\\';
    if (options.upperCase)
        name = UpperCaseName(name);
    return name;
}

bool IsUnsafeMemberName(const std::string& name) {
    if (name.empty() || IsSeparator(name[0]) || (name.size() >= 2 && name[1] == ':'))
        return true;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("/\\", start);
        if (end == std::string::npos)
            end = name.size();
        if (name.compare(start, end - start, "..") == 0 && end - start == 2)
            return true;
        start = end + 1;
    }
    return false;
}

} // namespace verasco::archive
