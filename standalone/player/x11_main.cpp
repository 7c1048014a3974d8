// SPDX-License-Identifier: MIT
// verasco2.dat, the player of a Linux package. The package's head unpacks the members into a private
// folder and runs this program there under the package's own name; it plays the show that
// "images.sld" and "images.dat" of that folder hold, decoding the pictures through the run-time
// beside it. The test switch --report writes each slide as it comes on screen to standard output and
// quits after the last one.

#include "package_files.h"
#include "x11_caption.h"
#include "x11_player.h"

#include <dlfcn.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int ShowUnusable = 3;
constexpr int NoDisplay = 4;
const char RuntimeName[] = "qpxrun30.dll";

const char* programName = "show";

void Tell(const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", programName, text.c_str());
}

// The folder the player was started from, ending in a separator.
std::string OwnFolder() {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    const std::string own = n > 0 ? std::string(path, std::size_t(n)) : std::string();
    return own.substr(0, own.find_last_of('/') + 1);
}

// The run-time beside the player, when it is one of this interface's version.
DecodingRuntime LoadRuntime(std::string& why) {
    const std::string path = FolderFile(OwnFolder(), RuntimeName);
    void* library = path.empty() ? nullptr : dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        why = path.empty() ? std::string(RuntimeName) + " is missing" : std::string(dlerror());
        return {};
    }
    const auto version = reinterpret_cast<QpxRunApiVersionFunction>(dlsym(library, "qpxrun_api_version"));
    DecodingRuntime runtime{reinterpret_cast<QpxRunDecodeFunction>(dlsym(library, "qpxrun_decode")),
                            reinterpret_cast<QpxRunFreeFunction>(dlsym(library, "qpxrun_free"))};
    if (version && version() == QPXRUN_API_VERSION && runtime.decode && runtime.release)
        return runtime;
    why = std::string(RuntimeName) + " is not the decoding run-time of this player";
    dlclose(library);
    return {};
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 0 && argv[0][0])
        programName = std::strrchr(argv[0], '/') ? std::strrchr(argv[0], '/') + 1 : argv[0];
    std::setlocale(LC_ALL, "");
    bool report = false;
    for (int i = 1; i < argc; ++i)
        report = report || std::strcmp(argv[i], "--report") == 0;
    PackageFiles package;
    std::string error;
    const bool opened = package.open(std::string(), error);
    if (!opened)
        Tell(error);
    if (!opened && report)
        return ShowUnusable;
    Display* display = XOpenDisplay(nullptr);
    if (!opened) {
        // Started from a file manager, the player has no terminal: the message is shown as well.
        if (display) {
            ShowMessage(display, error);
            XCloseDisplay(display);
        }
        return ShowUnusable;
    }
    if (!display) {
        const char* name = std::getenv("DISPLAY");
        Tell(std::string("the show needs a graphical desktop, and the display ") +
             (name ? name : "(DISPLAY is not set)") + " cannot be opened");
        return NoDisplay;
    }
    const DecodingRuntime runtime = LoadRuntime(error);
    if (!runtime.decode)
        Tell(error + "; the pictures are shown blank");
    int code = 0;
    {
        X11Player player(package, runtime, report);
        code = player.run(display);
    }
    XCloseDisplay(display);
    return code;
}
