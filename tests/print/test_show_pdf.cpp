// SPDX-License-Identifier: MIT
// The show print end to end: a show printed through the real QPrinter into a PDF file, read back
// with poppler. Captions stand where the print arithmetic puts them, pictures fill their rectangles,
// all pages land in one document, and slides that cannot be printed leave their cells empty.
#include "dialogs.h"
#include "gui_test_support.h"
#include "logo_mark.h"
#include "pdf_support.h"
#include "print_dialog.h"
#include "show_document.h"
#include "show_print.h"
#include "test_shows.h"
#include "tphoto.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProgressDialog>
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

// True when two boxes share more than their edges.
bool overlap(const QRectF& a, const QRectF& b) {
    return a.adjusted(0.2, 0.2, -0.2, -0.2).intersects(b.adjusted(0.2, 0.2, -0.2, -0.2));
}

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
    // The line of `page` that starts at `pixels`; fails the test when there is none.
    PdfLine lineAt(const QList<PdfLine>& lines, QPoint pixels, const QString& what) {
        const QPointF at = pixelsToPoints(measurePrinter(printer.printer()), pixels);
        for (const PdfLine& line : lines)
            if (qAbs(line.box.left() - at.x()) < 0.5 && qAbs(line.box.top() - at.y()) < 1.0)
                return line;
        ADD_FAILURE() << "no " << what.toStdString() << " at " << at.x() << "," << at.y();
        return {};
    }
    void expectPageClear(const PrintOptions& options, int page, const QList<PdfWord>& words,
                         const QList<std::pair<CellPlan, QColor>>& cells) {
        const PageMeasures m = measurePrinter(printer.printer());
        const QRectF paper = printableArea(m).adjusted(-0.5, -0.5, 0.5, 0.5);
        const QImage rendered = renderPage(pdf, page, RenderDpi);
        EXPECT_TRUE(logoShown(rendered, m, RenderDpi)) << "page " << page;
        const QList<PdfLine> lines = pageLines(words, page);
        for (const PdfLine& line : lines)
            EXPECT_TRUE(paper.contains(line.box)) << line.text.toStdString() << " on page " << page;
        const TextLine footer = layout(options).footer(options.footerText, printerWidth());
        const QRectF footerBox = lineAt(lines, footer.at, QStringLiteral("footer")).box;
        const QString header = lineAt(lines, layout(options).header(QString(), showName, printerWidth()).at,
                                      QStringLiteral("header"))
                                   .text;
        EXPECT_TRUE(header.contains(QStringLiteral(" - Filename: /home/")) &&
                    header.endsWith(QStringLiteral("trip.vrs")))
            << header.toStdString();
        QList<QRectF> pictures, captions;
        for (const auto& [plan, colour] : cells) {
            EXPECT_TRUE(colourFillsExactly(rendered, twipsToRendered(m, plan.picture, RenderDpi), colour))
                << plan.caption.text.toStdString();
            pictures.append(twipsToPoints(m, plan.picture));
            EXPECT_TRUE(paper.contains(pictures.back())) << plan.caption.text.toStdString();
            const PdfLine caption = lineAt(lines, plan.caption.at, plan.caption.text);
            EXPECT_EQ(caption.text, plan.caption.text);
            captions.append(caption.box);
            for (const QLine& rule : plan.rules)
                EXPECT_LT(rule.y1(), footer.at.y()) << plan.caption.text.toStdString();
        }
        const auto isCaption = [](const PdfLine& line) { return line.text.startsWith(QLatin1Char('#')); };
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(), isCaption), cells.size()) << "page " << page;
        for (qsizetype i = 0; i < captions.size(); ++i) {
            for (qsizetype j = i + 1; j < captions.size(); ++j)
                EXPECT_FALSE(overlap(captions[i], captions[j])) << "captions " << i + 1 << " and " << j + 1;
        }
        for (const PdfLine& line : lines) {
            for (const QRectF& picture : pictures)
                EXPECT_FALSE(overlap(line.box, picture)) << line.text.toStdString() << " over a picture";
            if (line.box != footerBox) {
                EXPECT_FALSE(overlap(line.box, footerBox)) << line.text.toStdString() << " over the footer";
            }
        }
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
    QWidget window; // the main window, disabled while a show prints
    PrintContext context{&window, &photo, &logo, &printer,
                         [this](const QString& caption, const QString& text, const QString&) {
                             messages.append(caption + QStringLiteral(": ") + text);
                         }};
    QString showName = QStringLiteral("trip.vrs");
    ShowPrint run{context, show, dialog, [this] { return showName; }};
};

