// SPDX-License-Identifier: MIT
#pragma once
// The printer of the run and the print jobs on it: the printer setup dialog, pages started and ended
// as the printer wants them, the busy state while printing, and the printer's text.

#include "show_print_layout.h"

#include <QCursor>
#include <QFont>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QTemporaryFile>

#include <functional>
#include <memory>

class TPhoto;

namespace print {

// The printer chosen in the printer setup dialog, kept for the whole run.
class PrinterChoice {
  public:
    // A printer file is written at this resolution: the printed pictures keep the detail of a good
    // photo print and the file stays small enough to mail.
    static constexpr int FileResolution = 300;

    PrinterChoice();
    ~PrinterChoice();
    // Made when first asked for, so that the printing service is not started with the program.
    QPrinter& printer();
    // Runs the printer setup dialog (through the dialog seams); false when it was cancelled.
    bool setup(QWidget* parent);
    // True when the pages go to a PDF file rather than to a printer.
    bool toFile() { return printer().outputFormat() == QPrinter::PdfFormat; }
    // The printer's name, or the file's, for messages.
    QString targetName();

  private:
    std::unique_ptr<QPrinter> printer_;
};

// The measures of the printer as it is set up now.
PageMeasures measurePrinter(const QPrinter& printer);

// The pages of one print run. A printer gets every page as a print job of its own; a printer file
// gets all pages in one document, in order, because a later job would replace the file of an earlier
// one. The file is written under a temporary name beside it and takes its own name only when the run
// is finished, so that a cancelled or failed run leaves no half-written file, and an earlier file of
// that name stays whole until then. A preview gets all pages on the printer it was given.
class PageJobs {
  public:
    enum class Delivery { JobPerPage, File, OneDocument };

    explicit PageJobs(PrinterChoice& printer);
    PageJobs(QPrinter& printer, Delivery delivery);
    // A run that was not finished is cancelled.
    ~PageJobs();
    PageJobs(const PageJobs&) = delete;
    PageJobs& operator=(const PageJobs&) = delete;

    // The painter for the next page; null when the printer cannot be started.
    QPainter* beginPage();
    void endPage();
    // Ends the run; a printer file now takes its name. False when the file cannot be completed.
    bool finish();
    // Ends the run without its file: a printer file is removed and the name keeps what it held.
    void cancel();

  private:
    bool startFile();
    void restoreFileName();

    QPrinter& printer_;
    Delivery delivery_;
    QPainter painter_;
    QString fileName_;
    std::unique_ptr<QTemporaryFile> work_;
};

// The name of the job in the printer's queue, and the title and maker of a printer file.
void nameDocument(QPrinter& printer, const QString& name);

// The hourglass pointer, for as long as it lives; given the main window, only over that window, which
// is disabled meanwhile, so that the progress of a run can be cancelled with the usual pointer.
class BusyState {
  public:
    explicit BusyState(QWidget* window = nullptr);
    ~BusyState();
    BusyState(const BusyState&) = delete;
    BusyState& operator=(const BusyState&) = delete;

  private:
    QPointer<QWidget> window_;
    bool overridden_;
    bool hadCursor_ = false;
    QCursor cursor_;
};

// Sets the imaging control's reduced decode box for as long as it lives.
class ReducedDecode {
  public:
    ReducedDecode(TPhoto& photo, QSize pixels);
    ~ReducedDecode();
    ReducedDecode(const ReducedDecode&) = delete;
    ReducedDecode& operator=(const ReducedDecode&) = delete;

  private:
    TPhoto& photo_;
    QSize before_;
};

// The font of every printed text: "arial", 8 points, regular.
QFont printerFont();
// Writes a line with the top of its text at the line's point.
void drawTextLine(QPainter& painter, const TextLine& line);
// Places the logo control at its corner and prints it; the program's mark is drawn into a logo
// control that holds no picture yet.
void printLogo(TPhoto& logo, QPainter& painter);

// A message through the program's confirmation dialog: caption, text and second line.

} // namespace print
