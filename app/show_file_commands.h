// SPDX-License-Identifier: MIT
#pragma once
// Reading and writing show files as the main window does it: the hourglass, the "Read i of N..."
// progress under the grid, the repair of moved paths, every slide's thumbnail, and the messages
// (a damaged block of the show's own data is a note in the status line, the slides are read).

#include "show_file.h"

#include <QCoreApplication>
#include <QString>

#include <functional>

class ShowDocument;
class ShowNameField;
class ShowSlides;
class Tconfirmfrm;
class ShowGridView;

class ShowFileCommands {
    Q_DECLARE_TR_FUNCTIONS(ShowFileCommands)

  public:
    ShowFileCommands(ShowDocument& show, ShowSlides& slides, ShowNameField& showName, Tconfirmfrm& confirm);

    // Replaces the show by the file's content and builds every thumbnail; the path becomes the
    // show's name. A file that is no show file is reported with "Invalid Verasco File!".
    ShowFile::ReadResult ReadShowFile(const QString& path);
    // Writes the show; on success the path becomes the show's name. A failure is reported with
    // the system's reason, or as a folder to avoid when no new file can be made there, and
    // leaves an earlier file of that name whole.
    ShowFile::WriteResult WriteShowFile(const QString& path);

    // Called with the path of each show file read or written whole.
    void setShowFileHandler(std::function<void(const QString&)> handler) {
        showFileUsed_ = std::move(handler);
    }

  private:
    // Repairs the paths, makes the records and the show's data the show and builds the thumbnails;
    // the last file found under a path too long to be stored, if any. A damaged extension block is
    // noted in the status line.
    QString load(const QString& path, ShowFile::ReadResult read);

    ShowDocument& show_;
    ShowSlides& slides_;
    ShowGridView& view_;
    ShowNameField& showName_;
    Tconfirmfrm& confirm_;
    std::function<void(const QString&)> showFileUsed_;
};
