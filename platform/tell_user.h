// SPDX-License-Identifier: MIT
#pragma once
// How a part of the program tells the user something through the program's message dialog: its
// caption ("Error", "Information"), its first line and its second line (often empty).

#include <QString>

#include <functional>

using TellUser = std::function<void(const QString& caption, const QString& text, const QString& line2)>;
