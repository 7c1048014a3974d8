// The main window's side of the player: opening the preview window and the viewer, and what they
// need from the main window while they are open.
#include "main_window.h"

#include "app_windows.h"
#include "confirm_dialog.h"
#include "ovc_table.h"
#include "preview_form.h"
#include "slide_paths.h"

void TMainFormverasco::connectPlayerWindows() {
    Tpreviewfrm* preview = windows_->previewfrm;
    Tconfirmfrm* confirm = windows_->confirmfrm;
    preview->setInformUser([confirm](const QString& text, const QString& line2) {
        confirm->message(QStringLiteral("Information"), text, line2);
    });
    preview->setRepaintGrids([this] { repaintGrids(); });
}

void TMainFormverasco::repaintGrids() {
    OvcTable1->InvalidateTable();
    OvcTable2->InvalidateTable();
}

void TMainFormverasco::SingleSlide1Click() {
    if (OvcTable1->hasFocus()) {
        const int row = OvcTable1->ActiveRow();
        if (row >= 0 && row < FolderImagePaths.size())
            windows_->previewfrm->OpenPreview(FolderImagePaths[row]);
    } else if (OvcTable2->hasFocus()) {
        const int index = OvcTable2->ActiveRow() * 5 + OvcTable2->ActiveCol();
        if (index < show_.SlideCount)
            windows_->previewfrm->OpenPreview(slideImagePath(show_, index));
    }
}

void TMainFormverasco::OvcTable2DblClick(int row, int col) {
    OvcTable2->setFocus();
    const int index = row * 5 + col;
    if (index < show_.SlideCount)
        windows_->previewfrm->OpenPreview(slideImagePath(show_, index));
}
