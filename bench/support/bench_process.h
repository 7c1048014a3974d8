// SPDX-License-Identifier: MIT
#pragma once
// What every Qt benchmark program sets up about itself: the platform it draws on and a look at its
// own memory.

#include <QByteArray>
#include <QtGlobal>

#include <fstream>
#include <string>

// The offscreen platform unless QT_QPA_PLATFORM names another, so that a benchmark runs without a
// display. Called before the QApplication is made.
inline void preferOffscreenPlatform() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// This process's resident memory in kilobytes (VmRSS), or -1 when it cannot be read.
inline long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}
