// SPDX-License-Identifier: MIT
#pragma once
// How the program looks: like the desktop ("System"), or light or dark whatever the desktop is.
// Light and Dark draw with the Fusion style and a palette of their own; System follows the
// desktop's colour scheme as the freedesktop portal tells it, also when the desktop changes it while
// the program runs, and without a portal keeps the style and palette the platform gave the program.

#include <QPalette>
#include <QString>

enum class ColorScheme { None, Dark, Light };

// The desktop's "color-scheme" from org.freedesktop.portal.Settings; None without a portal or a
// preference.
ColorScheme desktopColorScheme();

QPalette darkPalette();
QPalette lightPalette();

// Applies the "APPEARANCE" setting to the whole program; nothing changes when the program already
// looks that way.
void applyAppearance(const QString& appearance);
