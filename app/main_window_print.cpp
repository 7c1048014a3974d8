// SPDX-License-Identifier: MIT
// The main window's side of printing: the print commands get the windows, the imaging controls and
// the show, and "Print Image" gets its picture from the grid that has the focus.
#include "main_window.h"

#include "app_windows.h"
#include "confirm_dialog.h"
#include "ovc_table.h"
#include "print_commands.h"
#include "show_grid_view.h"

#include <QLineEdit>

void TMainFormverasco::connectPrintCommands() {
    print_ = std::make_unique<PrintCommands>(
        PrintCommands::Windows{this, windows_->printdlg, windows_->print1Dlg}, *Photo1, *Photo2, show_,
        [this] { return Edit2->text(); },
        [confirm = windows_->confirmfrm](const QString& caption, const QString& text, const QString& line2) {
            confirm->message(caption, text, line2);
        });
}

void TMainFormverasco::FilePrint() {
    print_->FilePrint();
}

void TMainFormverasco::FilePrintSetup() {
    print_->FilePrintSetup();
}

void TMainFormverasco::PrintSlide1Click() {
    print_->PrintSlide1Click(imageToPrint());
}

// The picture "Print Image" prints: the browser's active image while the browser has the focus,
// otherwise the show grid's active slide.
print::ImageSource TMainFormverasco::imageToPrint() const {
    if (OvcTable1->hasFocus()) {
        const int row = OvcTable1->ActiveRow();
        if (row < 0 || row >= folder_.count())
            return {};
        return {folder_.FolderImagePaths[row],
                folder_.FolderThumbnailReady[row] ? (*folder_.FolderThumbnails)[row] : QImage()};
    }
    const int index = showView_->activeIndex();
    if (index < 0 || index >= show_.SlideCount)
        return {};
    return {print::slideImagePath(show_, index), show_.thumbnail(index)};
}
