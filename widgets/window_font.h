// SPDX-License-Identifier: MIT
#pragma once
// The font of the program's windows and thumbnail captions at the given point size: "MS Sans Serif"
// on Windows, where every installation has it, and the platform's own interface font elsewhere.

#include <QFont>

QFont windowFont(int pointSize);
