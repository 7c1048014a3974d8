// SPDX-License-Identifier: MIT
#include "print_job.h"

#include "dialogs.h"
#include "image_print_layout.h"
#include "logo_mark.h"
#include "tphoto.h"

#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QWidget>

#include <filesystem>

namespace print {

PageMeasures measurePrinter(const QPrinter& printer) {
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    PageMeasures m;
    m.dpiX = printer.logicalDpiX();
    m.dpiY = printer.logicalDpiY();
    m.paperWidth = qRound(paper.width());
    m.paperHeight = qRound(paper.height());
    m.offsetX = qRound(page.left() - paper.left());
    m.offsetY = qRound(page.top() - paper.top());
    m.pageWidth = printer.width();
    m.pageHeight = printer.height();
    return m;
}

PrinterChoice::PrinterChoice() = default;
PrinterChoice::~PrinterChoice() = default;

QPrinter& PrinterChoice::printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (toFile())
            printer_->setResolution(FileResolution);
    }
    return *printer_;
}

bool PrinterChoice::setup(QWidget* parent) {
    if (!dialogSeams().printSetup(&printer(), parent))
        return false;
    if (toFile())
        printer_->setResolution(FileResolution);
    return true;
}

QString PrinterChoice::targetName() {
    return toFile() ? printer().outputFileName() : printer().printerName();
}

PageJobs::PageJobs(PrinterChoice& printer)
    : PageJobs(printer.printer(), printer.toFile() ? Delivery::File : Delivery::JobPerPage) {}

PageJobs::PageJobs(QPrinter& printer, Delivery delivery) : printer_(printer), delivery_(delivery) {}

PageJobs::~PageJobs() {
    cancel();
}

QPainter* PageJobs::beginPage() {
    if (painter_.isActive())
        return printer_.newPage() ? &painter_ : nullptr;
    if (delivery_ == Delivery::File && !work_ && !startFile())
        return nullptr;
    if (painter_.begin(&printer_))
        return &painter_;
    cancel();
    return nullptr;
}

void PageJobs::endPage() {
    if (delivery_ == Delivery::JobPerPage && painter_.isActive())
        painter_.end();
}

bool PageJobs::finish() {
    const bool ended = !painter_.isActive() || painter_.end();
    if (!work_)
        return ended;
    restoreFileName();
    if (!ended)
        return false;
    // The file gets the permissions of the one it replaces, or those of a new document.
    const QFile::Permissions permissions =
        QFile::exists(fileName_) ? QFile::permissions(fileName_)
                                 : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    work_->setPermissions(permissions);
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(work_->fileName()).toStdString(),
                            QFile::encodeName(fileName_).toStdString(), error);
    if (error)
        return false;
    work_->setAutoRemove(false);
    work_.reset();
    return true;
}

void PageJobs::cancel() {
    if (painter_.isActive())
        painter_.end();
    if (work_) {
        restoreFileName();
        work_.reset();
    }
}

// The printer writes into a new file beside the one it was given.
bool PageJobs::startFile() {
    fileName_ = printer_.outputFileName();
    if (fileName_.isEmpty())
        return false;
    work_ = std::make_unique<QTemporaryFile>(fileName_ + QStringLiteral(".XXXXXX"));
    if (!work_->open()) {
        work_.reset();
        return false;
    }
    work_->close();
    printer_.setOutputFileName(work_->fileName());
    return true;
}

void PageJobs::restoreFileName() {
    printer_.setOutputFileName(fileName_);
}

void nameDocument(QPrinter& printer, const QString& name) {
    printer.setDocName(name.isEmpty() ? QStringLiteral("Verasco") : name);
    printer.setCreator(QStringLiteral("Verasco"));
}

BusyState::BusyState(QWidget* window) : window_(window), overridden_(!window) {
    if (overridden_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        return;
    }
    hadCursor_ = window_->testAttribute(Qt::WA_SetCursor);
    cursor_ = window_->cursor();
    window_->setCursor(Qt::WaitCursor);
    window_->setEnabled(false);
}

BusyState::~BusyState() {
    if (overridden_)
        QApplication::restoreOverrideCursor();
    if (!window_)
        return;
    window_->setEnabled(true);
    if (hadCursor_)
        window_->setCursor(cursor_);
    else
        window_->unsetCursor();
}

ReducedDecode::ReducedDecode(TPhoto& photo, QSize pixels) : photo_(photo), before_(photo.reducedDecodeBox()) {
    photo_.setReducedDecodeBox(pixels);
}

ReducedDecode::~ReducedDecode() {
    photo_.setReducedDecodeBox(before_);
}

QFont printerFont() {
    QFont font(QStringLiteral("arial"));
    font.setPointSize(8);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    // File names are printed letter by letter, without ligatures, so that a PDF's text reads back
    // exactly as the names are spelt.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

void drawTextLine(QPainter& painter, const TextLine& line) {
    const QFontMetrics metrics(painter.font(), painter.device());
    painter.drawText(QPoint(line.at.x(), line.at.y() + metrics.ascent()), line.text);
}

void printLogo(TPhoto& logo, QPainter& painter) {
    // The program's mark is drawn into its control when it is first printed.
    if (logo.IWidth() <= 0)
        logo.setPicture(drawLogoMark());
    const QRect place = placeLogo(QSize(logo.IWidth(), logo.IHeight()));
    logo.setPrinterLeft(place.left());
    logo.setPrinterTop(place.top());
    logo.setPrinterWidth(place.width());
    logo.setPrinterHeight(place.height());
    logo.setPrinterhDC(&painter);
}

} // namespace print
