// Names of files and archive members: folder separators and splitting, letter case, drives and the
// name a file is stored under.
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

// Upper- and lower-cases letters.
std::string UpperCaseName(const std::string& name);
std::string LowerCaseName(const std::string& name);

// Compares two names without regard to letter case.
bool EqualsIgnoreCase(const std::string& a, const std::string& b);

// Drops a leading "X:" drive.
std::string DropDrive(const std::string& name);

// Options that turn a file path into the name stored in the archive.
struct StoredNameOptions {
    bool storePath = false;
    std::string targetPath; // cut from the front (any letter case) when storePath is on
    bool upperCase = false; // level 0, or ForceUpperCase
};

// Stored name of `filePath`: drive dropped, folder kept only with storePath, "/" turned into "\".
std::string BuildStoredName(const std::string& filePath, const StoredNameOptions& options);

// True for a member name that would leave the target folder: absolute, with a drive, or with "..".
bool IsUnsafeMemberName(const std::string& name);

} // namespace verasco::archive