// Pictures whose names are wider than a column on every paper: portrait, landscape and square.
const char* const LongNames[] = {
    "Portrait_of_the_old_harbour_at_sunset_seen_from_the_lighthouse_on_the_last_evening.jpg",
    "Landscape_of_the_lake_in_the_morning_mist_with_the_boats_coming_back_from_the_night.jpg",
    "Square_view_of_the_market_place_with_the_fountain_and_all_the_flower_stalls_at_noon.jpg"};

// Each layout on A4 and Letter, upright and on its side, with every decoration and long names and
// comments: two pages each (a full one and one with a single picture) on which every picture fills
// the rectangle the print arithmetic gives it, every caption stands where it says, and everything
// stays inside the printable area with no caption over another caption, a picture or the footer and
// no text over a picture or the footer.
TEST_F(ShowPdf, EveryLayoutStaysOnThePaperWithItsTextsClear) {
    const QColor colours[] = {Blue, Red, Green};
    const QSize sizes[] = {{600, 800}, {800, 600}, {700, 700}};
    QStringList paths;
    for (int i = 0; i < 3; ++i)
        paths.append(writeColourPicture(dir.filePath(QLatin1String(LongNames[i])), sizes[i], colours[i]));
    const QString comment =
        QStringLiteral("We walked along the shore to the old lighthouse and back ").repeated(8);
    showName = QStringLiteral("/home/someone/Pictures/").repeated(6) + QStringLiteral("trip.vrs");
    PrintOptions options;
    options.frameNumbers = options.header = options.footer = options.comments = true;
    options.footerText = QStringLiteral("WIDE FOOTER LETTERS ").repeated(6).left(Tprintdlg::FooterLength);
    const std::pair<QPageSize::PageSizeId, QPageLayout::Orientation> papers[] = {
        {QPageSize::A4, QPageLayout::Portrait},
        {QPageSize::A4, QPageLayout::Landscape},
        {QPageSize::Letter, QPageLayout::Portrait},
        {QPageSize::Letter, QPageLayout::Landscape}};
    for (int number = 1; number <= 6; ++number) {
        options.layout = number;
        for (const auto& [paper, orientation] : papers) {
            SCOPED_TRACE(QStringLiteral("layout %1 on %2 %3")
                             .arg(number)
                             .arg(QPageSize::name(paper))
                             .arg(orientation == QPageLayout::Portrait ? "portrait" : "landscape")
                             .toStdString());
            answerPrinterSetupWithPdf(pdf, QPageSize(paper), orientation);
            show.clear();
            const int slides = layout(options).slidesPerPage() + 1;
            for (int i = 0; i < slides; ++i)
                appendSlide(show, paths[i % 3], comment);
            printShow(options);
            ASSERT_EQ(pdfPageCount(pdf), 2);
            const QList<PdfWord> words = pdfWords(pdf);
            for (int page = 1; page <= 2; ++page) {
                QList<std::pair<CellPlan, QColor>> cells;
                const int first = (page - 1) * layout(options).slidesPerPage();
                for (int cell = 0; cell < (page == 1 ? slides - 1 : 1); ++cell)
                    cells.append({plannedCell(options, cell, paths[(first + cell) % 3], cell + 1, comment),
                                  colours[(first + cell) % 3]});
                expectPageClear(options, page, words, cells);
            }
        }
    }
    EXPECT_TRUE(messages.isEmpty());
}

