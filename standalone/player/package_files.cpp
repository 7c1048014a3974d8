// SPDX-License-Identifier: MIT
#include "package_files.h"

#include "member_names.h"
#include "slide_time.h"
#include "title_slide.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#endif

namespace {

#ifdef _WIN32
// Windows' calls take names in UTF-16; the show's names are UTF-8.
std::wstring Wide(const std::string& utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring out(std::size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), out.data(), n);
    return out;
}

std::string Narrow(const wchar_t* text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(std::max(n, 1)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    out.pop_back();
    return out;
}
#endif

const char SlideListName[] = "images.sld";
const char ImageDataName[] = "images.dat";

bool ValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const int more = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (more < 0 || i + std::size_t(more) >= s.size())
            return false;
        for (int k = 1; k <= more; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2)
                return false;
        i += std::size_t(more) + 1;
    }
    return true;
}

// The file's path as the folder spells it; where there is none, its path as named, for the message.
std::string Located(const std::string& folder, const char* name) {
    const std::string found = FolderFile(folder, name);
    return found.empty() ? folder + name : found;
}

} // namespace

int PackageFiles::heldTime(int index, const ShowClock& clock) const {
    const TSlideRecord& slide = slides()[std::size_t(index)];
    const std::string sound = RecordText(slide.AudioFile.str());
    const std::string file = slide.HoldForAudio
                                 ? FolderFile(std::string(), sound.substr(sound.find_last_of("/\\") + 1))
                                 : std::string();
    return clock.slideTime(timeMs(index), slide.HoldForAudio, file.empty() ? 0 : WavMilliseconds(file));
}

int PackageFiles::timeAfter(int index, const ShowClock& clock) const {
    int ms = 0;
    for (int i = std::max(index + 1, 0); i < int(slides().size()); ++i)
        ms += heldTime(i, clock);
    return ms;
}

int PackageFiles::timeBefore(int index, const ShowClock& clock) const {
    int ms = 0;
    for (int i = 0; i < std::min(index, int(slides().size())); ++i)
        ms += heldTime(i, clock);
    return ms;
}

std::FILE* OpenFile(const std::string& path) {
#ifdef _WIN32
    return _wfopen(Wide(path).c_str(), L"rb");
#else
    return std::fopen(path.c_str(), "rb");
#endif
}

bool ReadFileBytes(const std::string& path, std::size_t limit, std::string& bytes, std::string& why) {
    std::FILE* file = OpenFile(path);
    if (!file) {
        why = errno == ENOENT ? "it is missing" : std::strerror(errno);
        return false;
    }
    char buffer[1 << 16];
    std::size_t n = 0;
    while (bytes.size() < limit &&
           (n = std::fread(buffer, 1, std::min(sizeof buffer, limit - bytes.size()), file)) > 0)
        bytes.append(buffer, n);
    const bool failed = std::ferror(file) != 0;
    if (failed)
        why = std::strerror(errno);
    std::fclose(file);
    return !failed;
}

