// SPDX-License-Identifier: MIT
#include "shell_drop.h"

#include "show_document.h"
#include "show_grid_view.h"
#include "show_slides.h"
#include "wait_cursor.h"

#include <QCoreApplication>

namespace {
// Files appended between two looks at the window.
constexpr int FilesPerStep = 16;
} // namespace

void appendDroppedFiles(ShowSlides& slides, const QStringList& paths) {
    if (paths.isEmpty())
        return;
    const WaitCursor hourglass;
    ShowDocument& show = slides.view().show();
    const ShowDocument::Step step(show, QCoreApplication::translate("ShellDrop", "Drop Files"));
    const QStringList taken = paths.mid(0, ShowDocument::MaxSlides);
    QString tooLong;
    for (qsizetype first = 0; first < taken.size() && show.SlideCount < ShowDocument::MaxSlides;
         first += FilesPerStep) {
        // A file left out for its long path is named once the drop is done.
        if (const QString left = slides.appendAcceptedImages(taken.mid(first, FilesPerStep)); !left.isEmpty())
            tooLong = left;
        // The window shows the slides so far; clicks and keys wait until the drop is done.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (slides.drawingStopped()) // the window closed meanwhile
            break;
    }
    if (!tooLong.isEmpty())
        slides.view().showPathTooLong(tooLong);
}
