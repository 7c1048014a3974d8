#include "shell_drop.h"

#include "show_document.h"
#include "show_slides.h"
#include "wait_cursor.h"

#include <QCoreApplication>
#include <QLabel>

namespace {
// Files appended between two looks at the window.
constexpr int FilesPerStep = 16;
} // namespace

void appendDroppedFiles(ShowSlides& slides, const QStringList& paths) {
    if (paths.isEmpty())
        return;
    const WaitCursor hourglass;
    ShowDocument& show = slides.show();
    QLabel& label = slides.countLabel();
    const int before = show.SlideCount;
    const QStringList taken = paths.mid(0, ShowDocument::MaxSlides);
    const QString tooLongPrefix = pathTooLongText(QString());
    QString tooLong;
    for (qsizetype first = 0; first < taken.size() && show.SlideCount < ShowDocument::MaxSlides;
         first += FilesPerStep) {
        slides.appendImageSlides(taken.mid(first, FilesPerStep));
        // A file left out for its long path is named once the drop is done.
        if (label.text().startsWith(tooLongPrefix))
            tooLong = label.text();
        // The count so far, and the window repainted; clicks and keys wait until the drop is done.
        slides.showImagesCount();
        label.repaint();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (slides.drawingStopped()) // the window closed meanwhile
            break;
    }
    if (!tooLong.isEmpty())
        label.setText(tooLong);
    if (show.SlideCount != before)
        show.ShowModified = true;
}
