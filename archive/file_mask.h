// SPDX-License-Identifier: MIT
// File name masks ("*.bmp", "img??.*") and the file system facts the archive component needs:
// DOS-style attributes and MS-DOS dates of files, and listing a folder by mask.
#pragma once

#include "member_name.h"

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace verasco::archive {

// True when `name` matches `mask`: both split at their first "." into base and extension and
// compared without regard to case, "?" matching one character (not byte) and "*" the rest of the
// part.
bool MatchesMask(const std::string& name, const std::string& mask);

// The DOS attribute of a file: 0x10 folder, 0x20 archive (regular file), 0x01 read-only.
int FileAttribute(const std::string& path);

// MS-DOS date (high 16 bits) and time (low 16 bits) of a time, local time; times before 1980 become
// its first day, those after 2107 keep their day and time in 2107.
uint32_t DosDateTimeOf(std::time_t t);

// The time of an MS-DOS date and time (local time); -1 when there is none.
std::time_t TimeOfDosDateTime(uint16_t date, uint16_t time);

// MS-DOS date (high 16 bits) and time (low 16 bits) of the file's last write, local time.
uint32_t FileDosDateTime(const std::string& path);

// Sets the last-write time of a file from an MS-DOS date and time; errors are ignored.
void SetFileDosDateTime(const std::string& path, uint16_t date, uint16_t time);

// True for a mask of at least 3 characters ending in "/S" (any case): it searches sub-folders too.
bool HasSubfolderSuffix(const std::string& mask);

// Lists `folder` (sub-folders too when the mask ends in "/S", but not through links to folders)
// into `list`; see TCompLHA::FindFiles.
void FindMatchingFiles(std::vector<std::string>& list, std::string folder, bool includeAll, std::string mask);

} // namespace verasco::archive
