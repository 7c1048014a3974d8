// SPDX-License-Identifier: MIT
// The head of a stand-alone package: the first bytes of the package file. Run as ./holiday.exe (or
// under any name it was given since), it expands the LHA members that follow its own image into a
// private temporary folder, runs the player (the first member) there with the package's arguments,
// passes on the player's exit, and removes the folder, also when it is ended by a signal. Folders
// that heads killed outright left behind go when a package next starts.

#include "elf_image.h"
#include "package_members.h"
#include "player_process.h"
#include "private_folder.h"

#include <climits>
#include <cstdio>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace verasco::head;

namespace {

constexpr int kPackageUnusable = 2;
const char* const kOwnImage = "/proc/self/exe";
const char* const kFolderPrefix = "verasco-show-";

std::string OwnPath() {
    char buffer[PATH_MAX];
    const ssize_t n = readlink(kOwnImage, buffer, sizeof buffer - 1);
    return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string("package");
}

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

uint64_t ArchiveStart() {
    std::ifstream in(kOwnImage, std::ios::binary);
    in.seekg(0, std::ios::end);
    const auto size = in.tellg();
    const auto end = in && size > 0 ? ElfImageEnd(in, static_cast<uint64_t>(size)) : std::nullopt;
    if (!end)
        throw PackageError("cannot read the package's own program");
    return *end;
}

// Unpacks the show and plays it; returns the player's wait status.
int Play(const std::vector<std::string>& arguments) {
    const uint64_t start = ArchiveStart();
    const PackageMembers members = ListMembers(kOwnImage, start);
    const std::string& player = members.names.front();
    RemoveStaleFolders(kFolderPrefix);
    PrivateFolder folder(kFolderPrefix, members.expandedSize);
    // The show is unpacked into one sub-folder; the player and the libraries it loads get the other
    // as their temporary folder, so what they leave there goes with the private folder and nothing
    // lands beside the show.
    const std::string show = folder.makeSubfolder("show");
    const std::string scratch = folder.makeSubfolder("tmp");
    ExpandMembers(kOwnImage, start, show, members.expandedSize, [] { return PendingSignal() != 0; });
    if (const int signal = PendingSignal()) {
        folder.remove();
        DieBy(signal);
    }
    const std::string program = show + "/" + player;
    // The archive keeps no permissions: the player is made runnable by its owner only.
    if (chmod(program.c_str(), S_IRWXU) != 0)
        throw PackageError("the package's player " + player + " could not be unpacked");
    const int status = RunAndWait(program, arguments, show, scratch);
    folder.remove();
    return status;
}

} // namespace

int main(int argc, char** argv) {
    InstallSignalForwarding();
    const std::string packageName = FileNameOf(OwnPath());
    int status = 0;
    try {
        status = Play(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", packageName.c_str(), e.what());
        if (const int signal = PendingSignal())
            DieBy(signal);
        return kPackageUnusable;
    }
    ExitLike(status);
}
