// SPDX-License-Identifier: MIT
#pragma once
// Wine, where the tests run packages for Windows: the program, its Windows folders in the build tree,
// quiet and without the .NET and browser installers, made whole once before the first package runs.

#include <QProcessEnvironment>
#include <QString>

// Wine's 64-bit loader; empty when Wine is not installed.
QString wine();

inline const QString WinePrefix = QStringLiteral(VERASCO_BINARY_DIR "/wine-prefix");

QProcessEnvironment wineEnvironment();
// Makes Wine's Windows folders whole, once; false when Wine could not.
bool wholeWinePrefix();
