// SPDX-License-Identifier: MIT
#include "win_folder.h"

#include <cstring>
#include <cwchar>

namespace verasco::head {
namespace {

const wchar_t LockName[] = L"\\lock";

bool TemporaryFolder(wchar_t* place) {
    const DWORD n = GetTempPathW(PathSize - 64, place);
    return n > 0 && n < PathSize - 64;
}

// Removes `path` and everything in it; a link inside is removed itself, never what it points to.
void RemoveTree(const wchar_t* path) {
    wchar_t pattern[PathSize] = {};
    if (Append(pattern, PathSize, path) && Append(pattern, PathSize, L"\\*")) {
        WIN32_FIND_DATAW entry;
        const HANDLE find = FindFirstFileW(pattern, &entry);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                wchar_t child[PathSize] = {};
                if (!std::wcscmp(entry.cFileName, L".") || !std::wcscmp(entry.cFileName, L"..") ||
                    !Append(child, PathSize, path) || !Append(child, PathSize, L"\\") ||
                    !Append(child, PathSize, entry.cFileName))
                    continue;
                const DWORD a = entry.dwFileAttributes;
                if ((a & FILE_ATTRIBUTE_DIRECTORY) && !(a & FILE_ATTRIBUTE_REPARSE_POINT))
                    RemoveTree(child);
                else if (a & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveDirectoryW(child);
                else {
                    SetFileAttributesW(child, FILE_ATTRIBUTE_NORMAL);
                    DeleteFileW(child);
                }
            } while (FindNextFileW(find, &entry));
            FindClose(find);
        }
    }
    RemoveDirectoryW(path);
}

void Reason(const char* what, char* why, int whySize) {
    char system[200] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, GetLastError(), 0,
                   system, sizeof system, nullptr);
    for (char* end = system + std::strlen(system);
         end > system && (end[-1] == '\n' || end[-1] == '\r' || end[-1] == '.');)
        *--end = '\0';
    if (std::strlen(what) + std::strlen(system) + 3 < size_t(whySize))
        wsprintfA(why, "%s: %s", what, system);
}

bool Subfolder(const wchar_t* parent, const wchar_t* name, wchar_t* path) {
    path[0] = L'\0';
    return Append(path, PathSize, parent) && Append(path, PathSize, name) && CreateDirectoryW(path, nullptr);
}

} // namespace

bool Append(wchar_t* to, int size, const wchar_t* text) {
    const size_t have = std::wcslen(to), add = std::wcslen(text);
    if (have + add >= size_t(size))
        return false;
    std::wmemcpy(to + have, text, add + 1);
    return true;
}

bool WinFolder::create(const wchar_t* prefix, uint64_t space, char* why, int whySize) {
    wchar_t place[PathSize] = {};
    if (!TemporaryFolder(place))
        return Reason("no temporary folder", why, whySize), false;
    ULARGE_INTEGER free{};
    if (GetDiskFreeSpaceExW(place, &free, nullptr, nullptr) && free.QuadPart < space) {
        wsprintfA(why, "not enough space in the temporary folder (%I64u MB needed)",
                  (space + 999999) / 1000000);
        return false;
    }
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    unsigned long long state = uint64_t(counter.QuadPart) ^ (uint64_t(GetCurrentProcessId()) << 32);
    for (int attempt = 0; attempt < 100; ++attempt) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        wchar_t name[16];
        wsprintfW(name, L"%08lx", static_cast<unsigned long>(state >> 32));
        wchar_t path[PathSize] = {};
        if (!Append(path, PathSize, place) || !Append(path, PathSize, prefix) ||
            !Append(path, PathSize, name))
            break;
        if (!CreateDirectoryW(path, nullptr)) {
            if (GetLastError() == ERROR_ALREADY_EXISTS)
                continue;
            break;
        }
        std::wmemcpy(path_, path, PathSize);
        wchar_t lock[PathSize] = {};
        Append(lock, PathSize, path_);
        // Inherited by the player, so that the folder stays held while either runs.
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        if (Append(lock, PathSize, LockName))
            lock_ = CreateFileW(lock, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_NEW,
                                FILE_ATTRIBUTE_TEMPORARY, nullptr);
        if (lock_ != INVALID_HANDLE_VALUE && Subfolder(path_, L"\\show", show_) &&
            Subfolder(path_, L"\\tmp", scratch_))
            return true;
        Reason("cannot make a folder in the temporary folder", why, whySize);
        remove();
        return false;
    }
    Reason("cannot make a folder in the temporary folder", why, whySize);
    return false;
}

void WinFolder::remove() {
    if (!path_[0])
        return;
    if (lock_ != INVALID_HANDLE_VALUE)
        CloseHandle(lock_);
    lock_ = INVALID_HANDLE_VALUE;
    RemoveTree(path_);
    path_[0] = L'\0';
}

void RemoveStaleFolders(const wchar_t* prefix) {
    wchar_t place[PathSize] = {}, pattern[PathSize] = {};
    if (!TemporaryFolder(place) || !Append(pattern, PathSize, place) || !Append(pattern, PathSize, prefix) ||
        !Append(pattern, PathSize, L"*"))
        return;
    WIN32_FIND_DATAW entry;
    const HANDLE find = FindFirstFileW(pattern, &entry);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        wchar_t folder[PathSize] = {}, lock[PathSize] = {};
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && Append(folder, PathSize, place) &&
            Append(folder, PathSize, entry.cFileName) && Append(lock, PathSize, folder) &&
            Append(lock, PathSize, LockName) && DeleteFileW(lock))
            RemoveTree(folder);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
}

} // namespace verasco::head
