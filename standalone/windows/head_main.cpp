// SPDX-License-Identifier: MIT
// The head of a Windows package: the first bytes of the package file, a Windows program. Run as
// holiday.exe (or under any name it was given since), it expands the LHA members that follow its own
// image into a private temporary folder, runs the player (the first member) there with the rest of
// its command line, passes on the player's exit code, and removes the folder. Folders that heads
// ended outright left behind go when a package next starts. What goes wrong is written to the
// standard error where there is one, else shown in a message box.

#include "package_members.h"
#include "pe_image.h"
#include "win_folder.h"

#include <windows.h>

#include <cstdint>
#include <vector>

using namespace verasco::head;

namespace {

constexpr int PackageUnusable = 2;
const wchar_t FolderPrefix[] = L"verasco-show-";

std::wstring OwnPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

uint64_t ArchiveStart(const std::wstring& own) {
    const HANDLE file = CreateFileW(own.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER size{};
    std::vector<unsigned char> head(1 << 16);
    DWORD got = 0;
    const bool read = file != INVALID_HANDLE_VALUE && GetFileSizeEx(file, &size) &&
                      ReadFile(file, head.data(), DWORD(head.size()), &got, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    const auto end = read ? PeImageEnd(head.data(), got, uint64_t(size.QuadPart)) : std::nullopt;
    if (!end)
        throw PackageError("cannot read the package's own program");
    return *end;
}

// The package's command line after its own name, as it was given.
std::wstring Arguments() {
    const wchar_t* line = GetCommandLineW();
    bool quoted = false;
    for (; *line && (quoted || (*line != L' ' && *line != L'\t')); ++line)
        if (*line == L'"')
            quoted = !quoted;
    return line;
}

DWORD RunAndWait(const std::wstring& program, const std::wstring& folder, const std::wstring& scratch) {
    // The player and what it loads get the private folder's other half as their temporary folder.
    SetEnvironmentVariableW(L"TMP", scratch.c_str());
    SetEnvironmentVariableW(L"TEMP", scratch.c_str());
    std::wstring line = L"\"" + program + L"\"" + Arguments();
    STARTUPINFOW start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    start.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    start.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION child{};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(),
                        &start, &child))
        throw PackageError("the package's player could not be started: " + LastError());
    CloseHandle(child.hThread);
    WaitForSingleObject(child.hProcess, INFINITE);
    DWORD code = PackageUnusable;
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hProcess);
    return code;
}

DWORD Play(const std::wstring& own) {
    const std::string package = NarrowPath(own);
    const uint64_t start = ArchiveStart(own);
    const PackageMembers members = ListMembers(package, start);
    RemoveStaleFolders(FolderPrefix);
    WinFolder folder(FolderPrefix, members.expandedSize);
    const std::wstring show = folder.makeSubfolder(L"show");
    const std::wstring scratch = folder.makeSubfolder(L"tmp");
    ExpandMembers(package, start, NarrowPath(show), members.expandedSize, [] { return false; });
    const std::string& player = members.names.front();
    const DWORD code = RunAndWait(show + L"\\" + std::wstring(player.begin(), player.end()), show, scratch);
    folder.remove();
    return code;
}

void Tell(const std::wstring& package, const std::string& what) {
    const std::string text = NarrowPath(package) + ": " + what + "\n";
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    DWORD written = 0;
    if (err && err != INVALID_HANDLE_VALUE &&
        WriteFile(err, text.data(), DWORD(text.size()), &written, nullptr))
        return;
    MessageBoxA(nullptr, text.c_str(), "Verasco", MB_OK | MB_ICONERROR);
}

} // namespace

int main() {
    const std::wstring own = OwnPath();
    try {
        return int(Play(own));
    } catch (const std::exception& e) {
        Tell(own.substr(own.find_last_of(L"\\/") + 1), e.what());
        return PackageUnusable;
    }
}
