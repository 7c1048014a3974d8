// SPDX-License-Identifier: MIT
// The main window's side of the show's music: Edit > Music... chooses the files, Edit > Fit Slides to
// Music times the slides to them; and Edit > Refresh Captions takes captions from the photos again.
// Each is one step of the show's history.
#include "main_window.h"

#include "app_windows.h"
#include "caption_sources.h"
#include "codec_module.h"
#include "confirm_dialog.h"
#include "dialogs.h"
#include "main_menus.h"
#include "music_fit.h"
#include "show_extension.h"

#include <QApplication>

namespace {
const char* const MusicFilter = QT_TRANSLATE_NOOP(
    "TMainFormverasco", "Sound files (*.wav *.mp3 *.ogg *.opus *.flac *.m4a);;All files (*)");
} // namespace

void TMainFormverasco::Music1Click() {
    const QStringList paths =
        dialogSeams().getOpenFileNames(this, tr("Music"), settings_.SlideDirectory, tr(MusicFilter));
    if (paths.isEmpty())
        return;
    const ShowDocument::Step step(show_, tr("Music"));
    show_.setShowData(ShowExtension::withMusic(show_.showData(), paths));
}

void TMainFormverasco::FitToMusic1Click() {
    QString why;
    sharing::CodecBackend* codec = sharing::codecBackend(&why);
    if (codec)
        why = sharing::fitSlidesToMusic(show_, *codec);
    if (why.isEmpty())
        return;
    QApplication::beep();
    windows_->confirmfrm->message(tr("Fit Slides to Music"), why, QString());
}

void TMainFormverasco::RefreshCaptions1Click() {
    CaptionSources::refreshAll(show_);
}

void TMainFormverasco::applyMusicRules() {
    applyMenuRules(*this, {{"FitToMusic1",
                            show_.SlideCount > 0 && !ShowExtension::musicPaths(show_.showData()).isEmpty()},
                           {"RefreshCaptions1", CaptionSources::anySourced(show_)}});
}
