// SPDX-License-Identifier: MIT
#include "private_folder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

namespace verasco::head {
namespace {

bool IsFolder(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Where a private folder may lie, in order: the temporary folder ($TMPDIR when it names a folder,
// else /tmp), $XDG_RUNTIME_DIR, ~/.cache.
std::vector<std::string> Places() {
    std::vector<std::string> places;
    const char* tmp = std::getenv("TMPDIR");
    places.push_back(tmp && IsFolder(tmp) ? tmp : "/tmp");
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
        places.push_back(runtime);
    if (const char* home = std::getenv("HOME"); home && *home)
        places.push_back(std::string(home) + "/.cache");
    return places;
}

// The first place from which programs may run (a folder mounted "noexec" would keep the player
// from starting); ~/.cache is made when it is missing.
std::string ChoosePlace() {
    const std::vector<std::string> places = Places();
    for (const std::string& place : places) {
        if (&place == &places.back())
            mkdir(place.c_str(), S_IRWXU);
        struct statvfs fs {};
        if (IsFolder(place) && statvfs(place.c_str(), &fs) == 0 && !(fs.f_flag & ST_NOEXEC))
            return place;
    }
    throw std::runtime_error("programs may not run from " + places.front() +
                             ", nor from $XDG_RUNTIME_DIR or ~/.cache");
}

// The folder `path` opened and locked (`how` as for flock), or -1 when another process holds it.
int OpenLocked(const std::string& path, int how) {
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
    if (fd >= 0 && flock(fd, how) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

} // namespace

std::string SpaceNeeded(uint64_t bytes) {
    return std::to_string((bytes + 999999) / 1000000) + " MB needed";
}

PrivateFolder::PrivateFolder(const std::string& prefix, uint64_t space) {
    const std::string place = ChoosePlace();
    struct statvfs fs {};
    if (statvfs(place.c_str(), &fs) == 0 && uint64_t(fs.f_bavail) * fs.f_frsize < space)
        throw std::runtime_error("not enough space in " + place + " (" + SpaceNeeded(space) + ")");
    for (int attempt = 0; lock_ < 0; ++attempt) {
        if (attempt == 3)
            throw std::runtime_error("cannot keep a folder in " + place);
        std::string pattern = place + "/" + prefix + "XXXXXX";
        // mkdtemp creates the folder with mode 0700 under a name nobody could take first.
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a folder in " + place + ": " + std::strerror(errno));
        // Until it is locked, another start may take the folder for one left behind and remove it;
        // then it has no link left, and another name is drawn.
        const int fd = OpenLocked(pattern, LOCK_EX);
        struct stat st {};
        if (fd >= 0 && fstat(fd, &st) == 0 && st.st_nlink > 0) {
            path_ = pattern;
            lock_ = fd;
        } else if (fd >= 0) {
            close(fd);
        }
    }
}

std::string PrivateFolder::makeSubfolder(const std::string& name) const {
    const std::string sub = path_ + "/" + name;
    if (mkdir(sub.c_str(), S_IRWXU) != 0)
        throw std::runtime_error("cannot create a folder in " + path_ + ": " + std::strerror(errno));
    return sub;
}

PrivateFolder::~PrivateFolder() {
    remove();
}

void PrivateFolder::remove() {
    if (path_.empty())
        return;
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
    path_.clear();
    close(lock_);
    lock_ = -1;
}

void RemoveStaleFolders(const std::string& prefix) {
    for (const std::string& place : Places()) {
        DIR* dir = opendir(place.c_str());
        if (!dir)
            continue;
        while (const dirent* entry = readdir(dir)) {
            const std::string path = place + "/" + entry->d_name;
            struct stat st {};
            if (std::strncmp(entry->d_name, prefix.c_str(), prefix.size()) != 0 ||
                lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid())
                continue;
            const int fd = OpenLocked(path, LOCK_EX | LOCK_NB);
            if (fd < 0)
                continue;
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
            close(fd);
        }
        closedir(dir);
    }
}

} // namespace verasco::head
