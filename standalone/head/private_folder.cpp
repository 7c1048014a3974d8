#include "private_folder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <sys/stat.h>
#include <vector>

namespace verasco::head {

std::string TemporaryFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::error_code ec;
    if (tmp && *tmp && std::filesystem::is_directory(tmp, ec))
        return tmp;
    return "/tmp";
}

PrivateFolder::PrivateFolder(const std::string& prefix) {
    std::string pattern = TemporaryFolder() + "/" + prefix + "XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    // mkdtemp creates the folder with mode 0700 under a name nobody could take first.
    if (!mkdtemp(buffer.data()))
        throw std::runtime_error("cannot create a folder in " + TemporaryFolder() + ": " +
                                 std::strerror(errno));
    path_ = buffer.data();
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
}

} // namespace verasco::head
