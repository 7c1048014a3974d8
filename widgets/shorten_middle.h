// SPDX-License-Identifier: MIT
#pragma once
// A text too wide for its place shortened in its middle, as a long path is shown in one line.

#include <QString>

#include <functional>

// The text as it is when `fits` takes it; otherwise the character at position length div 2 (counted
// from 1) goes until the rest fits with "...", which then stands in front of that position. A
// single character is kept even when it does not fit.
QString shortenMiddle(QString text, const std::function<bool(const QString&)>& fits);
