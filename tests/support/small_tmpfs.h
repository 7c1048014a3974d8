// SPDX-License-Identifier: MIT
#pragma once
// A tmpfs of a few kilobytes mounted on a folder while the object lives: a disk that fills up at once,
// or one made read-only. Only root may mount; mounted() tells whether it worked.

#include <string>
#include <sys/mount.h>

class SmallTmpfs {
  public:
    explicit SmallTmpfs(std::string folder, const std::string& size = "64k") : folder_(std::move(folder)) {
        mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, ("size=" + size).c_str()) == 0;
    }
    ~SmallTmpfs() {
        if (mounted_)
            ::umount2(folder_.c_str(), MNT_DETACH);
    }
    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;

    bool mounted() const { return mounted_; }
    // From now on nothing on it may be changed, by root neither.
    bool makeReadOnly() {
        return mounted_ && ::mount("tmpfs", folder_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

  private:
    std::string folder_;
    bool mounted_ = false;
};
