// SPDX-License-Identifier: MIT
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

// The sizes of the pictures a PDF file carries, as poppler's pdfimages lists them.
QList<QSize> embeddedPictureSizes(const QString& pdf) {
    const ToolResult r = runTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    QList<QSize> sizes;
    const QStringList lines = QString::fromUtf8(r.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : lines.mid(2)) { // two heading lines
        const QStringList fields = line.simplified().split(QLatin1Char(' '));
        if (fields.size() > 4)
            sizes.append(QSize(fields[3].toInt(), fields[4].toInt()));
    }
    return sizes;
}

TEST(Printing, APrintedPictureCarriesNoMorePixelsThanItsRectangleHasOnTheDevice) {
    QTemporaryDir dir;
    const struct {
        int dpi;
        QSize embedded;
    } rows[] = {{72, {72, 54}}, {300, {300, 225}}, {1200, {640, 480}}}; // never enlarged
    for (const auto& r : rows) {
        const QString pdf = dir.filePath(QStringLiteral("page%1.pdf").arg(r.dpi));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setResolution(r.dpi);
        TPhoto photo;
        photo.setFileName(imagePath(QStringLiteral("ladybird_640x480.jpg")));
        photo.setPrinterWidth(1440); // one inch
        photo.setPrinterHeight(1080);
        QPainter painter;
        ASSERT_TRUE(painter.begin(&printer));
        photo.setPrinterhDC(&painter);
        painter.end();
        EXPECT_EQ(embeddedPictureSizes(pdf), QList<QSize>{r.embedded}) << r.dpi << " dpi";
    }
}

TEST(Printing, ReducedDecodeBoxStillCoversTheBoxAndReportsTheStoredSize) {
    const struct {
        const char* file;
        QSize box;
        bool thumbnail;
        QSize decoded;
    } rows[] = {
        {"ladybird_640x480.jpg", {200, 150}, false, {240, 180}}, // 3/8 is the first scale that covers it
        {"ladybird_640x480.jpg", {200, 150}, true, {240, 180}},  // the larger of the two boxes wins
        {"ladybird_640x480.jpg", {}, true, {160, 120}},
        {"ladybird_640x480.jpg", {1000, 1000}, false, {640, 480}},
        {"flower_portrait_480x640.jpg", {300, 300}, false, {240, 320}},
        {"flower.png", {20, 20}, false, {20, 15}}, // PNG data by a whole factor that still covers the box
    };
    for (const auto& r : rows) {
        TPhoto photo;
        photo.setQPXThumbnail(r.thumbnail ? 1 : 0);
        photo.setReducedDecodeBox(r.box);
        photo.setFileName(imagePath(QLatin1String(r.file)));
        ASSERT_EQ(photo.FXError(), 0) << r.file;
        EXPECT_EQ(photo.image().size(), r.decoded)
            << r.file << " in " << r.box.width() << "x" << r.box.height();
        TPhoto full;
        full.setFileName(imagePath(QLatin1String(r.file)));
        EXPECT_EQ(QSize(photo.IWidth(), photo.IHeight()), full.image().size()) << r.file;
    }
}

TEST(Printing, APictureTheProgramMadeIsPrintedLikeALoadedOne) {
    QImage mark(30, 20, QImage::Format_ARGB32);
    mark.fill(Qt::blue);
    TPhoto photo;
    photo.setFileName(imagePath(QStringLiteral("size_1x1.png")));
    photo.setPicture(mark);
    EXPECT_EQ(photo.FXError(), 0);
    EXPECT_TRUE(photo.FileName().isEmpty());
    EXPECT_EQ(QSize(photo.IWidth(), photo.IHeight()), QSize(30, 20));
    photo.setPicture(QImage());
    EXPECT_NE(photo.FXError(), 0);
    EXPECT_EQ(photo.IWidth(), 0);
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
