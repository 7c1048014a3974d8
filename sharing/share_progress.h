// SPDX-License-Identifier: MIT
#pragma once
// A video or web page export run on a thread of its own while the window thread shows a progress
// dialog with Cancel and goes on serving the windows.

#include "share_work.h"

#include <functional>

class QWidget;

namespace sharing {

// Runs `work` and returns what it gave back once it has ended; Cancel in the dialog asks it to stop.
// The dialog ("shareProgress") is modal over `parent`.
ShareOutcome runWithProgress(QWidget* parent, const QString& label,
                             const std::function<ShareOutcome(const ShareControl&)>& work);

} // namespace sharing
