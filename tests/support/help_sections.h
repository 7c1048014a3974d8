// SPDX-License-Identifier: MIT
#pragma once
// The page of the help a window opened: the heading at the top of the help window. The help is
// read from the source tree, as the tests do not run from an installed program.

#include "help_viewer.h"

#include <QPoint>
#include <QTextBlock>
#include <QTextBrowser>

#include <string>

inline void useTheHelpOfTheSourceTree() {
    qputenv("VERASCO_HELP_FILE", VERASCO_SOURCE_DIR "/packaging/help/verasco.html");
}

// The text at the top of the help window; empty while no help window is shown.
inline std::string helpHeadingShown() {
    const QTextBrowser* help = helpViewerWindow();
    if (!help || !help->isVisible())
        return std::string();
    return help->cursorForPosition(QPoint(2, 2)).block().text().toStdString();
}
