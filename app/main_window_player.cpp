// SPDX-License-Identifier: MIT
// The main window's side of the player: opening the preview window and the viewer, and what they
// need from the main window while they are open.
#include "main_window.h"

#include "app_windows.h"
#include "confirm_dialog.h"
#include "desktop_settings.h"
#include "ovc_table.h"
#include "pref_dialog.h"
#include "preview_form.h"
#include "show_form.h"
#include "show_grid.h"
#include "show_grid_view.h"
#include "slide_paths.h"

#include <QGuiApplication>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

namespace {

// The screen of that name; the main window's when it is not connected, or when none was chosen.
QScreen* screenNamed(const QString& name, QScreen* mainWindowScreen) {
    for (QScreen* screen : QGuiApplication::screens())
        if (!name.isEmpty() && screen->name() == name)
            return screen;
    return mainWindowScreen;
}

} // namespace

void TMainFormverasco::connectPlayerWindows() {
    Tpreviewfrm* preview = windows_->previewfrm;
    Tconfirmfrm* confirm = windows_->confirmfrm;
    preview->setInformUser([confirm](const QString& caption, const QString& text, const QString& line2) {
        confirm->message(caption, text, line2);
    });
    preview->setRepaintGrids([this] { repaintGrids(); });

    ViewerHost host;
    host.switches = [this] {
        return ShowSwitches{
            settings_.ShowSlideControls,
            settings_.LoopSlideShow,
            settings_.HideEditor,
            settings_.FullScreen,
            screenNamed(settings_.ViewerScreen, screen()),
            settings_.crossFadeMs(),
            settings_.ReduceMotion == QLatin1String("On") ||
                (settings_.ReduceMotion == QLatin1String("System") && desktopReducesMotion())};
    };
    host.editPreferences = [this] {
        TprefFrm& preferences = *windows_->prefFrm;
        preferences.setViewerSwitchesEnabled(false);
        runPreferences(preferences, settings_, show_, agreeToDefaults());
        preferences.setViewerSwitchesEnabled(true);
    };
    host.viewerOpened = [this](bool hideEditor) {
        if (hideEditor)
            hide();
        else
            setEditorUsable(false);
    };
    host.viewerClosed = [this](bool hideEditor) {
        if (hideEditor)
            show();
        else
            setEditorUsable(true);
        repaintGrids();
    };
    windows_->showFrm->setHost(std::move(host));
    BitBtn2->setEnabled(true);
    connect(BitBtn2, &QPushButton::clicked, this, &TMainFormverasco::BitBtn2Click);
}

// While the viewer is open the main window takes no input. Its contents are disabled rather than the
// window itself, which would disable the dialogs it owns (the preferences the viewer opens).
void TMainFormverasco::setEditorUsable(bool usable) {
    centralWidget()->setEnabled(usable);
    menuBar()->setEnabled(usable);
}

// A show that plays ends with the program.
void TMainFormverasco::closeViewer() {
    if (windows_ && windows_->showFrm->isVisible())
        windows_->showFrm->close();
}

bool TMainFormverasco::viewerOpen() const {
    return windows_ && windows_->showFrm->isVisible();
}

void TMainFormverasco::BitBtn2Click() {
    startShow(true);
}

void TMainFormverasco::Slideshow1Click() {
    startShow(false);
}

void TMainFormverasco::ResumeSlideshow1Click() {
    if (!windows_->showFrm->canResume())
        return;
    BitBtn2->setFocus();
    windows_->showFrm->ResumeShow();
}

// "&Play Verasco" plays from the slide active in the show grid, View > "Ver&asco" opens on the first.
void TMainFormverasco::startShow(bool autoPlay) {
    if (show_.SlideCount == 0)
        return;
    const int active =
        ShowGrid::indexAt(OvcTable2->ActiveRow(), OvcTable2->ActiveCol(), OvcTable2->ColumnCount());
    BitBtn2->setFocus();
    windows_->showFrm->StartShow(autoPlay, autoPlay && active < show_.SlideCount ? active : 0);
}

void TMainFormverasco::repaintGrids() {
    OvcTable1->InvalidateTable();
    OvcTable2->InvalidateTable();
}

void TMainFormverasco::SingleSlide1Click() {
    if (OvcTable1->hasFocus()) {
        const int row = OvcTable1->ActiveRow();
        if (row >= 0 && row < folder_.count())
            windows_->previewfrm->OpenPreview(folder_.FolderImagePaths[row]);
    } else if (OvcTable2->hasFocus()) {
        const int index = showView_->activeIndex();
        if (index < show_.SlideCount)
            windows_->previewfrm->OpenPreview(imagePathOf(show_.slide(index)));
    }
}

void TMainFormverasco::OvcTable2DblClick(int row, int col) {
    OvcTable2->setFocus();
    const int index = ShowGrid::indexAt(row, col, OvcTable2->ColumnCount());
    if (index < show_.SlideCount)
        windows_->previewfrm->OpenPreview(imagePathOf(show_.slide(index)));
}