std::string FolderFile(const std::string& folder, std::string_view name) {
    if (name.empty() || name.find_first_of("/\\:") != std::string_view::npos || name == "." || name == "..")
        return {};
    std::string found;
    const auto consider = [&](const std::string& entry) {
        if (MemberNames::same(entry, name) && (found.empty() || entry == name))
            found = folder + entry;
    };
#ifdef _WIN32
    WIN32_FIND_DATAW entry;
    const HANDLE find = FindFirstFileW(Wide(folder + "*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return {};
    do
        consider(Narrow(entry.cFileName));
    while (FindNextFileW(find, &entry));
    FindClose(find);
#else
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return {};
    while (const dirent* entry = readdir(dir))
        consider(entry->d_name);
    closedir(dir);
#endif
    return found;
}

std::string RecordText(std::string_view stored) {
    if (ValidUtf8(stored))
        return std::string(stored);
    // Windows-1252: 0x80 to 0x9F have their own letters, the rest is Latin-1.
    static const char16_t High[32] = {0x20AC, 0x81,   0x201A, 0x192,  0x201E, 0x2026, 0x2020, 0x2021,
                                      0x2C6,  0x2030, 0x160,  0x2039, 0x152,  0x8D,   0x17D,  0x8F,
                                      0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x2DC,  0x2122, 0x161,  0x203A, 0x153,  0x9D,   0x17E,  0x178};
    std::string out;
    for (const char ch : stored) {
        const unsigned char c = static_cast<unsigned char>(ch);
        const unsigned u = c >= 0x80 && c < 0xA0 ? High[c - 0x80] : c;
        if (u < 0x80)
            out += char(u);
        else if (u < 0x800)
            out += {char(0xC0 | u >> 6), char(0x80 | (u & 0x3F))};
        else
            out += {char(0xE0 | u >> 12), char(0x80 | (u >> 6 & 0x3F)), char(0x80 | (u & 0x3F))};
    }
    return out;
}

bool PackageFiles::open(const std::string& folder, std::string& error) {
    std::string bytes, why;
    constexpr std::size_t Largest = SlideList::HeaderSize + std::size_t(MaxSlides) * SlideList::RecordSize;
    if (!ReadFileBytes(Located(folder, SlideListName), Largest + 1, bytes, why)) {
        error = std::string("The slide list ") + SlideListName + " cannot be read: " + why + ".";
        return false;
    }
    const SlideList::ParseResult result = SlideList::parse(bytes, list_);
    why = !result.ok()                       ? result.error
          : list_.records.empty()            ? "it holds no slides"
          : list_.records.size() > MaxSlides ? "it holds more than " + std::to_string(MaxSlides) + " slides"
                                             : std::string();
    if (!why.empty()) {
        error = std::string("The slide list ") + SlideListName + " is damaged: " + why + ".";
        return false;
    }
    if (!ReadFileBytes(Located(folder, ImageDataName), std::size_t(-1), data_, why)) {
        error = std::string("The image data ") + ImageDataName + " cannot be read: " + why + ".";
        return false;
    }
    ranges_ = list_.dataRanges(std::int64_t(data_.size()));
    options_ = PlayerOptions::parse(list_.options);
    extras_ = PackageExtras::Load(folder, int(list_.records.size()));
    return true;
}

int PackageFiles::timeMs(int index) const {
    const std::int64_t stored = extras_ ? extras_->times[std::size_t(index)] : -1;
    return int(ShowRules::slideTimeMs(slides()[std::size_t(index)].Delay, stored));
}

std::string_view PackageFiles::pictureData(int index) const {
    const SlideList::DataRange& r = range(index);
    if (!r.valid || r.length == 0)
        return {};
    return std::string_view(data_).substr(std::size_t(r.offset), std::size_t(r.length));
}

bool PackageFiles::isTitle(int index) const {
    // A package's record names where its picture lies in the data: a blank slide's holds none.
    return extras_ && index >= 0 && std::size_t(index) < extras_->titles.size() &&
           extras_->titles[std::size_t(index)] && pictureData(index).empty();
}

int PackageFiles::titleBackdrop(int index) const {
    std::vector<bool> pictures;
    for (int i = 0; i < int(slides().size()); ++i)
        pictures.push_back(!pictureData(i).empty());
    return ShowRules::titleBackdropOf(pictures, index);
}

std::string PackageFiles::reportLine(int index, int width, int height, bool byRuntime,
                                     const std::string& audio) const {
    const TSlideRecord& slide = slides()[std::size_t(index)];
    const SlideList::DataRange& at = range(index);
    return "slide=" + std::to_string(index + 1) + "\toffset=" + std::to_string(at.offset) +
           "\tlength=" + std::to_string(at.length) + "\tpicture=" + std::to_string(width) + "x" +
           std::to_string(height) + "\tdecoder=" + (byRuntime ? "runtime" : "own") +
           "\tdelay=" + std::to_string(slide.Delay) + "\tms=" + std::to_string(timeMs(index)) +
           "\thold=" + (slide.HoldForAudio ? "1" : "0") + "\taudio=" + audio +
           "\tfont=" + RecordText(slide.FontName.str()) + "," + std::to_string(slide.FontSize) + "," +
           std::to_string(slide.FontStyle) + "," + std::to_string(slide.FontColor) +
           "\tcaption=" + (slide.ShowText ? RecordText(slide.Text.str()) : std::string()) + "\n";
}
