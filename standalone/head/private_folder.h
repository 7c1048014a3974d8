// SPDX-License-Identifier: MIT
// A new folder that only this user can enter (mode 0700), created under an unpredictable name and
// removed with everything in it when the object goes. It lies in the temporary folder, or, where
// programs may not run from there, in $XDG_RUNTIME_DIR or ~/.cache. While it is in use it is locked
// (the lock passes on to the player), so that a later start can tell a folder left by a head that was
// killed from one in use, and remove it.
#pragma once

#include <cstdint>
#include <string>

namespace verasco::head {

class PrivateFolder {
  public:
    // Throws std::runtime_error with the system's reason when no folder can be made, and when the
    // folder it would lie in has not `space` bytes free.
    PrivateFolder(const std::string& prefix, uint64_t space);
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    const std::string& path() const { return path_; }
    // Creates a folder of the same mode inside this one and returns its path. Throws
    // std::runtime_error with the system's reason.
    std::string makeSubfolder(const std::string& name) const;
    // Removes the folder with everything in it now, following no symbolic link (a link that a
    // program left inside is removed itself, never what it points to); later calls do nothing.
    void remove();

  private:
    std::string path_;
    int lock_ = -1;
};

// "N MB needed": the space `bytes` take, in whole megabytes rounded up.
std::string SpaceNeeded(uint64_t bytes);

// Removes the folders whose names begin with `prefix`, of this user, that no head or player holds any more,
// in every folder a private folder may lie in.
void RemoveStaleFolders(const std::string& prefix);

} // namespace verasco::head
