// SPDX-License-Identifier: MIT
#pragma once
// The three programs every package carries, shipped with Verasco (platform/shipped_files.h): the
// head, the player and the decoding run-time; one set for each system a package runs on. The Windows
// set is built only where the MinGW-w64 cross compiler is at hand.

#include <QString>

enum class PackagePlatform { Windows, Linux };

namespace PackagePrograms {

// The names of a platform's three programs in the programs folder.
struct Names {
    const char* head;
    const char* player;
    const char* runtime;
};
Names names(PackagePlatform platform);

// The platform's name as the settings store it ("Windows", "Linux"), and back; an unknown name
// reads as Windows.
QString platformName(PackagePlatform platform);
PackagePlatform platformNamed(const QString& name);

// Whether all three programs of `platform` are in `folder`.
bool present(const QString& folder, PackagePlatform platform = PackagePlatform::Linux);

// Where the running program's copies are: the first of its shipped-file folders that holds the
// Linux set, else its own folder. The Windows set lies beside it where it was built.
QString folder();

} // namespace PackagePrograms
