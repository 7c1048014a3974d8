#pragma once
// Reading and writing show files as the main window does it: the hourglass, the "Read i of N..."
// progress under the grid, the repair of moved paths, every slide's thumbnail, and the messages.

#include "show_file.h"

#include <QString>

class QLineEdit;
class ShowDocument;
class ShowSlides;
class Tconfirmfrm;

class ShowFileCommands {
public:
    ShowFileCommands(ShowDocument& show, ShowSlides& slides, QLineEdit& showNameField, Tconfirmfrm& confirm);

    // Replaces the show by the file's content and builds every thumbnail. A file that is no show
    // file is reported with "Invalid Verasco File!".
    ShowFile::ReadResult ReadShowFile(const QString& path);
    // Writes the show; on success the path goes into the show name field. A failure is reported
    // with the system's reason and leaves an earlier file of that name whole.
    ShowFile::WriteResult WriteShowFile(const QString& path);

private:
    void buildThumbnails(const QString& path);

    ShowDocument& show_;
    ShowSlides& slides_;
    QLineEdit& showNameField_;
    Tconfirmfrm& confirm_;
};
