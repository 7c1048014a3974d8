// SPDX-License-Identifier: MIT
#include "show_file_commands.h"

#include "confirm_dialog.h"
#include "show_document.h"
#include "show_grid_view.h"
#include "show_name_field.h"
#include "show_slides.h"
#include "wait_cursor.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <optional>

namespace {
// The message when the folder of a show being saved lets no new file be made in it.
QString folderRefusedText(const QString& showPath, const Tconfirmfrm& confirm) {
    // The message wraps at blanks: a folder path too long for a line is shortened in its middle.
    const QString folder = confirm.fitToLine2(QDir::toNativeSeparators(QFileInfo(showPath).absolutePath()));
    return QCoreApplication::translate("ShowFileCommands",
                                       "The folder %1 cannot be written; choose another place")
        .arg(folder);
}
} // namespace

ShowFileCommands::ShowFileCommands(ShowDocument& show, ShowSlides& slides, ShowNameField& showName,
                                   Tconfirmfrm& confirm)
    : show_(show), slides_(slides), view_(slides.view()), showName_(showName), confirm_(confirm) {}

ShowFile::ReadResult ShowFileCommands::ReadShowFile(const QString& path) {
    std::optional<WaitCursor> hourglass(std::in_place);
    ShowFile::ReadResult result = ShowFile::read(path);
    if (result.invalid()) {
        // A damaged file leaves an empty show, which the grid has to show as such.
        if (result.status == ShowFile::ReadStatus::InvalidStructure)
            show_.clear();
        view_.showAnew();
        hourglass.reset();
        confirm_.message(tr("Error"), tr("Invalid Verasco File!"), QString());
        return result;
    }
    if (!result.ok())
        return result;
    const QString tooLong = load(path, result);
    hourglass.reset();
    if (showFileUsed_)
        showFileUsed_(path);
    if (!tooLong.isEmpty())
        confirm_.message(tr("Error"), tr("Path too long to keep in the show:"), confirm_.fitToLine2(tooLong));
    return result;
}

QString ShowFileCommands::load(const QString& path, ShowFile::ReadResult read) {
    const QString folder = ShowFile::folderOf(path);
    QString tooLong;
    for (TSlideRecord& record : read.records) {
        const ShowFile::RepairOutcome repair = ShowFile::repairSlidePaths(record, folder);
        if (!repair.tooLong.isEmpty())
            tooLong = repair.tooLong;
    }
    ShowExtension::Data& data = read.extension;
    show_.load(std::move(read.records), std::move(data.show), std::move(data.slides));
    showName_.setShowName(path);
    const int count = show_.SlideCount;
    view_.showReadProgress(0, count);
    slides_.buildThumbnailsForRead(count);
    view_.showAnew();
    view_.showImagesCount();
    if (!data.damage.isEmpty())
        view_.showNote(ShowExtension::damageNote(data.damage));
    return tooLong;
}

ShowFile::WriteResult ShowFileCommands::WriteShowFile(const QString& path) {
    std::optional<WaitCursor> hourglass(std::in_place);
    const ShowFile::WriteResult result = ShowFile::write(path, show_);
    hourglass.reset();
    if (result.ok) {
        showName_.setShowName(path);
        if (showFileUsed_)
            showFileUsed_(path);
    } else if (result.folderRefused)
        confirm_.message(tr("Error"), folderRefusedText(path, confirm_));
    else
        confirm_.message(tr("Error"), tr("The show could not be saved."), result.errorString);
    return result;
}
