// SPDX-License-Identifier: MIT
#include "app_windows.h"

#include "about_box.h"
#include "confirm_dialog.h"
#include "frame_fill.h"
#include "look_field.h"
#include "main_window.h"
#include "pic_form.h"
#include "pref_dialog.h"
#include "preview_form.h"
#include "print_dialog.h"
#include "print_image_dialog.h"
#include "save_exe_dialog.h"
#include "search_form.h"
#include "select_dialog.h"
#include "show_form.h"
#include "text_dialog.h"
#include "window_font.h"

#include <QApplication>
#include <QDialog>

AppWindows* createAppWindows(ContentsTiming timing) {
    // Every window of the program, dialogs included, is drawn in the same font.
    QApplication::setFont(windowFont(8));
    // Image Properties previews a slide as the show draws it.
    LookPreview::setDraw(&FrameFill::drawSlide);
    auto* w = new AppWindows;
    w->MainFormverasco = new TMainFormverasco;
    QWidget* main = w->MainFormverasco;
    w->textdlg = new Ttextdlg(main, timing);
    w->picfrm = new Tpicfrm(main);
    w->confirmfrm = new Tconfirmfrm(main, timing);
    w->saveexedlg = new Tsaveexedlg(main, timing);
    w->print1Dlg = new Tprint1Dlg(main, timing);
    w->srchform = new Tsrchform(main, timing);
    // The program's title is the main window's caption, "Morvant Verasco". No application display
    // name is set: the platform would append it to every window's caption.
    w->selectDlg = new TselectDlg(main, timing);
    w->AboutBox = new TAboutBox(main, timing);
    w->prefFrm = new TprefFrm(main, timing);
    w->showFrm = new TshowFrm(w->MainFormverasco->document(), w->MainFormverasco->flags(), main, timing);
    w->previewfrm = new Tpreviewfrm(w->MainFormverasco->flags(), main);
    w->printdlg = new Tprintdlg(main, timing);
    w->MainFormverasco->setWindows(w);
    return w;
}

void AppWindows::buildContents() const {
    for (QObject* child : MainFormverasco->children()) {
        if (const auto* window = dynamic_cast<const DeferredContents*>(child))
            window->buildContents();
    }
}

AppWindows::~AppWindows() {
    delete MainFormverasco; // owns the other windows
}
