// SPDX-License-Identifier: MIT
// The private folder of a Windows package: a new folder under the user's temporary folder, named
// unpredictably, holding a lock file that the head and the player keep open without sharing its
// deletion, so that a later start can tell a folder left by a head that was ended outright from one
// in use, and remove it. Plain Win32 without the C++ library, for the head's size.
#pragma once

#include <windows.h>

#include <cstdint>

namespace verasco::head {

constexpr int PathSize = 1024; // the longest path the head works with, in UTF-16 units

class WinFolder {
  public:
    // Makes the folder, with its subfolders "show" and "tmp". False, with the reason in `why`
    // (`whySize` characters, at least 300), when no folder can be made or the temporary folder has not
    // `space` bytes free.
    bool create(const wchar_t* prefix, uint64_t space, char* why, int whySize);
    ~WinFolder() { remove(); }

    const wchar_t* show() const { return show_; }
    const wchar_t* scratch() const { return scratch_; }
    // Removes the folder with everything in it now; later calls do nothing.
    void remove();

  private:
    wchar_t path_[PathSize] = {};
    wchar_t show_[PathSize] = {};
    wchar_t scratch_[PathSize] = {};
    HANDLE lock_ = INVALID_HANDLE_VALUE;
};

// Removes the folders of the temporary folder whose names begin with `prefix` that no head or
// player holds any more.
void RemoveStaleFolders(const wchar_t* prefix);

// Appends `text` to the zero-terminated `to` of `size` units; false when it does not fit.
bool Append(wchar_t* to, int size, const wchar_t* text);

} // namespace verasco::head
