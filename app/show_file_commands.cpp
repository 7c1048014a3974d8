#include "show_file_commands.h"

#include "confirm_dialog.h"
#include "ovc_table.h"
#include "show_document.h"
#include "show_slides.h"
#include "wait_cursor.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>

ShowFileCommands::ShowFileCommands(ShowDocument& show, ShowSlides& slides, QLineEdit& showNameField,
                                   Tconfirmfrm& confirm)
    : show_(show), slides_(slides), showNameField_(showNameField), confirm_(confirm) {}

ShowFile::ReadResult ShowFileCommands::ReadShowFile(const QString& path) {
    std::optional<WaitCursor> hourglass(std::in_place);
    const ShowFile::ReadResult result = ShowFile::read(path, show_);
    if (result.invalid()) {
        // A damaged file leaves an empty show, which the grid has to show as such.
        slides_.UpdateShowGrid();
        slides_.showImagesCount();
        hourglass.reset();
        confirm_.message(QStringLiteral("Error"), QStringLiteral("Invalid Verasco File!"), QString());
        return result;
    }
    if (!result.ok())
        return result;
    buildThumbnails(path);
    return result;
}

void ShowFileCommands::buildThumbnails(const QString& path) {
    QLabel& status = slides_.countLabel();
    TOvcTable& grid = slides_.grid();
    const int count = show_.SlideCount;
    showNameField_.setText(path);
    status.setText(ShowFile::readingStatusText(0, count));
    status.repaint();

    const QString folder = ShowFile::folderOf(path);
    for (int i = 0; i < count; ++i) {
        ShowFile::repairSlidePaths(show_, i, folder);
        slides_.buildThumbnailForRead(i);
        status.setText(ShowFile::readingStatusText(i + 1, count));
        status.repaint();
    }

    grid.setAllowRedraw(true);
    grid.setActiveCell(0, 0);
    slides_.UpdateShowGrid();
    const int rows = show_.gridRowCount();
    grid.setTopRow(rows > 4 ? rows - 4 : 0);
    grid.InvalidateTable();
    slides_.showImagesCount();
}

ShowFile::WriteResult ShowFileCommands::WriteShowFile(const QString& path) {
    std::optional<WaitCursor> hourglass(std::in_place);
    const ShowFile::WriteResult result = ShowFile::write(path, show_);
    hourglass.reset();
    if (result.ok)
        showNameField_.setText(path);
    else
        confirm_.message(QStringLiteral("Error"), QStringLiteral("The show could not be saved."),
                         result.errorString);
    return result;
}
