// SPDX-License-Identifier: MIT
#pragma once
// The desktop's list of recently used files (the freedesktop.org bookmark file
// "recently-used.xbel" in the user's data folder), which file choosers and file managers show.
// Every program adds to the same file, so entries of other programs are kept as they are.

#include <QString>

// Where the list lives: $XDG_DATA_HOME/recently-used.xbel.
QString recentlyUsedListPath();

// Records that this program opened or saved the file now: a new entry, or the file's entry with its
// times and this program's count brought up to date. A list that is not well-formed XML, or too big
// to be such a list, is left untouched; false then, and when the list could not be written.
bool addRecentlyUsedFile(const QString& path, const QString& mimeType);
