// SPDX-License-Identifier: MIT
#pragma once
// Packages made from the real head and real LHA members, and the head run as a real process with
// its own temporary folder, for the head tests.

#include <functional>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace head_test {

// A fresh folder, removed with its contents at the end.
struct ScratchFolder {
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::string path;
    std::string operator/(const std::string& name) const { return path + "/" + name; }
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
std::vector<std::string> Entries(const std::string& folder);

// Writes `packagePath`: the head, then one level-0 -lh5- member per file: the stand-in player under
// the package's own name and the `files` (name, content). `rename` may change a stored name.
void MakePackage(const std::string& packagePath,
                 const std::vector<std::pair<std::string, std::string>>& files,
                 const std::function<void(std::string& storedName)>& rename = {});

struct Finished {
    int status = 0; // wait status
    std::string out;
    std::string err;
};

// Starts the package with TMPDIR set to `tmp` and the variables of `environment` ("NAME=value")
// set; standard output and error go to files in `logs`.
pid_t Start(const std::string& package, const std::vector<std::string>& args, const std::string& tmp,
            const std::string& logs, const std::vector<std::string>& environment = {});
Finished Wait(pid_t pid, const std::string& logs);
Finished RunPackage(const std::string& package, const std::vector<std::string>& args, const std::string& tmp,
                    const std::string& logs, const std::vector<std::string>& environment = {});

// A file system of its own (tmpfs with the mount `flags`, such as MS_NOEXEC, and `options`, such as
// "size=1m") on `folder`, seen by this test process and the programs it starts only, and gone with
// the object. Where the test may not mount one, `refused` says why.
struct OwnMount {
    OwnMount(const std::string& folder, unsigned long flags, const std::string& options);
    ~OwnMount();
    OwnMount(const OwnMount&) = delete;
    OwnMount& operator=(const OwnMount&) = delete;
    std::string folder;
    std::string refused;
};

// Waits until a file exists; false when `pid` ended first.
bool WaitForFile(const std::string& path, pid_t pid);

} // namespace head_test
