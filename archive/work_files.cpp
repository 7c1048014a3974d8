// SPDX-License-Identifier: MIT
#include "work_files.h"

#include "lha_errors.h"
#include "member_name.h"

#include <cstdio>
#include <filesystem>
#include <random>
#if __has_include(<unistd.h>)
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace verasco::archive {

std::string CreateTempFile(const std::string& folder) {
    thread_local std::mt19937_64 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "LHA%08llx.tmp",
                      static_cast<unsigned long long>(random() & 0xFFFFFFFF));
        const std::string path = WithTrailingSeparator(folder.empty() ? std::string(".") : folder) + name;
        if (std::FILE* f = std::fopen(path.c_str(), "wbx")) {
            std::fclose(f);
            return path;
        }
    }
    throw EInOutError("Cannot create a temporary file in " + PrintableName(folder));
}

std::string CreateWorkFile(const std::string& path, const std::string& avoid) {
    std::error_code ec;
    const std::string avoided = std::filesystem::absolute(avoid, ec).string();
    std::string first;
    for (const char* extension :
         {".$$$", ".$$0", ".$$1", ".$$2", ".$$3", ".$$4", ".$$5", ".$$6", ".$$7", ".$$8", ".$$9"}) {
        const std::string candidate = std::filesystem::path(path).replace_extension(extension).string();
        if (first.empty())
            first = candidate;
        if (EqualsIgnoreCase(std::filesystem::absolute(candidate, ec).string(), avoided))
            continue;
        if (std::FILE* f = std::fopen(candidate.c_str(), "wbx")) {
            std::fclose(f);
            std::filesystem::permissions(
                candidate, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write, ec);
            return candidate;
        }
    }
    throw EInOutError("Cannot create " + PrintableName(first));
}

void CopyOwnerAndMode(const std::string& from, const std::string& to) {
    std::error_code ec;
    const auto mode = std::filesystem::status(from, ec).permissions();
    if (ec)
        return;
#if __has_include(<unistd.h>)
    // Owners exist on Unix systems only. Changing the owner may clear the set-user and set-group
    // bits, so the permissions come after it.
    struct stat st {};
    if (stat(from.c_str(), &st) == 0 && chown(to.c_str(), st.st_uid, st.st_gid) != 0 &&
        chown(to.c_str(), static_cast<uid_t>(-1), st.st_gid) != 0) {
        // Neither is allowed: the file stays this user's, with the permissions of `from`.
    }
#endif
    std::filesystem::permissions(to, mode, ec);
}

void RemoveQuietly(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
}

} // namespace verasco::archive
