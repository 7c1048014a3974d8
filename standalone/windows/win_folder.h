// SPDX-License-Identifier: MIT
// The private folder of a Windows package: a new folder under the user's temporary folder, named
// unpredictably, holding a lock file that the head and the player keep open without sharing its
// deletion, so that a later start can tell a folder left by a head that was ended outright from one
// in use, and remove it. Removed with everything in it when the object goes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace verasco::head {

class WinFolder {
  public:
    // Throws std::runtime_error with the system's reason when no folder can be made, and when the
    // temporary folder has not `space` bytes free.
    WinFolder(const std::wstring& prefix, uint64_t space);
    ~WinFolder();
    WinFolder(const WinFolder&) = delete;
    WinFolder& operator=(const WinFolder&) = delete;

    // Creates a folder inside this one and returns its path.
    std::wstring makeSubfolder(const std::wstring& name) const;
    // Removes the folder with everything in it now; later calls do nothing.
    void remove();

  private:
    std::wstring path_;
    HANDLE lock_ = INVALID_HANDLE_VALUE;
};

// Removes the folders of the temporary folder whose names begin with `prefix` that no head or
// player holds any more.
void RemoveStaleFolders(const std::wstring& prefix);

// The path in the system's 8-bit code page that the C++ library opens files by: the short form of
// `path` where the long one has characters outside that code page.
std::string NarrowPath(const std::wstring& path);

// The system's reason for the last failure, in words.
std::string LastError();

} // namespace verasco::head
