// SPDX-License-Identifier: MIT
#pragma once
// The program's mark for window decorations and task switchers: picture files in several sizes,
// none read until the icon is first drawn. Reading the first picture file makes Qt load every
// image format plug-in it has, which would otherwise count against the program's start.

#include <QIcon>

QIcon programIcon();
