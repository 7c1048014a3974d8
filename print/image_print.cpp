// SPDX-License-Identifier: MIT
#include "image_print.h"

#include "image_print_layout.h"
#include "print_image_dialog.h"
#include "tphoto.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace print {

ImagePrint::ImagePrint(const PrintContext& context, Tprint1Dlg& dialog)
    : context_(context), dialog_(dialog) {}

void ImagePrint::PrintSlide1Click(const ImageSource& source) {
    if (!context_.printer->setup(context_.window))
        return;
    const QString path = source.path.trimmed();
    if (path.isEmpty() || path.compare(QLatin1String("BLANK"), Qt::CaseInsensitive) == 0) {
        context_.inform(QCoreApplication::translate("ImagePrint", "Information"),
                        QCoreApplication::translate("ImagePrint", "Blank picture!"), QString());
        return;
    }
    if (!singleImageFits(measurePrinter(context_.printer->printer()))) {
        context_.reportPaperTooSmall();
        return;
    }
    if (!loadPicture(path)) {
        context_.inform(QCoreApplication::translate("ImagePrint", "Information"),
                        QCoreApplication::translate("ImagePrint", "Picture cannot be loaded!"),
                        QFileInfo(path).fileName());
        return;
    }
    if (dialog_.confirm(source.thumbnail, path) != Tprint1Dlg::Print)
        return;
    printPage(QFileInfo(path).fileName());
}

bool ImagePrint::loadPicture(const QString& path) {
    const BusyState busy;
    TPhoto& photo = *context_.photo;
    const PageMeasures measures = measurePrinter(context_.printer->printer());
    // The picture is printed no larger than the usable area.
    const ReducedDecode reduced(photo, measures.pixels(singleImageArea(measures)));
    photo.setAutoSize(TPhoto::AutoSizeOwnSize);
    photo.setFileName(path);
    return photo.FXError() == 0;
}

void ImagePrint::printPage(const QString& name) {
    const BusyState busy;
    TPhoto& photo = *context_.photo;
    nameDocument(context_.printer->printer(), name);
    const QRect place =
        placeSingleImage(measurePrinter(context_.printer->printer()), QSize(photo.IWidth(), photo.IHeight()));
    photo.setPrinterTop(place.top());
    photo.setPrinterLeft(place.left());
    photo.setPrinterWidth(place.width());
    photo.setPrinterHeight(place.height());
    PageJobs jobs(*context_.printer);
    QPainter* painter = jobs.beginPage();
    if (!painter) {
        context_.reportPrinterFailure();
        return;
    }
    printLogo(*context_.logo, *painter);
    photo.setPrinterhDC(painter);
    jobs.endPage();
    if (!jobs.finish())
        context_.reportPrinterFailure();
}

} // namespace print
