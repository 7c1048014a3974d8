// SPDX-License-Identifier: MIT
// The player of a Windows package. The package's head unpacks the members into a private folder and
// runs this program there under the package's own name; it plays the show that "images.sld" and
// "images.dat" of that folder hold, decoding the pictures through the run-time beside it. The test
// switch --report writes each slide as it comes on screen to standard output and quits after the
// last one.

#include "package_files.h"
#include "win_player.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace {

constexpr int ShowUnusable = 3;
const wchar_t RuntimeName[] = L"qpxrun30.dll";

void Tell(const std::string& text, bool report) {
    const std::string line = "Verasco: " + text + "\n";
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    DWORD written = 0;
    if (err && err != INVALID_HANDLE_VALUE &&
        WriteFile(err, line.data(), DWORD(line.size()), &written, nullptr))
        return;
    if (!report)
        MessageBoxA(nullptr, text.c_str(), "Verasco", MB_OK | MB_ICONERROR);
}

// The run-time beside the player, when it is one of this interface's version.
HMODULE LoadRuntime(std::string& why) {
    wchar_t own[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, own, MAX_PATH);
    std::wstring path(own, n);
    path = path.substr(0, path.find_last_of(L"\\/") + 1) + RuntimeName;
    const HMODULE runtime = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!runtime) {
        why = "qpxrun30.dll cannot be loaded";
        return nullptr;
    }
    const auto version =
        reinterpret_cast<QpxRunApiVersionFunction>(GetProcAddress(runtime, "qpxrun_api_version"));
    if (version && version() == QPXRUN_API_VERSION && GetProcAddress(runtime, "qpxrun_decode") &&
        GetProcAddress(runtime, "qpxrun_free"))
        return runtime;
    why = "qpxrun30.dll is not the decoding run-time of this player";
    FreeLibrary(runtime);
    return nullptr;
}

} // namespace

int main(int argc, char** argv) {
    bool report = false;
    for (int i = 1; i < argc; ++i)
        report = report || std::strcmp(argv[i], "--report") == 0;
    PackageFiles package;
    std::string error;
    if (!package.open(std::string(), error)) {
        Tell(error, report);
        return ShowUnusable;
    }
    const HMODULE runtime = LoadRuntime(error);
    if (!runtime)
        Tell(error + "; the pictures are shown blank", true);
    WinPlayer player(package, runtime, report);
    return player.run();
}
