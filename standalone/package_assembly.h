#pragma once
// The last step of an export: the player and the run-time join the package folder, and the package
// file is written: the head, then one level-0 "-lh5-" member per file of the folder, in the order
// the folder lists them, without an end marker.

#include "export_error.h"

#include <QString>

#include <optional>

struct AssemblyJob {
    QString programsFolder; // holds verasco1.dat, verasco2.dat and verasco3.dat
    QString packageFolder;
    QString target;
};

// The package is written beside the target and replaces an earlier file of that name only once it
// is complete, with the executable bit; a failure leaves no half-written file.
std::optional<ExportError> assemblePackage(const AssemblyJob& job);

// The name of the run-time inside a package.
inline constexpr char RuntimeMemberName[] = "qpxrun30.dll";
