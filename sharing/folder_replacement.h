// SPDX-License-Identifier: MIT
#pragma once
// An earlier folder of the same kind replaced by a new one, keeping what the user added to it: only
// the files that the earlier folder's own work made go.

#include <QString>

#include <functional>

namespace sharing {

// Whether a path inside a folder (with '/', no leading one) names a file or folder of its own work.
using OwnFiles = std::function<bool(const QString& relative)>;

// Puts the folder `work` in the place of the folder `target`: every file, link and folder of
// `target` that `earlierOwn` does not claim moves into `work` first, and what is left goes. False
// with *error when a kept file is where `work` has one of its own or a move fails; both folders are
// then as they were.
bool replaceFolderKeepingOthers(const QString& work, const QString& target, const OwnFiles& earlierOwn,
                                QString* error);

} // namespace sharing
