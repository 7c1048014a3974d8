#include "print_job.h"

#include "dialogs.h"
#include "image_print_layout.h"
#include "logo_mark.h"
#include "tphoto.h"

#include <QApplication>
#include <QFontMetrics>
#include <QWidget>

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

PageJobs::PageJobs(PrinterChoice& printer) : printer_(printer), onePerPage_(!printer.toFile()) {}

PageJobs::~PageJobs() {
    if (painter_.isActive())
        painter_.end();
}

QPainter* PageJobs::beginPage() {
    if (!painter_.isActive())
        return painter_.begin(&printer_.printer()) ? &painter_ : nullptr;
    return printer_.printer().newPage() ? &painter_ : nullptr;
}

void PageJobs::endPage() {
    if (onePerPage_ && painter_.isActive())
        painter_.end();
}

BusyState::BusyState(QWidget* window) : window_(window) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (window_)
        window_->setEnabled(false);
}

BusyState::~BusyState() {
    if (window_)
        window_->setEnabled(true);
    QApplication::restoreOverrideCursor();
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
