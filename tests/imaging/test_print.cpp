// Printing: the picture lands on the page at the rectangle given in twips, whatever the printer's
// resolution. Checked by rendering the PDF with poppler's pdftoppm.
#include "support.h"
#include "tphoto.h"

#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace imaging_test;

namespace {

TEST(Printing, PictureLandsAtTheTwipRectangle) {
    QTemporaryDir dir;
    QImage red(40, 20, QImage::Format_RGB32);
    red.fill(qRgb(255, 0, 0));
    ASSERT_TRUE(red.save(dir.filePath("red.png")));

    for (int dpi : {300, 600, 1200}) {
        const QString pdf = dir.filePath(QStringLiteral("page%1.pdf").arg(dpi));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setResolution(dpi);
        printer.setFullPage(true);
        printer.setPageSize(QPageSize(QPageSize::A4));

        TPhoto photo;
        photo.setFileName(dir.filePath("red.png"));
        photo.setPrinterLeft(1440);  // 1 inch
        photo.setPrinterTop(2880);   // 2 inches
        photo.setPrinterWidth(2880); // 2 inches
        photo.setPrinterHeight(720); // half an inch
        QPainter painter;
        ASSERT_TRUE(painter.begin(&printer));
        photo.setPrinterhDC(&painter);
        EXPECT_EQ(photo.FXError(), 0);
        painter.end();

        // At 72 pixels per inch the picture covers x 72..216, y 144..180.
        const QString png = dir.filePath(QStringLiteral("page%1").arg(dpi));
        const ToolResult r = runTool(QStringLiteral("pdftoppm"),
                                     {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"),
                                      QStringLiteral("-singlefile"), pdf, png});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QImage page(png + QStringLiteral(".png"));
        ASSERT_FALSE(page.isNull());
        const struct {
            QPoint at;
            bool inside;
        } probes[] = {{{74, 146}, true},   {{214, 178}, true},  {{144, 162}, true}, {{69, 162}, false},
                      {{219, 162}, false}, {{144, 141}, false}, {{144, 183}, false}};
        for (const auto& probe : probes) {
            const QRgb c = page.pixel(probe.at);
            const bool red = qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
            EXPECT_EQ(red, probe.inside) << dpi << " dpi at " << probe.at.x() << "," << probe.at.y();
        }
    }
}

TEST(Printing, WithoutAnActivePainterOrPictureNothingIsDrawn) {
    TPhoto photo;
    photo.setFileName(imagePath(QStringLiteral("size_1x1.png")));
    photo.setPrinterhDC(nullptr);
    EXPECT_NE(photo.FXError(), 0);
    QPainter idle;
    photo.setPrinterhDC(&idle);
    EXPECT_NE(photo.FXError(), 0);

    QImage page(100, 100, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    TPhoto empty;
    empty.setPrinterWidth(1440);
    empty.setPrinterHeight(1440);
    empty.setPrinterhDC(&painter);
    EXPECT_NE(empty.FXError(), 0);
}

} // namespace
