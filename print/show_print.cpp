// SPDX-License-Identifier: MIT
#include "show_print.h"

#include "dialogs.h"
#include "print_dialog.h"
#include "print_placement.h"
#include "show_document.h"
#include "stored_path.h"
#include "tphoto.h"

#include <QAction>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <QPrintPreviewDialog>

namespace print {

QString slideImagePath(const ShowDocument& show, int index) {
    return show.imagePath(index);
}

void PrintContext::reportPrinterFailure() const {
    inform(QCoreApplication::translate("PrintContext", "Error"),
           QCoreApplication::translate("PrintContext", "Cannot print to:"), printer->targetName());
}

void PrintContext::reportPaperTooSmall() const {
    inform(QCoreApplication::translate("PrintContext", "Information"),
           QCoreApplication::translate("PrintContext", "Paper too small!"),
           printer->printer().pageLayout().pageSize().name());
}

namespace {

QString slideText(const ShowDocument& show, int index) {
    return StoredPath::of(show.slide(index).Text);
}

// A picture whose file is not there keeps its place, in a photograph's proportions: a grey area with
// "missing" in it, and its file name under it as any picture has.
constexpr QSize MissingPictureSize(4, 3);

void drawMissingPicture(QPainter& painter, const QRect& twips) {
    const QPaintDevice* device = painter.device();
    const QRectF area = imaging::twipsToDevice(twips.left(), twips.top(), twips.width(), twips.height(),
                                               device->logicalDpiX(), device->logicalDpiY());
    painter.save();
    painter.fillRect(area, QColor(224, 224, 224));
    painter.drawRect(area);
    painter.drawText(area, Qt::AlignCenter, QCoreApplication::translate("ShowPrint", "missing"));
    painter.restore();
}

} // namespace

ShowPrint::ShowPrint(const PrintContext& context, ShowDocument& show, Tprintdlg& dialog,
                     std::function<QString()> showName)
    : context_(context), show_(show), dialog_(dialog), showName_(std::move(showName)) {
    dialog_.setPreview([this](const PrintOptions& options) { preview(options); });
}

void ShowPrint::FilePrint() {
    if (dialog_.exec() != Tprintdlg::Print)
        return;
    if (!context_.printer->setup(context_.window))
        return;
    print(dialog_.options());
}

void ShowPrint::print(const PrintOptions& options) {
    QPrinter& printer = context_.printer->printer();
    const ShowPrintLayout layout(options, measurePrinter(printer));
    if (!layout.fitsPage()) {
        context_.reportPaperTooSmall();
        return;
    }
    BusyState busy(context_.window);
    nameDocument(printer, QFileInfo(showName_().trimmed()).completeBaseName());
    PageJobs jobs(*context_.printer);
    const Outcome outcome = printPages(jobs, layout, context_.window);
    if (outcome == Outcome::Cancelled) {
        jobs.cancel();
    } else if (outcome == Outcome::Failed || !jobs.finish()) {
        jobs.cancel();
        context_.reportPrinterFailure();
    }
}

void ShowPrint::preview(const PrintOptions& options) {
    QPrinter& printer = context_.printer->printer();
    if (!ShowPrintLayout(options, measurePrinter(printer)).fitsPage()) {
        context_.reportPaperTooSmall();
        return;
    }
    QPrintPreviewDialog preview(&printer, &dialog_);
    preview.setObjectName(QStringLiteral("PrintPreview"));
    // Printing starts from the print dialog, through the printer setup dialog, as always; the
    // preview only shows the pages.
    const QString printText = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    for (QAction* action : preview.findChildren<QAction*>())
        if (action->text() == printText)
            action->setVisible(false);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter* pages) {
        // The page may have been turned in the preview.
        const ShowPrintLayout layout(options, measurePrinter(*pages));
        PageJobs jobs(*pages, PageJobs::Delivery::OneDocument);
        if (layout.fitsPage() && printPages(jobs, layout, &preview) == Outcome::Done)
            jobs.finish();
    });
    dialogSeams().runModal(&preview);
}

