// SPDX-License-Identifier: MIT
#pragma once
// The start of a Windows package under Wine, from the command to the first slide on screen (the
// player's report line), on an X server of its own (benchmark WindowsPackageStartUnderWine, beside
// PackageStart of the Linux package of the same show).

#include <QString>

// Starts the X server that the packages of both systems play on, on a display number of its own
// choosing, and names it in DISPLAY for the programs started after; false where Xvfb is missing.
bool startPackageDisplay();
// The Windows package the benchmark starts, and a folder it may use for Wine's Windows folders.
// False, with the reason, where Wine or Xvfb is missing or Wine cannot be prepared.
bool setWinePackage(const QString& package, const QString& scratch, QString& why);
// Ends the X server and Wine's server.
void endWine();
