// SPDX-License-Identifier: MIT
#pragma once
// Every window of the program, created once in a fixed order and kept for the whole run.

#include "deferred_window.h"

#include <QStringList>

class TMainFormverasco;
class Ttextdlg;
class Tpicfrm;
class Tconfirmfrm;
class Tsaveexedlg;
class Tprint1Dlg;
class Tsrchform;
class TselectDlg;
class TAboutBox;
class TprefFrm;
class TshowFrm;
class Tpreviewfrm;
class Tprintdlg;

struct AppWindows {
    TMainFormverasco* MainFormverasco = nullptr;
    Ttextdlg* textdlg = nullptr;
    Tpicfrm* picfrm = nullptr;
    Tconfirmfrm* confirmfrm = nullptr;
    Tsaveexedlg* saveexedlg = nullptr;
    Tprint1Dlg* print1Dlg = nullptr;
    Tsrchform* srchform = nullptr;
    TselectDlg* selectDlg = nullptr;
    TAboutBox* AboutBox = nullptr;
    TprefFrm* prefFrm = nullptr;
    TshowFrm* showFrm = nullptr;
    Tpreviewfrm* previewfrm = nullptr;
    Tprintdlg* printdlg = nullptr;

    ~AppWindows();

    // Builds the controls of every window that has not built them yet.
    void buildContents() const;
};

// Creates the windows in the program's order, the main window first. The main window is not shown
// yet. With WhenNeeded, the other windows are created with their names but build their controls
// when first shown or used, or when buildContents() is called.
AppWindows* createAppWindows(ContentsTiming timing = ContentsTiming::Now);
