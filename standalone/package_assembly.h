// SPDX-License-Identifier: MIT
#pragma once
// The last step of an export: the player and the run-time join the package folder, and the package
// file is written: the head, then one level-0 "-lh5-" member per file the export put there, the
// player first (the head finds it so, whatever the package is called later), without an end marker.

#include "export_error.h"
#include "package_programs.h"
#include "slide_pass.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

struct AssemblyJob {
    QString programsFolder; // holds the three programs of each system (package_programs.h)
    QString packageFolder;
    QString target;
    std::vector<PackageFile> files; // what the slide pass wrote
    // Told, before it is made, the name of the package file to be written beside the target and the
    // name it is made under until it takes that one.
    std::function<void(const QString& path, const QString& madeAs)> partialFile;
    PackagePlatform platform = PackagePlatform::Linux; // whose head, player and run-time are packed
};

// The package is written beside the target, through the descriptor of a file made new there, and
// replaces an earlier file of that name only once it is complete, with the executable bit; a
// failure, and a member that could not be packed, leave no half-written file.
std::optional<ExportError> assemblePackage(const AssemblyJob& job);

// The name of the run-time inside a package.
inline constexpr char RuntimeMemberName[] = "qpxrun30.dll";
