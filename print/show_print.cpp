#include "show_print.h"

#include "print_dialog.h"
#include "show_document.h"
#include "tphoto.h"

#include <QDateTime>
#include <QFontMetrics>
#include <QLocale>
#include <QPainter>

namespace print {

QString slideImagePath(const ShowDocument& show, int index) {
    return show.imagePath(index);
}

void PrintContext::reportPrinterFailure() const {
    inform(QStringLiteral("Error"), QStringLiteral("Cannot print to:"), printer->targetName());
}

namespace {

QString slideText(const ShowDocument& show, int index) {
    return QString::fromLocal8Bit(QByteArray::fromStdString(show.slide(index).Text.str()));
}

} // namespace

ShowPrint::ShowPrint(const PrintContext& context, ShowDocument& show, Tprintdlg& dialog,
                     std::function<QString()> showName)
    : context_(context), show_(show), dialog_(dialog), showName_(std::move(showName)) {}

void ShowPrint::FilePrint() {
    if (dialog_.exec() != Tprintdlg::Print)
        return;
    if (!context_.printer->setup(context_.window))
        return;
    print(dialog_.options());
}

void ShowPrint::print(const PrintOptions& options) {
    BusyState busy(context_.window);
    const ShowPrintLayout layout(options, measurePrinter(context_.printer->printer()));
    // A picture needs no more pixels than its cell has on the printer.
    const ReducedDecode reduced(*context_.photo, layout.cellPixels());
    PageJobs jobs(*context_.printer);
    for (int page = 0; page < layout.pageCount(show_.SlideCount); ++page) {
        QPainter* painter = jobs.beginPage();
        if (!painter) {
            context_.reportPrinterFailure();
            return;
        }
        printPage(*painter, layout, page);
        jobs.endPage();
    }
}

bool ShowPrint::loadSlide(int index) {
    // A blank slide names no file; there is nothing to load.
    if (show_.isBlank(index))
        return false;
    TPhoto& photo = *context_.photo;
    photo.setFileName(slideImagePath(show_, index));
    photo.Refresh();
    return photo.FXError() == 0;
}

void ShowPrint::printPage(QPainter& painter, const ShowPrintLayout& layout, int page) {
    painter.setFont(printerFont());
    painter.setPen(QPen(Qt::black, 0));
    const QFontMetrics metrics(painter.font(), painter.device());
    const TextWidth textWidth = [&metrics](const QString& text) { return metrics.horizontalAdvance(text); };
    TPhoto& photo = *context_.photo;
    const int first = page * layout.slidesPerPage();
    int printed = 0; // the frame numbers count only the pictures printed on this page
    for (int cell = 0; cell < layout.slidesOnPage(page, show_.SlideCount); ++cell) {
        if (!loadSlide(first + cell))
            continue;
        const CellPicture picture{QSize(photo.IWidth(), photo.IHeight()), photo.FileName(),
                                  slideText(show_, first + cell), ++printed};
        const CellPlan plan = layout.cell(cell, picture, textWidth);
        photo.setPrinterTop(plan.picture.top());
        photo.setPrinterLeft(plan.picture.left());
        photo.setPrinterWidth(plan.picture.width());
        photo.setPrinterHeight(plan.picture.height());
        photo.setPrinterhDC(&painter);
        drawTextLine(painter, plan.caption);
        for (const QLine& rule : plan.rules)
            painter.drawLine(rule);
        for (const TextLine& line : plan.comments)
            drawTextLine(painter, line);
    }
    if (layout.options().header)
        drawTextLine(painter, layout.header(headerText()));
    if (layout.options().footer)
        drawTextLine(painter, layout.footer(layout.options().footerText));
    printLogo(*context_.logo, painter);
}

QString ShowPrint::headerText() const {
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    return locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(now.time(), QLocale::LongFormat) + QStringLiteral(" - Filename: ") + showName_();
}

} // namespace print
