// SPDX-License-Identifier: MIT
#pragma once
// The hourglass pointer for the length of a scope, also when the scope is left early.

#include <QApplication>

class WaitCursor {
  public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
