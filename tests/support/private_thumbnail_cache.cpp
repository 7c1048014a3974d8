// SPDX-License-Identifier: MIT
// Every test program gets a shared thumbnail cache ($XDG_CACHE_HOME) and a data folder ($XDG_DATA_HOME,
// where the desktop's list of recently used files lives) of its own, empty at its start and removed at
// its end, so that no test reads or writes the user's files and no test sees another one's entries.
// Programs the tests start inherit them. Standard C++ only: every test program links it.
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

class PrivateThumbnailCache {
  public:
    PrivateThumbnailCache() : owner_(::getpid()) {
        const char* temporary = std::getenv("TMPDIR");
        std::string folder =
            std::string(temporary && *temporary ? temporary : "/tmp") + "/verasco-test-cache-XXXXXX";
        if (::mkdtemp(folder.data())) {
            folder_ = folder;
            ::setenv("XDG_CACHE_HOME", folder_.c_str(), 1);
            ::setenv("XDG_DATA_HOME", (folder_ + "/data").c_str(), 1);
        }
    }
    ~PrivateThumbnailCache() {
        // A forked child that ends normally leaves the folder to its parent.
        if (!folder_.empty() && ::getpid() == owner_) {
            std::error_code ignored;
            std::filesystem::remove_all(folder_, ignored);
        }
    }
    PrivateThumbnailCache(const PrivateThumbnailCache&) = delete;
    PrivateThumbnailCache& operator=(const PrivateThumbnailCache&) = delete;

  private:
    pid_t owner_;
    std::string folder_;
};

const PrivateThumbnailCache cache;

} // namespace
