// SPDX-License-Identifier: MIT
// Files the archive component works through: new temporary files, the work file of an archive
// being rewritten, and their quiet removal.
#pragma once

#include <string>

namespace verasco::archive {

// A new, empty file with a unique name beginning "LHA" in `folder` (the current folder when empty).
std::string CreateTempFile(const std::string& folder);

// A new, empty file named like `path` with the extension ".$$$", or ".$$0" to ".$$9" when that
// name is taken or is `avoid` (compared without regard to case). Never an existing file. Only its
// owner may read it: it is to receive the members of an archive that may be private.
std::string CreateWorkFile(const std::string& path, const std::string& avoid);

// Gives `to` the permissions of `from`, and its owner and group as far as the system lets this
// user, so that a file put in the place of `from` is open to the same people.
void CopyOwnerAndMode(const std::string& from, const std::string& to);

// Removes a file; a failure is ignored.
void RemoveQuietly(const std::string& path);

} // namespace verasco::archive
