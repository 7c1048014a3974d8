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
    throw EInOutError("Cannot create a temporary file in " + folder);
}

void RemoveQuietly(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
}

} // namespace verasco::archive
