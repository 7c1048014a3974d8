// Stands in for the player inside packages made by the head tests. It reports where it runs and
// what it was given on standard output:
//   cwd=<folder>  mode=<octal permissions of the folder>  arg=<each argument>  file=<each entry>
// then, by its first arguments, exits with a code (--exit N) or writes its process id into a
// file and waits for a signal (--wait FILE).

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
    if (first == "--wait") {
        const std::string ready = std::string(argv[2]) + ".part";
        std::ofstream(ready) << getpid() << '\n';
        std::filesystem::rename(ready, argv[2]);
        for (;;)
            pause();
    }
    return 0;
}
