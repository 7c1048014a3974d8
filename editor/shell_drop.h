// SPDX-License-Identifier: MIT
#pragma once
// Files dropped from the file manager on the show grid: appended after the last slide, in drop order.

#include <QStringList>

class ShowSlides;

// Appends the accepted images among paths (at most the first 500, while the show has room), as one
// step of the show's history; non-images and files that are gone are left out without a word.
void appendDroppedFiles(ShowSlides& slides, const QStringList& paths);
