// SPDX-License-Identifier: MIT
#pragma once
// The three programs every package carries, shipped with Verasco (platform/shipped_files.h): the
// head, the player and the decoding run-time.

#include <QString>

namespace PackagePrograms {

// Whether all three are in `folder`.
bool present(const QString& folder);

// Where the running program's copies are: the first of its shipped-file folders that holds all
// three, else its own folder.
QString folder();

} // namespace PackagePrograms