// A picture whose file is not there (a drive not plugged in) keeps its cell, marked missing.
TEST_F(ShowPdf, SlidesThatCannotBeLoadedLeaveTheirCellsEmptyAndMissingOnesAreMarked) {
    appendSlide(show, red);
    appendSlide(show, QStringLiteral("BLANK"));
    appendSlide(show, broken);
    appendSlide(show, blue);
    const QString gone = dir.filePath(QStringLiteral("gone.jpg"));
    appendSlide(show, gone);
    PrintOptions options;
    options.layout = PrintOptions::MediumSheet;
    options.frameNumbers = true;
    printShow(options);
    ASSERT_EQ(pdfPageCount(pdf), 1);
    const QList<PdfWord> words = pdfWords(pdf);
    EXPECT_EQ(pageText(words, 1), QStringLiteral("#1 - Red.jpg #2 - blue.jpg missing #3 - gone.jpg"));
    const CellPlan missing = layout(options).cell(4, {QSize(4, 3), gone, {}, 3}, printerWidth());
    expectWordAt(wordOn(words, 1, QStringLiteral("#3")), missing.caption.at);
    // The blue picture keeps its own cell (right column, second row) and its caption stays under
    // that column, numbered after the last picture printed.
    const CellPlan plan = plannedCell(options, 3, blue, 2);
    expectWordAt(wordOn(words, 1, QStringLiteral("#2")), plan.caption.at);
    EXPECT_TRUE(pictureFills(1, plan.picture, Blue));
    const CellPlan emptyCell = plannedCell(options, 1, red, 2);
    EXPECT_FALSE(pictureFills(1, emptyCell.picture, Red));
    EXPECT_TRUE(messages.isEmpty());
}

