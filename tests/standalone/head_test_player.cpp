// SPDX-License-Identifier: MIT
// Stands in for the player inside packages made by the head tests. It reports where it runs and
// what it was given on standard output:
//   cwd=<folder>  mode=<octal permissions of the folder>  tmp=<$TMPDIR>  arg=<each argument>
//   file=<each entry>
// then, by its first arguments, exits with a code (--exit N), writes its process id into a file
// and waits for a signal (--wait FILE), or leaves files, folders and links to FOLDER in its
// temporary folder as libraries do (--litter FOLDER).

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    const std::filesystem::path cwd = std::filesystem::current_path();
    struct stat st {};
    stat(cwd.c_str(), &st);
    std::printf("cwd=%s\nmode=%o\n", cwd.c_str(), static_cast<unsigned>(st.st_mode & 07777));
    const char* tmp = std::getenv("TMPDIR");
    std::printf("tmp=%s\n", tmp ? tmp : "");
    for (int i = 1; i < argc; ++i)
        std::printf("arg=%s\n", argv[i]);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(cwd))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    for (const std::string& n : names)
        std::printf("file=%s\n", n.c_str());
    std::fflush(stdout);
    const std::string first = argc > 2 ? argv[1] : "";
    if (first == "--exit")
        return std::atoi(argv[2]);
    if (first == "--litter" && tmp) {
        const std::filesystem::path cache = std::filesystem::path(tmp) / "runtime-player" / "cache";
        std::filesystem::create_directories(cache);
        std::ofstream(cache / "entry") << "cached";
        std::filesystem::create_directory_symlink(argv[2], cache / "outside");
        std::filesystem::create_symlink(std::filesystem::path(argv[2]) / "keep",
                                        std::filesystem::path(tmp) / "link");
        return 0;
    }
    if (first == "--wait") {
        const std::string ready = std::string(argv[2]) + ".part";
        std::ofstream(ready) << getpid() << '\n';
        std::filesystem::rename(ready, argv[2]);
        for (;;)
            pause();
    }
    return 0;
}
