// SPDX-License-Identifier: MIT
#pragma once
// The start of a package, from ./show.exe to the first slide on screen, beside Debian's lhasa
// expanding the same archive followed by the start of the player (benchmarks PackageStart and
// LhasaAndPlayerStart).

#include <QString>

// A 1600 x 1200 JPEG photograph for the slides of the package.
bool makeShowPhoto(const QString& path);
// The package the benchmarks start, and a folder they may use.
void setStartPackage(const QString& package, const QString& scratch);
