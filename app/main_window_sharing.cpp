// SPDX-License-Identifier: MIT
// The main window's side of sharing the show as a video and as a web page: what the two commands
// work with, from this window.
#include "main_window.h"

#include "app_windows.h"
#include "confirm_dialog.h"
#include "share_commands.h"
#include "show_name_field.h"

#include <QFileInfo>

QString TMainFormverasco::exportName() const {
    return QFileInfo(showName_->showPath()).completeBaseName();
}

sharing::ShareCommands& TMainFormverasco::shareCommands() {
    if (!share_) {
        Tconfirmfrm* confirm = windows_->confirmfrm;
        sharing::ShareParts parts;
        parts.show = &show_;
        parts.slideDirectory = &settings_.SlideDirectory;
        parts.loop = [this] { return settings_.LoopSlideShow; };
        parts.fadeMs = [this] { return settings_.crossFadeMs(); };
        parts.window = this;
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
        parts.showName = [this] { return exportName(); };
        share_ = std::make_unique<sharing::ShareCommands>(std::move(parts));
    }
    return *share_;
}

void TMainFormverasco::SaveVideo1Click() {
    shareCommands().saveVideo();
}

void TMainFormverasco::SaveWebPage1Click() {
    shareCommands().saveWebPage();
}
