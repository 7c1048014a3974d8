// SPDX-License-Identifier: MIT
// The single image print end to end: one picture centred on one page of a PDF file with the logo,
// "Blank picture!" for a blank source, a message for a picture that cannot be loaded, and nothing
// printed when a dialog is cancelled.
#include "dialogs.h"
#include "gui_test_support.h"
#include "image_print.h"
#include "image_print_layout.h"
#include "logo_mark.h"
#include "pdf_support.h"
#include "print_image_dialog.h"
#include "test_pictures.h"
#include "tphoto.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>

#include "qt_application_environment.h"
#include <gtest/gtest.h>

using namespace print;
using namespace print_test;

namespace {

const auto* const environment = testing::AddGlobalTestEnvironment(new QtApplicationEnvironment<QApplication>);

constexpr int RenderDpi = 50;
const QColor Red(220, 30, 30);

class ImagePdf : public ::testing::Test {
  protected:
    void SetUp() override {
        pdf = dir.filePath(QStringLiteral("image.pdf"));
        answerPrinterSetupWithPdf(pdf);
        logo.setPicture(drawLogoMark());
    }
    void TearDown() override { resetDialogSeams(); }

    // Clicks a button of the confirmation the next time it is shown and notes what it showed.
    void answerConfirmation(const char* button) {
        whenModal(&dialog, [this, button] {
            confirmedPath = dialog.findChild<QLabel*>(QStringLiteral("Label2"))->toolTip();
            shownThumbnail = dialog.findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().toImage();
            QTest::mouseClick(dialog.findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
        });
    }

    QTemporaryDir dir;
    QString pdf;
    TPhoto photo, logo;
    PrinterChoice printer;
    Tprint1Dlg dialog;
    QStringList messages;
    QString confirmedPath;
    QImage shownThumbnail;
    PrintContext context{nullptr, &photo, &logo, &printer,
                         [this](const QString& caption, const QString& text, const QString& line2) {
                             messages.append(caption + QStringLiteral(": ") + text + QLatin1Char('|') +
                                             line2);
                         }};
    ImagePrint run{context, dialog};
};

// A picture stored on its side with its orientation tag is printed upright.
TEST_F(ImagePdf, PicturesAreCentredOnTheirPageWithTheLogo) {
    const struct {
        QSize stored;
        int orientation;
    } rows[] = {{{900, 600}, 1}, {{480, 800}, 1}, {{700, 700}, 1}, {{900, 600}, 6}};
    for (const auto& row : rows) {
        const QSize size = row.orientation == 6 ? row.stored.transposed() : row.stored;
        SCOPED_TRACE(size.width());
        const QString path = writeColourPicture(dir.filePath(QStringLiteral("picture.jpg")), row.stored, Red);
        if (row.orientation != 1 && !test_pictures::tagOrientation(path, row.orientation))
            continue; // exiftool (libimage-exiftool-perl) is not installed
        QImage thumbnail(80, 70, QImage::Format_RGB32);
        thumbnail.fill(Qt::yellow);
        answerConfirmation("Button1");
        run.PrintSlide1Click({path, thumbnail});
        EXPECT_EQ(confirmedPath, path);
        EXPECT_EQ(shownThumbnail.pixel(40, 35), QColor(Qt::yellow).rgb());
        ASSERT_EQ(pdfPageCount(pdf), 1);
        const PageMeasures m = measurePrinter(printer.printer());
        const QImage page = renderPage(pdf, 1, RenderDpi);
        EXPECT_TRUE(colourFillsExactly(page, twipsToRendered(m, placeSingleImage(m, size), RenderDpi), Red));
        EXPECT_TRUE(logoShown(page, m, RenderDpi));
        // The job and the file are named after the picture.
        EXPECT_EQ(pdfInfoField(pdf, QStringLiteral("Title")), QStringLiteral("picture.jpg"));
        EXPECT_EQ(pdfInfoField(pdf, QStringLiteral("Creator")), QStringLiteral("Verasco"));
        EXPECT_TRUE(messages.isEmpty());
    }
}

TEST_F(ImagePdf, BlankSourcesSayBlankPictureAfterThePrinterSetup) {
    for (const QString& source : {QString(), QStringLiteral("BLANK"), QStringLiteral(" blank ")}) {
        run.PrintSlide1Click({source, {}});
        EXPECT_FALSE(QFile::exists(pdf));
    }
    EXPECT_EQ(messages, QStringList(3, QStringLiteral("Information: Blank picture!|")));

    messages.clear();
    dialogSeams().printSetup = [](QPrinter*, QWidget*) { return false; };
    run.PrintSlide1Click({QStringLiteral("BLANK"), {}});
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(ImagePdf, APictureThatCannotBeLoadedOrPaperTooSmallIsReportedAndNothingIsPrinted) {
    const QString broken = dir.filePath(QStringLiteral("Broken.jpg"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();
    for (const QString& path : {broken, dir.filePath(QStringLiteral("missing.png"))}) {
        run.PrintSlide1Click({path, {}});
        EXPECT_FALSE(QFile::exists(pdf));
    }
    EXPECT_EQ(messages, QStringList({QStringLiteral("Information: Picture cannot be loaded!|Broken.jpg"),
                                     QStringLiteral("Information: Picture cannot be loaded!|missing.png")}));

    // A page with less than an inch left around the picture's area.
    messages.clear();
    const QPageSize card(QSizeF(2.5, 3.5), QPageSize::Inch);
    answerPrinterSetupWithPdf(pdf, card);
    run.PrintSlide1Click({writeColourPicture(dir.filePath(QStringLiteral("fine.jpg")), {300, 200}, Red), {}});
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(messages, QStringList(QStringLiteral("Information: Paper too small!|") + card.name()));
}

TEST_F(ImagePdf, CancellingTheConfirmationPrintsNothing) {
    const QString path = writeColourPicture(dir.filePath(QStringLiteral("picture.jpg")), {300, 200}, Red);
    answerConfirmation("Button2");
    run.PrintSlide1Click({path, {}});
    EXPECT_EQ(confirmedPath, path);
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_TRUE(messages.isEmpty());
}

} // namespace
