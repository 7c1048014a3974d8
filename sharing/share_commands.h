// SPDX-License-Identifier: MIT
#pragma once
// File > "Save as Vi&deo..." and File > "Save as &Web Page...": a name chosen in the save dialog, or
// the page's folder in the folder dialog, new or holding an earlier page (the overwrite question
// when it exists, No asking again), the video's settings, the work on a
// thread of its own with a progress dialog and Cancel, and a message at the end saying that it was
// written, or why not. One runs at a time; one asked for meanwhile starts when it has ended.

#include "tell_user.h"

#include <QCoreApplication>
#include <QString>

#include <functional>

class QWidget;
class ShowDocument;

namespace sharing {

class VideoDialog;

// The program's own questions and messages (the confirmation dialog).
struct SharePrompts {
    // "File already exists, overwrite older file?": false when the answer is No.
    std::function<bool()> overwrite;
    // A question with Yes and No: true for Yes.
    std::function<bool(const QString& text, const QString& line2)> ask;
    TellUser message;
};

struct ShareParts {
    const ShowDocument* show = nullptr;
    QString* slideDirectory = nullptr; // the show folder; becomes the folder of what was written
    std::function<bool()> loop;        // the show starts again after its last slide
    std::function<int()> fadeMs;       // the viewer's cross-fade between slides; 0 for a plain cut
    QWidget* window = nullptr;         // the main window, which the dialogs belong to
    SharePrompts prompts;
    std::function<QString()>
        showName; // the name the dialogs propose: the show file's, without folder or extension
};

class ShareCommands {
    Q_DECLARE_TR_FUNCTIONS(ShareCommands)

  public:
    explicit ShareCommands(ShareParts parts) : parts_(std::move(parts)) {}

    void saveVideo();
    void saveWebPage();
    // The messages of one kind of export.
    struct Headlines;

  private:
    void runOne(void (ShareCommands::*command)());
    void writeVideo();
    void writeWebPage();
    // With `selectedFilter`, the dialog offers the filters of `filter` and says which was chosen.
    QString chooseTarget(const QString& caption, const QString& name, const QString& filter,
                         const std::function<QString(const QString&)>& complete,
                         const std::function<bool(const QString&)>& acceptable,
                         QString* selectedFilter = nullptr);
    QString choosePageFolder(const Headlines& what);
    // The show's name, or "show" for a show without one.
    QString proposedName() const;
    void report(int result, const Headlines& what, const QString& reason, const QString& target);

    ShareParts parts_;
    VideoDialog* videoDialog_ = nullptr;
    bool busy_ = false;
    void (ShareCommands::*asked_)() = nullptr; // a command asked for while another ran
};

} // namespace sharing
