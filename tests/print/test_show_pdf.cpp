// The show print end to end: a show printed through the real QPrinter into a PDF file, read back
// with poppler. Captions stand where the print arithmetic puts them, pictures fill their rectangles,
// all pages land in one document, and slides that cannot be printed leave their cells empty.
#include "dialogs.h"
#include "logo_mark.h"
#include "pdf_support.h"
#include "print_dialog.h"
#include "show_document.h"
#include "show_print.h"
#include "tphoto.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFontMetrics>
#include <QPushButton>
#include <QRadioButton>
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
const QColor Red(220, 30, 30), Blue(30, 40, 200), Green(30, 160, 60);

class ShowPdf : public ::testing::Test {
  protected:
    void SetUp() override {
        pdf = dir.filePath(QStringLiteral("show.pdf"));
        red = writeColourPicture(dir.filePath(QStringLiteral("Red.jpg")), {800, 600}, Red);
        blue = writeColourPicture(dir.filePath(QStringLiteral("blue.jpg")), {600, 800}, Blue);
        green = writeColourPicture(dir.filePath(QStringLiteral("green.jpg")), {700, 700}, Green);
        broken = dir.filePath(QStringLiteral("broken.jpg"));
        QFile file(broken);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a picture");
        file.close();
        answerPrinterSetupWithPdf(pdf);
        logo.setPicture(drawLogoMark());
    }
    void TearDown() override { resetDialogSeams(); }

    void printShow(const PrintOptions& options) {
        ASSERT_TRUE(printer.setup(nullptr));
        run.print(options);
    }
    ShowPrintLayout layout(const PrintOptions& options) {
        return ShowPrintLayout(options, measurePrinter(printer.printer()));
    }
    TextWidth printerWidth() {
        auto metrics = std::make_shared<QFontMetrics>(printerFont(), &printer.printer());
        return [metrics](const QString& text) { return metrics->horizontalAdvance(text); };
    }
    // The cell of slide `slide` (from 0) on its page, as the arithmetic plans it.
    CellPlan plannedCell(const PrintOptions& options, int cell, const QString& path, int frame,
                         const QString& comment = {}) {
        TPhoto probe;
        probe.setFileName(path);
        return layout(options).cell(cell, {QSize(probe.IWidth(), probe.IHeight()), path, comment, frame},
                                    printerWidth());
    }
    // The word of `page` whose text is `text`; fails the test when there is not exactly one.
    PdfWord wordOn(const QList<PdfWord>& words, int page, const QString& text) {
        QList<PdfWord> found;
        for (const PdfWord& w : words)
            if (w.page == page && w.text == text)
                found.append(w);
        EXPECT_EQ(found.size(), 1) << text.toStdString() << " on page " << page;
        return found.value(0);
    }
    void expectWordAt(const PdfWord& word, QPoint pixels) {
        const QPointF at = pixelsToPoints(measurePrinter(printer.printer()), pixels);
        EXPECT_NEAR(word.box.left(), at.x(), 0.5) << word.text.toStdString();
        EXPECT_NEAR(word.box.top(), at.y(), 1.0) << word.text.toStdString();
    }
    bool pictureFills(int page, const QRect& twips, QColor colour) {
        const QImage rendered = renderPage(pdf, page, RenderDpi);
        return colourFillsExactly(
            rendered, twipsToRendered(measurePrinter(printer.printer()), twips, RenderDpi), colour);
    }

    QTemporaryDir dir;
    QString pdf, red, blue, green, broken;
    ShowDocument show;
    TPhoto photo, logo;
    PrinterChoice printer;
    Tprintdlg dialog;
    QStringList messages;
    PrintContext context{nullptr, &photo, &logo, &printer,
                         [this](const QString& caption, const QString& text, const QString&) {
                             messages.append(caption + QStringLiteral(": ") + text);
                         }};
    ShowPrint run{context, show, dialog, [] { return QStringLiteral("trip.vrs"); }};
};

TEST_F(ShowPdf, EveryLayoutPutsPicturesAndCaptionsWhereTheArithmeticSays) {
    const QString paths[] = {red, blue, green};
    const QColor colours[] = {Red, Blue, Green};
    for (const QString& path : paths)
        appendSlide(show, path);
    for (int number = 1; number <= 6; ++number) {
        SCOPED_TRACE(number);
        PrintOptions options;
        options.layout = number;
        options.frameNumbers = true;
        printShow(options);
        const ShowPrintLayout page = layout(options);
        ASSERT_EQ(pdfPageCount(pdf), page.pageCount(3));
        const QList<PdfWord> words = pdfWords(pdf);
        for (int slide = 0; slide < 3; ++slide) {
            const int pageNumber = slide / page.slidesPerPage() + 1;
            const int cell = slide % page.slidesPerPage();
            const CellPlan plan = plannedCell(options, cell, paths[slide], cell + 1);
            expectWordAt(wordOn(words, pageNumber, QStringLiteral("#%1").arg(cell + 1)), plan.caption.at);
            EXPECT_TRUE(pictureFills(pageNumber, plan.picture, colours[slide])) << "slide " << slide;
        }
        EXPECT_TRUE(messages.isEmpty());
    }
}

