// SPDX-License-Identifier: MIT
// The head of a Windows package: the first bytes of the package file, a Windows program. Run as
// holiday.exe (or under any name it was given since), it expands the LHA members that follow its own
// image into a private temporary folder, runs the player (the first member) there with the rest of
// its command line, passes on the player's exit code, and removes the folder. Folders that heads
// ended outright left behind go when a package next starts. What goes wrong is written to the
// standard error where there is one, else shown in a message box. Every member is checked before
// anything is written. Built without the C++ library's exceptions and containers, for its size.

#include "lean_members.h"
#include "pe_image.h"
#include "win_folder.h"

#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

using namespace verasco::head;

namespace {

constexpr int PackageUnusable = 2;
constexpr int MostMembers = 1024;
const wchar_t FolderPrefix[] = L"verasco-show-";

wchar_t own[PathSize];
char message[512];

int Tell(const char* what) {
    const wchar_t* name = std::wcsrchr(own, L'\\') ? std::wcsrchr(own, L'\\') + 1 : own;
    char text[800];
    wsprintfA(text, "%ls: %s\n", name, what);
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    DWORD written = 0;
    if (!err || err == INVALID_HANDLE_VALUE ||
        !WriteFile(err, text, DWORD(std::strlen(text)), &written, nullptr))
        MessageBoxA(nullptr, text, "Verasco", MB_OK | MB_ICONERROR);
    return PackageUnusable;
}

uint64_t SizeOf(std::FILE* file) {
    LARGE_INTEGER size{};
    return GetFileSizeEx(HANDLE(_get_osfhandle(_fileno(file))), &size) ? uint64_t(size.QuadPart) : 0;
}

// The members after the head's image, every one checked; their count, or -1 with `message` set.
int ListMembers(std::FILE* package, LeanMember* members, uint64_t& expanded) {
    constexpr size_t HeadersRead = 1 << 16; // every header of a PE file lies within them
    auto* head = static_cast<unsigned char*>(std::malloc(HeadersRead));
    const uint64_t size = SizeOf(package);
    const size_t got = head ? std::fread(head, 1, HeadersRead, package) : 0;
    const auto start = PeImageEnd(head, got, size);
    std::free(head);
    if (!start)
        return std::strcpy(message, "cannot read the package's own program"), -1;
    uint64_t at = *start;
    int count = 0;
    const char* why = "";
    for (;;) {
        if (count == MostMembers)
            return std::strcpy(message, "the package is damaged: too many members"), -1;
        const LeanRead read = ReadLeanMember(package, at, size, members[count], why);
        if (read == LeanRead::End)
            break;
        if (read == LeanRead::Damaged)
            return wsprintfA(message, "the package is damaged: %s", why), -1;
        if (RepeatsAName(members, count, members[count]))
            return wsprintfA(message, "the package is damaged: two members are named %s",
                             members[count].name),
                   -1;
        expanded += members[count].original;
        at = members[count++].next;
    }
    if (count == 0)
        std::strcpy(message, "the package holds no show");
    return count > 0 ? count : -1;
}

// The UTF-16 form of a member's name (the archive holds names in UTF-8), as Windows' calls take it.
bool WideName(const char* name, wchar_t (&wide)[256]) {
    return MultiByteToWideChar(CP_UTF8, 0, name, -1, wide, 256) > 0;
}

bool WriteTo(void* file, const unsigned char* bytes, size_t size) {
    DWORD written = 0;
    return WriteFile(HANDLE(file), bytes, DWORD(size), &written, nullptr) && written == size;
}

// Expands the member into a file of its own in `folder`: one made anew, never one that is there.
bool Expand(std::FILE* package, const LeanMember& member, const wchar_t* folder) {
    wchar_t path[PathSize] = {}, name[256] = {};
    const HANDLE out =
        WideName(member.name, name) && Append(path, PathSize, folder) && Append(path, PathSize, L"\\") &&
                Append(path, PathSize, name)
            ? CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)
            : INVALID_HANDLE_VALUE;
    const char* why = "cannot write the show into the temporary folder";
    const bool ok = out != INVALID_HANDLE_VALUE && ExpandLeanMember(package, member, {WriteTo, out}, why);
    if (out != INVALID_HANDLE_VALUE && !CloseHandle(out) && ok)
        why = "cannot write the show into the temporary folder";
    if (!ok)
        wsprintfA(message, "%s (%s)", why, member.name);
    return ok;
}

// The package's command line after its own name, as it was given.
const wchar_t* Arguments() {
    const wchar_t* line = GetCommandLineW();
    bool quoted = false;
    for (; *line && (quoted || (*line != L' ' && *line != L'\t')); ++line)
        if (*line == L'"')
            quoted = !quoted;
    return line;
}

int RunPlayer(const WinFolder& folder, const char* player) {
    // The player and what it loads get the private folder's other half as their temporary folder.
    SetEnvironmentVariableW(L"TMP", folder.scratch());
    SetEnvironmentVariableW(L"TEMP", folder.scratch());
    constexpr int LineSize = 32768; // the longest command line
    wchar_t program[PathSize] = {}, name[256] = {};
    auto* line = static_cast<wchar_t*>(std::calloc(LineSize, sizeof(wchar_t)));
    if (!line || !WideName(player, name) || !Append(program, PathSize, folder.show()) ||
        !Append(program, PathSize, L"\\") || !Append(program, PathSize, name) ||
        !Append(line, LineSize, L"\"") || !Append(line, LineSize, program) ||
        !Append(line, LineSize, L"\"") || !Append(line, LineSize, Arguments()))
        return std::free(line), Tell("the package's path is too long");
    STARTUPINFOW start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    start.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    start.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION child{};
    const BOOL started =
        CreateProcessW(program, line, nullptr, nullptr, TRUE, 0, nullptr, folder.show(), &start, &child);
    std::free(line);
    if (!started)
        return Tell("the package's player could not be started");
    CloseHandle(child.hThread);
    WaitForSingleObject(child.hProcess, INFINITE);
    DWORD code = PackageUnusable;
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hProcess);
    return int(code);
}

int Play(std::FILE* package) {
    auto* members = static_cast<LeanMember*>(std::calloc(MostMembers, sizeof(LeanMember)));
    uint64_t expanded = 0;
    const int count = members ? ListMembers(package, members, expanded) : -1;
    if (count < 0)
        return std::free(members), Tell(members ? message : "out of memory");
    RemoveStaleFolders(FolderPrefix);
    WinFolder folder;
    int code = PackageUnusable;
    if (!folder.create(FolderPrefix, expanded, message, sizeof message))
        Tell(message);
    else {
        bool ok = true;
        for (int i = 0; i < count && ok; ++i)
            ok = Expand(package, members[i], folder.show());
        std::fclose(package);
        code = ok ? RunPlayer(folder, members[0].name) : Tell(message);
    }
    std::free(members);
    return code;
}

} // namespace

int main() {
    if (GetModuleFileNameW(nullptr, own, PathSize) >= DWORD(PathSize))
        return Tell("the package's path is too long");
    std::FILE* package = _wfopen(own, L"rb");
    if (!package)
        return Tell("cannot read the package's own program");
    return Play(package);
}
