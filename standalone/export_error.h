// SPDX-License-Identifier: MIT
#pragma once
// Why an export stopped, as the message tells it: a first line, and a second line that names the
// file and the system's reason.

#include <QString>

struct ExportError {
    QString text;
    QString line2;
    bool cancelled = false; // the user chose to stop: nothing more to tell
};
