// SPDX-License-Identifier: MIT
#pragma once
// "Print Ver&asco...": the show printed as contact sheets or journals, page by page in show order,
// through the main window's imaging control.

#include "pictures_ahead.h"
#include "print_job.h"
#include "print_progress.h"
#include "show_print_layout.h"
#include "tell_user.h"

#include <functional>

class QPainter;
class ShowDocument;
class TPhoto;
class Tprintdlg;

namespace print {

// What the print commands work with.
struct PrintContext {
    QWidget* window = nullptr; // the main window: parent of the dialogs, disabled while a show prints
    TPhoto* photo = nullptr;   // draws the pictures (the main window's Photo1)
    TPhoto* logo = nullptr;    // holds the logo (Photo2)
    PrinterChoice* printer = nullptr;
    TellUser inform;

    // The message when the printer (or the printer file) cannot be started or completed.
    void reportPrinterFailure() const;
    // The message when the printable area is too small for what is to be printed on it.
    void reportPaperTooSmall() const;
};

// The image path of a slide as the program uses it.
QString slideImagePath(const ShowDocument& show, int index);

class ShowPrint {
  public:
    ShowPrint(const PrintContext& context, ShowDocument& show, Tprintdlg& dialog,
              std::function<QString()> showName);

    // The print dialog, then the printer setup dialog, then the pages; either dialog cancelled
    // prints nothing.
    void FilePrint();
    // Prints every page of the show with these options on the printer as it is set up, showing the
    // progress; cancelled, it leaves no printer file behind.
    void print(const PrintOptions& options);
    // The print preview of the pages these options make, before anything is printed.
    void preview(const PrintOptions& options);

  private:
    enum class Outcome { Done, Cancelled, Failed };
    // Where the page loop takes its pictures from, and shows how far it has got.
    struct PageSource {
        PrintProgress& progress;
        PicturesAhead& pictures;
    };
    Outcome printPages(PageJobs& jobs, const ShowPrintLayout& layout, QWidget* progressParent);
    void printPage(QPainter& painter, const ShowPrintLayout& layout, int page, PageSource source);
    void printTexts(QPainter& painter, const CellPlan& plan);
    QSize loadSlide(int index, PicturesAhead& pictures);
    QString headerLead() const;

    PrintContext context_;
    ShowDocument& show_;
    Tprintdlg& dialog_;
    std::function<QString()> showName_;
    int slideCount_ = 0;  // the slides of the run, fixed when it starts
    QList<bool> missing_; // which of them name a picture that was not found when the show was read
};

} // namespace print
