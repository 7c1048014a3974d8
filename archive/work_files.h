// Files the archive component works through: new temporary files and their quiet removal.
#pragma once

#include <string>

namespace verasco::archive {

// A new, empty file with a unique name beginning "LHA" in `folder` (the current folder when empty).
std::string CreateTempFile(const std::string& folder);

// Removes a file; a failure is ignored.
void RemoveQuietly(const std::string& path);

} // namespace verasco::archive
