#include "work_files.h"

#include "lha_errors.h"
#include "member_name.h"

#include <cstdio>
#include <filesystem>
#include <random>

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
            return candidate;
        }
    }
    throw EInOutError("Cannot create " + PrintableName(first));
}

void RemoveQuietly(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
}

} // namespace verasco::archive
