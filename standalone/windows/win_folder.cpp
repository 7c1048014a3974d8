// SPDX-License-Identifier: MIT
#include "win_folder.h"

#include "private_folder.h"

#include <stdexcept>

namespace verasco::head {
namespace {

const wchar_t LockName[] = L"lock";

std::wstring TemporaryFolder() {
    wchar_t buffer[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
    if (n == 0 || n > MAX_PATH)
        throw std::runtime_error("no temporary folder: " + LastError());
    return std::wstring(buffer, n);
}

// Removes `path` and everything in it; a link inside is removed itself, never what it points to.
bool RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW entry;
    const HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = path + L"\\" + name;
            const DWORD a = entry.dwFileAttributes;
            if ((a & FILE_ATTRIBUTE_DIRECTORY) && !(a & FILE_ATTRIBUTE_REPARSE_POINT))
                RemoveTree(child);
            else if (a & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryW(child.c_str());
            else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    return RemoveDirectoryW(path.c_str()) != 0;
}

// A lock file that stays until the last handle goes and that nobody can delete meanwhile; the
// handle is inherited by the player.
HANDLE CreateLock(const std::wstring& folder) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW((folder + L"\\" + LockName).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                       &inherit, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY, nullptr);
}

} // namespace

std::string LastError() {
    const DWORD code = GetLastError();
    char text[256] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                   0, text, sizeof text, nullptr);
    std::string reason(text, n);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.'))
        reason.pop_back();
    return reason.empty() ? "error " + std::to_string(code) : reason;
}

std::string NarrowPath(const std::wstring& path) {
    std::wstring usable = path;
    BOOL lossy = FALSE;
    auto convert = [&lossy](const std::wstring& p) {
        const int n =
            WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, p.c_str(), -1, nullptr, 0, nullptr, &lossy);
        std::string out(n > 0 ? n - 1 : 0, '\0');
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, p.c_str(), -1, out.data(), n, nullptr, &lossy);
        return out;
    };
    std::string narrow = convert(usable);
    if (lossy) {
        wchar_t buffer[MAX_PATH + 1];
        const DWORD n = GetShortPathNameW(path.c_str(), buffer, MAX_PATH + 1);
        if (n > 0 && n <= MAX_PATH)
            narrow = convert(std::wstring(buffer, n));
    }
    return narrow;
}

std::string SpaceNeeded(uint64_t bytes) {
    return std::to_string((bytes + 999999) / 1000000) + " MB needed";
}

WinFolder::WinFolder(const std::wstring& prefix, uint64_t space) {
    const std::wstring place = TemporaryFolder();
    ULARGE_INTEGER free{};
    if (GetDiskFreeSpaceExW(place.c_str(), &free, nullptr, nullptr) && free.QuadPart < space)
        throw std::runtime_error("not enough space in " + NarrowPath(place) + " (" + SpaceNeeded(space) +
                                 ")");
    LARGE_INTEGER seed{};
    QueryPerformanceCounter(&seed);
    unsigned long long state = seed.QuadPart ^ (1ull * GetCurrentProcessId() << 32);
    for (int attempt = 0; attempt < 100; ++attempt) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        wchar_t name[32];
        wsprintfW(name, L"%08lx", static_cast<unsigned long>(state >> 32));
        const std::wstring path = place + prefix + name;
        if (!CreateDirectoryW(path.c_str(), nullptr)) {
            if (GetLastError() == ERROR_ALREADY_EXISTS)
                continue;
            throw std::runtime_error("cannot make a folder in " + NarrowPath(place) + ": " + LastError());
        }
        path_ = path;
        lock_ = CreateLock(path);
        if (lock_ == INVALID_HANDLE_VALUE) {
            const std::string why = LastError();
            remove();
            throw std::runtime_error("cannot make a folder in " + NarrowPath(place) + ": " + why);
        }
        return;
    }
    throw std::runtime_error("cannot make a folder in " + NarrowPath(place));
}

WinFolder::~WinFolder() {
    remove();
}

std::wstring WinFolder::makeSubfolder(const std::wstring& name) const {
    const std::wstring path = path_ + L"\\" + name;
    if (!CreateDirectoryW(path.c_str(), nullptr))
        throw std::runtime_error("cannot make a folder in " + NarrowPath(path_) + ": " + LastError());
    return path;
}

void WinFolder::remove() {
    if (path_.empty())
        return;
    if (lock_ != INVALID_HANDLE_VALUE)
        CloseHandle(lock_);
    lock_ = INVALID_HANDLE_VALUE;
    RemoveTree(path_);
    path_.clear();
}

void RemoveStaleFolders(const std::wstring& prefix) {
    std::wstring place;
    try {
        place = TemporaryFolder();
    } catch (const std::exception&) {
        return;
    }
    WIN32_FIND_DATAW entry;
    const HANDLE find = FindFirstFileW((place + prefix + L"*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring folder = place + entry.cFileName;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
            DeleteFileW((folder + L"\\" + LockName).c_str()))
            RemoveTree(folder);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
}

} // namespace verasco::head
