// SPDX-License-Identifier: MIT
#pragma once
// The File menu's print commands as the main window hands them on: the show print, the single image
// print and the printer setup, sharing one printer for the run.

#include "image_print.h"
#include "show_print.h"
#include "tell_user.h"

#include <functional>

class ShowDocument;
class TPhoto;
class Tprint1Dlg;
class Tprintdlg;

class PrintCommands {
  public:
    struct Windows {
        QWidget* mainWindow;
        Tprintdlg* printDialog;
        Tprint1Dlg* imageDialog;
    };

    // photo draws the pictures; logo receives the program's mark when it is first printed. showName gives the
    // show name field's text for the header.
    PrintCommands(const Windows& windows, TPhoto& photo, TPhoto& logo, ShowDocument& show,
                  std::function<QString()> showName, TellUser inform);

    void FilePrint() { showPrint_.FilePrint(); }
    void FilePrintSetup();
    void PrintSlide1Click(const print::ImageSource& source) { imagePrint_.PrintSlide1Click(source); }

    print::PrinterChoice& printer() { return printer_; }

  private:
    print::PrinterChoice printer_;
    print::PrintContext context_;
    print::ShowPrint showPrint_;
    print::ImagePrint imagePrint_;
};
