#include "document_lifecycle.h"

#include "confirm_dialog.h"
#include "dialogs.h"
#include "ovc_table.h"
#include "settings.h"
#include "show_document.h"
#include "show_file_commands.h"
#include "show_slides.h"
#include "thumbnails.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>

namespace {
const QString ShowFilter = QStringLiteral("Morvant Verasco (*.vrs)");
constexpr int VisibleSlots = 20; // the four rows the show grid shows
} // namespace

DocumentLifecycle::DocumentLifecycle(ShowDocument& show, Settings& settings, ShowSlides& slides,
                                     ShowFileCommands& files, Tconfirmfrm& confirm, QLineEdit& showNameField,
                                     QWidget* dialogParent)
    : show_(show), settings_(settings), slides_(slides), files_(files), confirm_(confirm),
      showNameField_(showNameField), dialogParent_(dialogParent) {}

bool DocumentLifecycle::askToKeepChanges() {
    if (!show_.ShowModified || show_.SlideCount == 0)
        return false;
    const int answer = confirm_.askSaveChanges(showNameField_.text().trimmed());
    if (answer == Tconfirmfrm::Yes)
        return !FileSaveAs();
    return answer != Tconfirmfrm::No;
}

void DocumentLifecycle::FileNew() {
    if (askToKeepChanges())
        return;
    show_.SlideCount = 0;
    if (!FullClear)
        return;
    show_.ShowModified = false;
    if (enableAddButtons_)
        enableAddButtons_(true);
    clearGrid();
}

void DocumentLifecycle::clearGrid() {
    for (int i = 0; i < VisibleSlots; ++i) {
        QImage& thumbnail = show_.thumbnail(i);
        thumbnail = QImage(ThumbnailWidth, ThumbnailHeight, QImage::Format_RGB32);
        thumbnail.fill(Qt::white);
    }
    TOvcTable& grid = slides_.grid();
    grid.setActiveCell(0, 0);
    grid.setRowLimit(1);
    grid.setTopRow(0);
    grid.InvalidateTable();
    slides_.showImagesCount();
    if (dialogParent_)
        dialogParent_->repaint();
}

void DocumentLifecycle::rememberFolderOf(const QString& path) {
    settings_.SlideDirectory = QFileInfo(path).absolutePath();
}

void DocumentLifecycle::FileOpen() {
    if (show_.SlideCount > 0) {
        FullClear = true;
        FileNew();
        if (show_.SlideCount > 0)
            return;
    }
    const QString chosen = dialogSeams().getOpenFileName(dialogParent_, QStringLiteral("Open Existing Verasco"),
                                                         settings_.SlideDirectory, ShowFilter);
    if (chosen.isEmpty())
        return;
    if (dialogParent_)
        dialogParent_->repaint();
    const QString path = ShowFile::withShowExtension(chosen.trimmed().left(255));
    files_.ReadShowFile(path);
    rememberFolderOf(path);
    show_.ShowModified = false;
}

bool DocumentLifecycle::FileSaveAs() {
    for (;;) {
        const QString chosen = dialogSeams().getSaveFileName(
            dialogParent_, QStringLiteral("Save Verasco"), QDir(settings_.SlideDirectory).filePath("show.vrs"),
            ShowFilter);
        if (chosen.isEmpty() || show_.SlideCount == 0)
            return false;
        const QString path = ShowFile::withShowExtension(chosen);
        if (QFileInfo::exists(path) &&
            confirm_.ask(QStringLiteral("File already exists, overwrite older file?"), QString(), false) ==
                Tconfirmfrm::No)
            continue;
        // The show counts as saved only once the file is really written.
        if (!files_.WriteShowFile(path).ok)
            return false;
        show_.ShowModified = false;
        rememberFolderOf(path);
        return true;
    }
}

bool DocumentLifecycle::FormCloseQuery() {
    if (!show_.ShowModified || show_.SlideCount == 0)
        return true;
    FullClear = false;
    FileNew();
    FullClear = true;
    return !show_.ShowModified || show_.SlideCount == 0;
}

void DocumentLifecycle::Edit2Enter() {
    rememberedName_ = showNameField_.text().trimmed();
}

void DocumentLifecycle::Edit2Exit() {
    commitTypedName();
}

void DocumentLifecycle::Edit2KeyPress() {
    const QString typed = showNameField_.text();
    commitTypedName();
    showNameField_.setText(typed);
}

void DocumentLifecycle::commitTypedName() {
    const QString name = showNameField_.text().trimmed();
    showNameField_.setText(name);
    if (name.compare(rememberedName_, Qt::CaseInsensitive) == 0)
        return;
    if (!QFileInfo(name).isFile()) {
        showNameField_.setText(rememberedName_);
        return;
    }
    if (show_.SlideCount > 0) {
        FullClear = true;
        FileNew();
        if (show_.SlideCount > 0)
            return;
    }
    files_.ReadShowFile(name);
    rememberedName_ = name;
}
