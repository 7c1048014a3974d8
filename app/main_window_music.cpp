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
#include "music_dialog.h"
#include "music_fit.h"
#include "show_extension.h"
#include "tap_times_dialog.h"

#include <QApplication>

namespace {
const char* const MusicFilter = QT_TRANSLATE_NOOP(
    "TMainFormverasco", "Sound files (*.wav *.mp3 *.ogg *.opus *.flac *.m4a);;All files (*)");
} // namespace

// A show without music asks for its files at once; one with music shows them to be changed.
void TMainFormverasco::Music1Click() {
    const auto choose = [this] {
        return dialogSeams().getOpenFileNames(this, tr("Music"), settings_.SlideDirectory, tr(MusicFilter));
    };
    if (ShowExtension::musicPaths(show_.showData()).isEmpty()) {
        const QStringList paths = choose();
        if (paths.isEmpty())
            return;
        const ShowDocument::Step step(show_, tr("Music"));
        show_.setShowData(ShowExtension::withMusic(show_.showData(), paths));
        return;
    }
    const auto lengths = [](const QStringList& paths) {
        sharing::CodecBackend* codec = sharing::codecBackend(nullptr);
        std::map<QString, std::int64_t> none;
        for (const QString& path : paths)
            none.emplace(path, -1);
        return codec ? sharing::soundLengths(*codec, paths) : none;
    };
    MusicDialog dialog(show_, choose, lengths, this);
    dialog.exec();
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

void TMainFormverasco::TapTimes1Click() {
    TapTimesDialog dialog(show_, this);
    if (dialog.exec() == QDialog::Accepted)
        dialog.apply();
}

void TMainFormverasco::RefreshCaptions1Click() {
    CaptionSources::refreshAll(show_);
}

void TMainFormverasco::applyMusicRules() {
    const bool timeable = show_.SlideCount > 0 && !ShowExtension::musicPaths(show_.showData()).isEmpty();
    applyMenuRules(*this, {{"FitToMusic1", timeable},
                           {"TapTimes1", timeable},
                           {"RefreshCaptions1", CaptionSources::anySourced(show_)}});
}
