// SPDX-License-Identifier: MIT
#include "head_test_support.h"

#include "comp_lha.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sched.h>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <sys/mount.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace head_test {
namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "verasco-head-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    fs::remove_all(path, ec);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    return names;
}

void MakePackage(const std::string& packagePath,
                 const std::vector<std::pair<std::string, std::string>>& files,
                 const std::function<void(std::string&)>& rename) {
    const fs::path members = fs::path(packagePath).parent_path() / "members";
    fs::remove_all(members);
    fs::create_directories(members);
    std::vector<std::string> list{(members / fs::path(packagePath).filename()).string()};
    fs::copy_file(HEAD_TEST_PLAYER, list.front());
    for (const auto& [name, content] : files) {
        list.push_back((members / name).string());
        WriteFile(list.back(), content);
    }
    std::ofstream out(packagePath, std::ios::binary | std::ios::trunc);
    out << ReadFile(VERASCO_BINARY_DIR "/app/verasco1.dat");
    verasco::archive::TCompLHA lha;
    lha.ExceptionOnFileError = true;
    if (rename)
        lha.OnCheckFile = [&rename](const std::string&, std::string& name, uint32_t,
                                    verasco::archive::TCompLHAProcessMode) { rename(name); };
    lha.CompressToStream(out, list, verasco::archive::TCompLHAMethod::colh5);
    out.close();
    fs::remove_all(members);
    fs::permissions(packagePath, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
}

pid_t Start(const std::string& package, const std::vector<std::string>& args, const std::string& tmp,
            const std::string& logs, const std::vector<std::string>& environment) {
    std::vector<std::string> env = environment;
    env.push_back("TMPDIR=" + tmp);
    for (char** e = environ; *e; ++e) {
        const std::string variable = *e;
        const auto same = [&variable](const std::string& set) {
            return variable.compare(0, set.find('=') + 1, set, 0, set.find('=') + 1) == 0;
        };
        if (std::none_of(env.begin(), env.end(), same))
            env.push_back(variable);
    }
    std::vector<char*> envp, argv{const_cast<char*>(package.c_str())};
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string out = logs + "/stdout", err = logs + "/stderr";
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, package.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        throw std::runtime_error("cannot start " + package);
    return pid;
}

Finished Wait(pid_t pid, const std::string& logs) {
    Finished f;
    while (waitpid(pid, &f.status, 0) < 0 && errno == EINTR) {
    }
    f.out = ReadFile(logs + "/stdout");
    f.err = ReadFile(logs + "/stderr");
    return f;
}

Finished RunPackage(const std::string& package, const std::vector<std::string>& args, const std::string& tmp,
                    const std::string& logs, const std::vector<std::string>& environment) {
    return Wait(Start(package, args, tmp, logs, environment), logs);
}

OwnMount::OwnMount(const std::string& where, unsigned long flags, const std::string& options) {
    // A mount name space of this process's own, entered once: its mounts never reach the system.
    static const std::string entered = [] {
        if (unshare(CLONE_NEWNS) != 0 || mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return std::string("no mount name space of its own: ") + std::strerror(errno);
        return std::string();
    }();
    refused = entered;
    if (refused.empty() && mount("tmpfs", where.c_str(), "tmpfs", flags, options.c_str()) != 0)
        refused = "cannot mount a tmpfs: " + std::string(std::strerror(errno));
    if (refused.empty())
        folder = where;
}

OwnMount::~OwnMount() {
    if (!folder.empty())
        umount(folder.c_str());
}

bool WaitForFile(const std::string& path, pid_t pid) {
    for (;;) {
        if (fs::exists(path))
            return true;
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

} // namespace head_test
