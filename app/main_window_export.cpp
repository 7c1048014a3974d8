// SPDX-License-Identifier: MIT
// The main window's side of the stand-alone export: what the export works with, from this window.
#include "main_window.h"

#include "app_windows.h"
#include "confirm_dialog.h"
#include "package_programs.h"
#include "preview_form.h"
#include "show_name_field.h"
#include "standalone_export.h"

void TMainFormverasco::SaveStandaloneSlideShow1Click() {
    if (!standaloneExport_) {
        Tconfirmfrm* confirm = windows_->confirmfrm;
        ExportParts parts;
        parts.show = &show_;
        parts.slideDirectory = &settings_.SlideDirectory;
        parts.playerOptions = [this] {
            PlayerOptions options;
            options.loop = settings_.LoopSlideShow;
            options.controls = settings_.ShowSlideControls;
            return options;
        };
        parts.window = this;
        parts.status = Label7;
        parts.flags = &flags_;
        parts.dialog = windows_->saveexedlg;
        parts.photo = &windows_->previewfrm->photo();
        parts.prompts.overwrite = [confirm] {
            return confirm->ask(tr("File already exists, overwrite older file?"), QString(), false) ==
                   Tconfirmfrm::Yes;
        };
        parts.prompts.ask = [confirm](const QString& text, const QString& line2) {
            return confirm->ask(text, line2, false) == Tconfirmfrm::Yes;
        };
        parts.prompts.message = [confirm](const QString& caption, const QString& text, const QString& line2) {
            confirm->message(caption, text, line2);
        };
        parts.programsFolder = PackagePrograms::folder();
        parts.packagePlatform = &settings_.PackagePlatform;
        parts.showPath = [this] { return showName_->showPath(); };
        standaloneExport_ = std::make_unique<StandaloneExport>(std::move(parts));
    }
    standaloneExport_->run();
}
