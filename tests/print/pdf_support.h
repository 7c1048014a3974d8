// SPDX-License-Identifier: MIT
// Helpers of the print tests: the pictures of a test show, a printer set up for a PDF file, and
// reading the PDF back with poppler (page count, words with their boxes, rendered pages).
#pragma once

#include "page_measures.h"

#include <QImage>
#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QString>

class QAbstractButton;
class QPrinter;
class ShowDocument;

namespace print_test {

// Clicks a radio button or check box on its mark, where a click always counts.
void clickMark(QAbstractButton* button);

// A picture of one colour saved as a JPEG file.
QString writeColourPicture(const QString& path, QSize size, QColor colour);

// Appends a slide for `path` (a file, or "BLANK") with a comment.
void appendSlide(ShowDocument& show, const QString& path, const QString& comment = {});

// Sets the dialog seams' printer setup dialog to answer with a PDF file on the paper given (A4,
// portrait, unless told otherwise).
void answerPrinterSetupWithPdf(const QString& pdfPath, const QPageSize& paper = QPageSize(QPageSize::A4),
                               QPageLayout::Orientation orientation = QPageLayout::Portrait);

struct PdfWord {
    int page = 0; // from 1
    QString text;
    QRectF box; // in points from the page's top-left corner
};

// A line of text as it reads on the page: words on one baseline no more than a blank apart.
struct PdfLine {
    QString text; // the words joined by blanks
    QRectF box;
};

// The number of pages poppler's pdfinfo reports, -1 when the file is not a PDF it can read.
int pdfPageCount(const QString& pdf);
// A field of the document's information as pdfinfo reports it ("Title", "Creator").
QString pdfInfoField(const QString& pdf, const QString& field);
// Every word of the document with its box, as pdftotext -bbox reports it.
QList<PdfWord> pdfWords(const QString& pdf);
// The words of one page in reading order, joined by blanks.
QString pageText(const QList<PdfWord>& words, int page);
// The lines of one page's words.
QList<PdfLine> pageLines(const QList<PdfWord>& words, int page);
// One page rendered by pdftoppm at `dpi` dots per inch.
QImage renderPage(const QString& pdf, int page, int dpi);

// A point in printer pixels (from the printable area's corner) in points from the page's corner.
QPointF pixelsToPoints(const print::PageMeasures& m, QPoint pixels);
// A rectangle in twips (from the printable area's corner) in the pixels of a page rendered at dpi.
QRect twipsToRendered(const print::PageMeasures& m, const QRect& twips, int dpi);
// The same in points from the page's corner.
QRectF twipsToPoints(const print::PageMeasures& m, const QRect& twips);
// The printable area in points from the page's corner.
QRectF printableArea(const print::PageMeasures& m);

// True when most of the rectangle's inside has the colour and a band around it has not.
bool colourFillsExactly(const QImage& page, const QRect& rect, QColor colour);
// True when the program's mark stands in the corner of a page rendered at dpi: its dark blue mount
// at the left edge of the place the print arithmetic gives it.
bool logoShown(const QImage& page, const print::PageMeasures& m, int dpi);

} // namespace print_test
