// SPDX-License-Identifier: MIT
#pragma once
// The program's help: one HTML file shipped with the program (shipped_files.h), shown in one non-modal help
// window that opens at the section of a context number (9 help topics, 10 stand-alone settings, 15 viewer, 20
// print dialog, 30 preferences, 40 image properties).

#include <QString>

class QTextBrowser;

// The shipped help file; when the program has none, the file named by VERASCO_HELP_FILE.
QString helpFilePath();

// The anchor name of a context number's section: "context-9" and so on.
QString helpAnchor(int context);

// Opens (or raises) the help window at the section of the context number.
void showHelpContext(int context);

// Closes the help window if it is open: it belongs to the main window and goes with it.
void closeHelpWindow();

// The help window once it has been opened (objectName "HelpViewer"), else null.
QTextBrowser* helpViewerWindow();
