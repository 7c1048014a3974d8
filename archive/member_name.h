// SPDX-License-Identifier: MIT
// Names of files and archive members: folder separators and splitting, letter case, drives, the
// name a file is stored under, the name a member is expanded under, and the printable form of a
// name for messages.
#pragma once

#include <string>

namespace verasco::archive {

// "/" and "\" both separate folders, in file paths and in stored names.
bool IsSeparator(char c);

// Splits at the last separator: the folder part with its separator, and the name.
void SplitPath(const std::string& path, std::string& folder, std::string& name);

// The folder part of a path, with its separator; empty when there is none.
std::string FolderOf(const std::string& path);

// `path` with a separator at its end, unless it is empty or has one.
std::string WithTrailingSeparator(const std::string& path);

// The name with the platform's folder separator in place of "/" and "\".
std::string PlatformName(const std::string& name);

// Upper- and lower-cases letters: names are UTF-8, as the file system has them, and letters beyond
// ASCII change case as Unicode says ("café" and "CAFÉ"); bytes that are not UTF-8 stay as they are.
// Upper case is that of a member's stored name (MemberNames::stored), which the packages' heads and
// players find members by; lower case is the system's.
std::string UpperCaseName(const std::string& name);
std::string LowerCaseName(const std::string& name);

// Compares two names without regard to letter case.
bool EqualsIgnoreCase(const std::string& a, const std::string& b);

// The characters of a name, one each: UTF-8 sequences as their code points, any other byte b as
// 0xDC00 + b, so that no two names share a result.
std::u32string NameCharacters(const std::string& name);

// Drops a leading "X:" drive.
std::string DropDrive(const std::string& name);

// Whether this system's paths can begin with a drive. Where they cannot, "a:b.txt" is a file name
// and keeps its colon when it is stored.
#ifdef _WIN32
inline constexpr bool kPathsHaveDrives = true;
#else
inline constexpr bool kPathsHaveDrives = false;
#endif

// The name as this system would name a file: without a leading drive where paths have drives.
std::string DropSystemDrive(const std::string& name);

// Options that turn a file path into the name stored in the archive.
struct StoredNameOptions {
    bool storePath = false;
    std::string targetPath; // cut from the front (any letter case) when storePath is on
    bool upperCase = false; // level 0, or ForceUpperCase
};

// Stored name of `filePath`: drive dropped (where paths have them), folder kept only with storePath,
// "/" turned into "\".
std::string BuildStoredName(const std::string& filePath, const StoredNameOptions& options);

// The name a member is expanded under, below the target folder: the stored name without leading
// separators and without a drive ("X:"; kept where the member was made on a Unix system, OS
// identifier "U", on which it is part of the file name). False for a name that would climb out of
// the target folder with a ".." component, or that names nothing.
bool ExpansionName(const std::string& stored, char osId, std::string& name);

// The name as it may be shown on a terminal or in a message: control characters (C0, DEL, C1)
// and bytes that are not UTF-8 are written as \xNN.
std::string PrintableName(const std::string& name);

} // namespace verasco::archive