// Also a comment saved on Windows, in its code page.
TEST_F(ShowPdf, JournalCommentsWrapInsideTheirWidthAndBreakOverlongWords) {
    const QString longWord(120, QLatin1Char('W'));
    const QString comment = QStringLiteral("Caf\u00e9 walk by the lake ") + longWord + QStringLiteral(" end");
    appendSlide(show, red);
    test_shows::edit(show, 0, [&](TSlideRecord& r) { r.Text.assign(comment.toLatin1().toStdString()); });
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

// Answers the print dialog the next time it is shown: the clicks, then "&Print" or "Cancel".
void answerPrintDialog(Tprintdlg& dialog, QStringList clicks, const char* button) {
    whenModal(&dialog, [&dialog, clicks, button] {
        for (const QString& name : clicks)
            clickMark(dialog.findChild<QAbstractButton*>(name));
        QTest::mouseClick(dialog.findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
    });
}

// Notes what the print preview shows when it is opened: its pages, whether it offers to print, and
// whether a printer file exists meanwhile.
struct PreviewSeen {
    int pages = -1;
    int colouredPixels = 0;
    bool offersPrint = false;
    bool fileMeanwhile = false;
};

void notePreview(PreviewSeen& seen, const QString& pdf) {
    dialogSeams().runModal = [&seen, pdf](QDialog* dialog) {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(dialog);
        if (!preview)
            return 0;
        preview->resize(800, 600);
        preview->show();
        auto* pages = preview->findChild<QPrintPreviewWidget*>();
        seen.pages = pages->pageCount();
        const QImage shown = pages->grab().toImage();
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                seen.colouredPixels += qRed(shown.pixel(x, y)) > 150 && qGreen(shown.pixel(x, y)) < 100;
        const QString print = QCoreApplication::translate("QPrintPreviewDialog", "Print");
        for (const QAction* action : preview->findChildren<QAction*>())
            seen.offersPrint |= action->text() == print && action->isVisible();
        seen.fileMeanwhile = QFile::exists(pdf);
        preview->close();
        return 0;
    };
}

TEST_F(ShowPdf, FilePrintTakesTheDialogsChoicesPreviewsThemAndEitherDialogCancels) {
    for (const QString& path : {red, blue, green})
        appendSlide(show, path);
    PreviewSeen seen;
    notePreview(seen, pdf);
    answerPrintDialog(dialog,
                      {QStringLiteral("RadioButton2"), QStringLiteral("CheckBox5"),
                       QStringLiteral("CheckBox2"), QStringLiteral("PreviewButton")},
                      "Button1");
    run.FilePrint();
    // The preview showed the medium journal's two pages, with the red picture, and printed nothing.
    EXPECT_EQ(seen.pages, 2);
    EXPECT_GT(seen.colouredPixels, 100);
    EXPECT_FALSE(seen.offersPrint);
    EXPECT_FALSE(seen.fileMeanwhile);
    ASSERT_EQ(pdfPageCount(pdf), 2); // the medium journal holds two slides a page
    EXPECT_EQ(pageText(pdfWords(pdf), 2), QStringLiteral("#1 - green.jpg"));
    // The file is named after the show and can be read by others, as any new document.
    EXPECT_EQ(pdfInfoField(pdf, QStringLiteral("Title")), QStringLiteral("trip"));
    EXPECT_EQ(pdfInfoField(pdf, QStringLiteral("Creator")), QStringLiteral("Verasco"));
    EXPECT_TRUE(QFileInfo(pdf).permissions() & QFile::ReadOther);

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

// Counts the paint events of a widget.
struct PaintCounter : QObject {
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint;
        return false;
    }
    int count = 0;
};

TEST_F(ShowPdf, CancelEndsTheRunAndKeepsAnEarlierFile) {
    for (int i = 0; i < 12; ++i)
        appendSlide(show, i % 2 ? red : blue);
    QFile earlier(pdf);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("an earlier print");
    earlier.close();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    PaintCounter paints(window);
    QStringList labels;
    bool enabledMeanwhile = true;
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, &window, [&] {
        auto* progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        if (!progress || progress->objectName() != QLatin1String("PrintProgress") ||
            labels.value(labels.size() - 1) == progress->labelText())
            return;
        labels.append(progress->labelText());
        enabledMeanwhile = enabledMeanwhile && window.isEnabled();
        if (labels.size() == 2) {
            paints.count = 0;
            window.update();
        } else if (labels.size() == 3) {
            poll.stop();
            QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
        }
    });
    poll.start();
    PrintOptions options;
    options.layout = PrintOptions::LargeSheet;
    printShow(options);
    EXPECT_EQ(labels,
              QStringList({QStringLiteral("Printing page 1 of 12"), QStringLiteral("Printing page 2 of 12"),
                           QStringLiteral("Printing page 3 of 12")}));
    // The main window was disabled and still repainted.
    EXPECT_FALSE(enabledMeanwhile);
    EXPECT_GT(paints.count, 0);
    EXPECT_TRUE(window.isEnabled());
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), QByteArray("an earlier print"));
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("show.pdf*")}),
              QStringList(QStringLiteral("show.pdf")));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(ShowPdf, PrinterFilesThatCannotBeWrittenAndPaperTooSmallAreReported) {
    appendSlide(show, red);
    const struct {
        QString file;
        QPageSize paper;
        const char* message;
    } rows[] = {
        {dir.filePath(QStringLiteral("no such folder/show.pdf")), QPageSize(QPageSize::A4),
         "Error: Cannot print to:"},
        {pdf, QPageSize(QSizeF(3, 3.5), QPageSize::Inch), "Information: Paper too small!"},
    };
    for (const auto& r : rows) {
        messages.clear();
        answerPrinterSetupWithPdf(r.file, r.paper);
        printShow(PrintOptions());
        EXPECT_EQ(messages, QStringList(QLatin1String(r.message)));
        EXPECT_FALSE(QFile::exists(r.file));
    }
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
