// SPDX-License-Identifier: MIT
#include "document_lifecycle.h"

#include "confirm_dialog.h"
#include "dialogs.h"
#include "settings.h"
#include "show_document.h"
#include "show_file_commands.h"
#include "show_grid_view.h"
#include "show_name_field.h"

#include <QDir>
#include <QFileInfo>
#include <QScopedValueRollback>
#include <QWidget>

namespace {
const QString ShowFilter = QStringLiteral("Morvant Verasco (*.vrs)");
} // namespace

DocumentLifecycle::DocumentLifecycle(ShowDocument& show, Settings& settings, ShowGridView& view,
                                     ShowFileCommands& files, Tconfirmfrm& confirm, ShowNameField& showName,
                                     QWidget* dialogParent)
    : show_(show), settings_(settings), view_(view), files_(files), confirm_(confirm), showName_(showName),
      dialogParent_(dialogParent) {}

bool DocumentLifecycle::askToKeepChanges() {
    if (!show_.ShowModified)
        return false;
    const int answer = confirm_.askSaveChanges(showName_.text().trimmed());
    // Yes saves as File > Save does. A show emptied since it was read or saved is saved as it stands
    // too, when the person asks so.
    if (answer == Tconfirmfrm::Yes)
        return !save(Emptied::Save);
    return answer != Tconfirmfrm::No;
}

void DocumentLifecycle::FileNew() {
    if (askToKeepChanges())
        return;
    show_.clear();
    showName_.forgetShowPath();
    view_.showAnew(1);
}

void DocumentLifecycle::rememberFolderOf(const QString& path) {
    settings_.SlideDirectory = QFileInfo(path).absolutePath();
}

bool DocumentLifecycle::clearForOpen() {
    if (show_.SlideCount > 0 || show_.ShowModified)
        FileNew();
    return show_.SlideCount == 0 && !show_.ShowModified;
}

void DocumentLifecycle::FileOpen() {
    const QString chosen = dialogSeams().getOpenFileName(dialogParent_, tr("Open Existing Verasco"),
                                                         settings_.SlideDirectory, ShowFilter);
    if (chosen.isEmpty())
        return;
    if (dialogParent_)
        dialogParent_->repaint();
    openShow(ShowFile::withShowExtension(chosen.trimmed().left(255)));
}

void DocumentLifecycle::openShow(const QString& path) {
    if (clearForOpen())
        readShow(path);
}

void DocumentLifecycle::readShow(const QString& path) {
    files_.ReadShowFile(path);
    rememberFolderOf(path);
}

bool DocumentLifecycle::FileSaveAs() {
    return saveAs(Emptied::Refuse);
}

bool DocumentLifecycle::saveAs(Emptied emptied) {
    for (;;) {
        const QString chosen =
            dialogSeams().getSaveFileName(dialogParent_, tr("Save Verasco"),
                                          QDir(settings_.SlideDirectory).filePath("show.vrs"), ShowFilter);
        if (chosen.isEmpty() || (show_.SlideCount == 0 && emptied == Emptied::Refuse))
            return false;
        const QString path = ShowFile::withShowExtension(chosen);
        // Only Yes replaces the file: No, Esc and the close box ask for another name.
        if (QFileInfo::exists(path) && confirm_.ask(tr("File already exists, overwrite older file?"),
                                                    QString(), false) != Tconfirmfrm::Yes)
            continue;
        // The show counts as saved only once the file is really written.
        if (!files_.WriteShowFile(path).ok)
            return false;
        show_.markSaved();
        rememberFolderOf(path);
        return true;
    }
}

bool DocumentLifecycle::FileSave() {
    return save(Emptied::Refuse);
}

bool DocumentLifecycle::save(Emptied emptied) {
    const QString path = showName_.showPath();
    if (path.isEmpty() || (show_.SlideCount == 0 && emptied == Emptied::Refuse))
        return saveAs(emptied);
    if (!files_.WriteShowFile(path).ok)
        return false;
    show_.markSaved();
    rememberFolderOf(path);
    return true;
}

bool DocumentLifecycle::FormCloseQuery() {
    return !askToKeepChanges();
}

void DocumentLifecycle::Edit2Enter() {
    showName_.remember();
}

void DocumentLifecycle::Edit2Exit() {
    commitTypedName();
}

void DocumentLifecycle::Edit2KeyPress() {
    const QString typed = showName_.text();
    commitTypedName();
    showName_.setText(typed);
}

void DocumentLifecycle::commitTypedName() {
    // The questions and messages of a commit take the focus away; that is no second commit.
    if (committing_)
        return;
    const QScopedValueRollback<bool> busy(committing_, true);
    const QString name = showName_.text().trimmed();
    showName_.setText(name);
    if (name.compare(showName_.remembered(), Qt::CaseInsensitive) == 0)
        return;
    if (!QFileInfo(name).isFile()) {
        showName_.setText(showName_.remembered());
        return;
    }
    if (!clearForOpen())
        return;
    files_.ReadShowFile(name);
    // Also a file that proved to be no show: it is not offered again at the next focus change.
    showName_.remember();
}