TEST_F(ShowPdf, SixteenSlidesOnTheSmallSheetGiveTwoPagesInOneDocument) {
    for (int i = 0; i < 16; ++i)
        appendSlide(show, i == 15 ? green : red);
    PrintOptions options;
    options.frameNumbers = true;
    printShow(options);
    ASSERT_EQ(pdfPageCount(pdf), 2);
    const QList<PdfWord> words = pdfWords(pdf);
    EXPECT_EQ(pageText(words, 1).count(QStringLiteral("red.jpg")), 15);
    // The sixteenth slide starts the second page at its top-left cell, as frame 1.
    EXPECT_EQ(pageText(words, 2), QStringLiteral("#1 - green.jpg"));
    const CellPlan plan = plannedCell(options, 0, green, 1);
    expectWordAt(wordOn(words, 2, QStringLiteral("#1")), plan.caption.at);
    EXPECT_TRUE(pictureFills(2, plan.picture, Green));
}

TEST_F(ShowPdf, SlidesThatCannotBeLoadedLeaveTheirCellsEmpty) {
    appendSlide(show, red);
    appendSlide(show, QStringLiteral("BLANK"));
    appendSlide(show, broken);
    appendSlide(show, blue);
    appendSlide(show, dir.filePath(QStringLiteral("gone.jpg")));
    PrintOptions options;
    options.layout = PrintOptions::MediumSheet;
    options.frameNumbers = true;
    printShow(options);
    ASSERT_EQ(pdfPageCount(pdf), 1);
    const QList<PdfWord> words = pdfWords(pdf);
    EXPECT_EQ(pageText(words, 1), QStringLiteral("#1 - red.jpg #2 - blue.jpg"));
    // The blue picture keeps its own cell (right column, second row) and its caption stays under
    // that column, numbered after the last picture printed.
    const CellPlan plan = plannedCell(options, 3, blue, 2);
    expectWordAt(wordOn(words, 1, QStringLiteral("#2")), plan.caption.at);
    EXPECT_TRUE(pictureFills(1, plan.picture, Blue));
    const CellPlan emptyCell = plannedCell(options, 1, red, 2);
    EXPECT_FALSE(pictureFills(1, emptyCell.picture, Red));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(ShowPdf, JournalCommentsWrapInsideTheirWidthAndBreakOverlongWords) {
    const QString longWord(120, QLatin1Char('W'));
    const QString comment = QStringLiteral("A walk by the lake ") + longWord + QStringLiteral(" end");
    appendSlide(show, red, comment);
    appendSlide(show, blue);
    PrintOptions options;
    options.layout = PrintOptions::SmallJournal;
    options.comments = true;
    printShow(options);
    const CellPlan plan = plannedCell(options, 0, red, 1, comment);
    ASSERT_GT(plan.comments.size(), 2);
    const QList<PdfWord> words = pdfWords(pdf);
    // Every line starts where the arithmetic puts it.
    for (const TextLine& line : plan.comments) {
        const QPointF at = pixelsToPoints(measurePrinter(printer.printer()), line.at);
        const QString first = line.text.section(QLatin1Char(' '), 0, 0);
        const bool found = std::any_of(words.begin(), words.end(), [&](const PdfWord& w) {
            return w.page == 1 && w.text == first && qAbs(w.box.left() - at.x()) < 0.5 &&
                   qAbs(w.box.top() - at.y()) < 1.0;
        });
        EXPECT_TRUE(found) << line.text.toStdString();
    }
    // The long word is broken inside, and no piece runs past the comment's width.
    const PageMeasures m = measurePrinter(printer.printer());
    const int rightPixels = m.pageWidth / 3 + m.dpiX / 3 + (m.pageWidth - 2 * (m.pageWidth / 3));
    const double right = pixelsToPoints(m, QPoint(rightPixels, 0)).x();
    QString pieces;
    for (const PdfWord& word : words) {
        if (word.text.count(QLatin1Char('W')) == word.text.size()) {
            EXPECT_LE(word.box.right(), right + 0.5);
            pieces += word.text;
        }
    }
    EXPECT_EQ(pieces, longWord);
}

TEST_F(ShowPdf, HeaderAndFooterOnEveryPage) {
    appendSlide(show, red);
    appendSlide(show, green);
    PrintOptions options;
    options.layout = PrintOptions::LargeSheet;
    options.header = true;
    options.footer = true;
    options.footerText = QStringLiteral("Summer 2024");
    printShow(options);
    ASSERT_EQ(pdfPageCount(pdf), 2);
    const QList<PdfWord> words = pdfWords(pdf);
    const ShowPrintLayout page = layout(options);
    for (int p = 1; p <= 2; ++p) {
        EXPECT_TRUE(pageText(words, p).contains(QStringLiteral(" - Filename: trip.vrs"))) << p;
        QList<PdfWord> onPage;
        for (const PdfWord& w : words)
            if (w.page == p)
                onPage.append(w);
        std::sort(onPage.begin(), onPage.end(), [](const PdfWord& a, const PdfWord& b) {
            return std::pair(a.box.top(), a.box.left()) < std::pair(b.box.top(), b.box.left());
        });
        expectWordAt(onPage.front(), page.header(QString()).at);
        expectWordAt(wordOn(words, p, QStringLiteral("Summer")), page.footer(QString()).at);
    }
}

// Answers the print dialog the next time it is shown: the clicks, then "&Print" or "Cancel".
void answerPrintDialog(Tprintdlg& dialog, QStringList clicks, const char* button) {
    auto* poll = new QTimer(&dialog);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, &dialog, [&dialog, poll, clicks, button] {
        if (QApplication::activeModalWidget() != &dialog)
            return;
        poll->deleteLater();
        for (const QString& name : clicks) {
            auto* mark = dialog.findChild<QAbstractButton*>(name);
            QTest::mouseClick(mark, Qt::LeftButton, {}, QPoint(6, mark->height() / 2));
        }
        QTest::mouseClick(dialog.findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
    });
    poll->start();
}

TEST_F(ShowPdf, FilePrintTakesTheDialogsChoicesAndEitherDialogCancels) {
    for (const QString& path : {red, blue, green})
        appendSlide(show, path);
    answerPrintDialog(
        dialog, {QStringLiteral("RadioButton2"), QStringLiteral("CheckBox5"), QStringLiteral("CheckBox2")},
        "Button1");
    run.FilePrint();
    ASSERT_EQ(pdfPageCount(pdf), 2); // the medium journal holds two slides a page
    EXPECT_EQ(pageText(pdfWords(pdf), 2), QStringLiteral("#1 - green.jpg"));

    ASSERT_TRUE(QFile::remove(pdf));
    answerPrintDialog(dialog, {}, "Button2");
    run.FilePrint();
    EXPECT_FALSE(QFile::exists(pdf));

    bool asked = false;
    dialogSeams().printSetup = [&asked](QPrinter*, QWidget*) { return !(asked = true); };
    answerPrintDialog(dialog, {}, "Button1");
    run.FilePrint();
    EXPECT_TRUE(asked);
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(ShowPdf, APrinterFileThatCannotBeWrittenIsReported) {
    appendSlide(show, red);
    answerPrinterSetupWithPdf(dir.filePath(QStringLiteral("no such folder/show.pdf")));
    printShow(PrintOptions());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages.front(), QStringLiteral("Error: Cannot print to:"));
}

TEST_F(ShowPdf, SampleShowPrintsEveryPicture) {
    const QString images = QStringLiteral(VERASCO_TESTDATA "/images");
    if (!QFile::exists(images + QStringLiteral("/flower.jpg")))
        GTEST_SKIP() << "no sample pictures in " << images.toStdString();
    const char* const names[] = {
        "flower.jpg",       "ladybird.png",    "storm.bmp",       "flower_portrait_480x640.jpg",
        "ladybird_rle.tga", "flower_pal8.pcx", "ladybird_lzw.tif"};
    for (const char* name : names)
        appendSlide(show, images + QLatin1Char('/') + QLatin1String(name));
    PrintOptions options;
    options.layout = PrintOptions::MediumSheet;
    printShow(options);
    ASSERT_EQ(pdfPageCount(pdf), 2);
    const QList<PdfWord> words = pdfWords(pdf);
    for (int i = 0; i < 7; ++i)
        EXPECT_TRUE(pageText(words, i / 6 + 1).contains(QLatin1String(names[i])))
            << names[i] << " in " << pageText(words, i / 6 + 1).toStdString();
}

} // namespace