ShowPrint::Outcome ShowPrint::printPages(PageJobs& jobs, const ShowPrintLayout& layout,
                                         QWidget* progressParent) {
    // The run prints the slides the show holds as it starts.
    QStringList paths;
    missing_.clear();
    for (int index = 0; index < show_.SlideCount; ++index) {
        paths.append(show_.isBlank(index) ? QString() : slideImagePath(show_, index));
        missing_.append(show_.isMissing(index));
    }
    slideCount_ = int(paths.size());
    // A picture needs no more pixels than its cell has on the printer.
    PicturesAhead pictures(paths, layout.cellPixels());
    const int pages = layout.pageCount(slideCount_);
    PrintProgress progress(progressParent, pages);
    for (int page = 0; page < pages; ++page) {
        if (!progress.startPage(page))
            return Outcome::Cancelled;
        QPainter* painter = jobs.beginPage();
        if (!painter)
            return Outcome::Failed;
        printPage(*painter, layout, page, {progress, pictures});
        jobs.endPage();
    }
    return Outcome::Done;
}

// Gives the imaging control the picture of slide `index`; its stored size, or an empty size when
// there is none: a blank slide names no file, and a file may be missing or undecodable.
QSize ShowPrint::loadSlide(int index, PicturesAhead& pictures) {
    const imaging::LoadedImage loaded = pictures.take(index);
    if (loaded.image.isNull())
        return {};
    context_.photo->setPicture(loaded.image);
    return loaded.fullSize;
}

// The pictures of a page first, then their captions, ruled lines and comments, so that no picture
// covers a text.
void ShowPrint::printPage(QPainter& painter, const ShowPrintLayout& layout, int page, PageSource source) {
    painter.setFont(printerFont());
    painter.setPen(QPen(Qt::black, 0));
    const QFontMetrics metrics(painter.font(), painter.device());
    const TextWidth textWidth = [&metrics](const QString& text) { return metrics.horizontalAdvance(text); };
    TPhoto& photo = *context_.photo;
    const int first = page * layout.slidesPerPage();
    int printed = 0; // the frame numbers count only the pictures printed on this page
    QList<CellPlan> plans;
    for (int cell = 0; cell < layout.slidesOnPage(page, slideCount_); ++cell) {
        source.progress.keepAlive();
        const int index = first + cell;
        const QSize loaded = loadSlide(index, source.pictures);
        const bool missing = missing_.at(index);
        const QSize size = missing ? MissingPictureSize : loaded;
        if (size.isEmpty())
            continue;
        const CellPicture picture{size, source.pictures.path(index), slideText(show_, index), ++printed};
        const CellPlan plan = layout.cell(cell, picture, textWidth);
        if (missing) {
            drawMissingPicture(painter, plan.picture);
        } else {
            photo.setPrinterTop(plan.picture.top());
            photo.setPrinterLeft(plan.picture.left());
            photo.setPrinterWidth(plan.picture.width());
            photo.setPrinterHeight(plan.picture.height());
            photo.setPrinterhDC(&painter);
        }
        plans.append(plan);
    }
    for (const CellPlan& plan : plans)
        printTexts(painter, plan);
    if (layout.options().header)
        drawTextLine(painter, layout.header(headerLead(), showName_(), textWidth));
    if (layout.options().footer)
        drawTextLine(painter, layout.footer(layout.options().footerText, textWidth));
    printLogo(*context_.logo, painter);
}

void ShowPrint::printTexts(QPainter& painter, const CellPlan& plan) {
    drawTextLine(painter, plan.caption);
    for (const QLine& rule : plan.rules)
        painter.drawLine(rule);
    for (const TextLine& line : plan.comments)
        drawTextLine(painter, line);
}

QString ShowPrint::headerLead() const {
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    return locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(now.time(), QLocale::LongFormat) +
           QCoreApplication::translate("ShowPrint", " - Filename: ");
}

} // namespace print
