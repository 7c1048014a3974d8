// SPDX-License-Identifier: MIT
#include "file_mask.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>

namespace fs = std::filesystem;

namespace verasco::archive {
namespace {

bool MatchPart(const std::u32string& name, const std::u32string& mask) {
    for (size_t i = 0; i < mask.size(); ++i) {
        if (mask[i] == U'*')
            return true;
        if (i >= name.size())
            return false;
        if (mask[i] != U'?' && mask[i] != name[i])
            return false;
    }
    return name.size() == mask.size();
}

} // namespace

bool MatchesMask(const std::string& name, const std::string& mask) {
    const std::u32string n = NameCharacters(LowerCaseName(name)), m = NameCharacters(LowerCaseName(mask));
    const size_t nd = n.find(U'.'), md = m.find(U'.');
    const std::u32string nBase = n.substr(0, nd), nExt = nd == std::u32string::npos ? U"" : n.substr(nd + 1);
    const std::u32string mBase = m.substr(0, md), mExt = md == std::u32string::npos ? U"*" : m.substr(md + 1);
    return MatchPart(nBase, mBase) && MatchPart(nExt, mExt);
}

bool HasSubfolderSuffix(const std::string& mask) {
    return mask.size() >= 3 && EqualsIgnoreCase(mask.substr(mask.size() - 2), "/S");
}

int FileAttribute(const std::string& path) {
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (ec)
        return -1;
    if (fs::is_directory(st))
        return 0x10;
    int attribute = fs::is_regular_file(st) ? 0x20 : 0x04;
    if ((st.permissions() & fs::perms::owner_write) == fs::perms::none)
        attribute |= 0x01;
    return attribute;
}

uint32_t DosDateTimeOf(std::time_t t) {
    std::tm local{};
    if (const std::tm* p = std::localtime(&t))
        local = *p;
    int year = local.tm_year + 1900;
    if (year < 1980)
        return (0u << 9 | 1u << 5 | 1u) << 16; // 1980-01-01, the earliest date the format holds
    if (year > 2107)
        year = 2107;
    const uint32_t date =
        static_cast<uint32_t>(((year - 1980) << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
    const uint32_t time =
        static_cast<uint32_t>((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2));
    return date << 16 | time;
}

std::time_t TimeOfDosDateTime(uint16_t date, uint16_t time) {
    std::tm local{};
    local.tm_year = (date >> 9) + 80;
    local.tm_mon = ((date >> 5) & 15) - 1;
    local.tm_mday = date & 31;
    local.tm_hour = time >> 11;
    local.tm_min = (time >> 5) & 63;
    local.tm_sec = (time & 31) * 2;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

uint32_t FileDosDateTime(const std::string& path) {
    std::error_code ec;
    const auto written = fs::last_write_time(path, ec);
    if (ec)
        return 0;
    const auto sys = std::chrono::file_clock::to_sys(written);
    return DosDateTimeOf(std::chrono::system_clock::to_time_t(sys));
}

void SetFileDosDateTime(const std::string& path, uint16_t date, uint16_t time) {
    const std::time_t t = TimeOfDosDateTime(date, time);
    if (t == static_cast<std::time_t>(-1))
        return;
    const auto sys = std::chrono::system_clock::from_time_t(t);
    std::error_code ec;
    fs::last_write_time(path, std::chrono::file_clock::from_sys(sys), ec);
}

void FindMatchingFiles(std::vector<std::string>& list, std::string folder, bool includeAll,
                       std::string mask) {
    list.clear();
    if (!folder.empty() && !IsSeparator(folder.back()))
        folder.push_back('/');
    bool recursive = false;
    if (HasSubfolderSuffix(mask)) {
        recursive = true;
        mask.resize(mask.size() - 2);
    }
    std::error_code ec;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : fs::path(folder), ec);
    if (ec)
        return;
    // Links to folders are not searched: a link back up would list the same files without end.
    std::vector<std::pair<std::string, bool>> entries; // name, is a link
    for (const auto& entry : it)
        entries.emplace_back(entry.path().filename().string(), entry.is_symlink(ec));
    std::sort(entries.begin(), entries.end());
    for (const auto& [name, link] : entries) {
        if (name.empty() || name[0] == '.')
            continue;
        const std::string full = folder + name;
        const int attribute = FileAttribute(full);
        if (recursive && attribute == 0x10 && !link) {
            std::vector<std::string> inner;
            FindMatchingFiles(inner, full, includeAll, mask + "/S");
            list.insert(list.end(), inner.begin(), inner.end());
        }
        if (MatchesMask(name, mask) && (includeAll || attribute == 128 || attribute == 32 || attribute <= 0))
            list.push_back(full);
    }
}

} // namespace verasco::archive
