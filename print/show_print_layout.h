#pragma once
// Where everything of a show print goes: the six layouts (small, medium and large contact sheets and
// journals), the cells of a page, each picture's rectangle in twips from the printable area's corner,
// and its caption, ruled lines and comment lines in the printer's pixels. No drawing here.

#include "page_measures.h"
#include "text_wrap.h"

#include <QLine>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

namespace print {

// The choices of the print dialog.
struct PrintOptions {
    enum Layout { SmallSheet = 1, MediumSheet, LargeSheet, SmallJournal, MediumJournal, LargeJournal };
    int layout = SmallSheet;
    bool frameNumbers = false;
    bool header = false;
    bool footer = false;
    bool comments = false; // journals only
    QString footerText;

    bool journal() const { return layout >= SmallJournal; }
};

// A line of text and the top-left corner it is written at, in pixels.
struct TextLine {
    QString text;
    QPoint at;

    bool operator==(const TextLine&) const = default;
};

// One printed cell: the picture's rectangle for the imaging control, in twips (left, top, width,
// height); the rest in pixels.
struct CellPlan {
    QRect picture;
    TextLine caption;
    QList<QLine> rules;
    QList<TextLine> comments;
};

// What the layout needs to know of one slide whose picture was loaded.
struct CellPicture {
    QSize size;          // the picture's size in pixels
    QString path;        // the file it was loaded from
    QString comment;     // the slide's text
    int frameNumber = 0; // the pictures printed on this page so far, this one included
};

class ShowPrintLayout {
  public:
    ShowPrintLayout(const PrintOptions& options, const PageMeasures& measures);

    const PrintOptions& options() const { return options_; }
    const PageMeasures& measures() const { return measures_; }
    int slidesPerPage() const;
    int rows() const;
    int columns() const;
    int pageCount(int slideCount) const;
    // How many of a show's slides fall on page `page` (from 0): the pages fill in show order.
    int slidesOnPage(int page, int slideCount) const;
    // Wt, Ht: the usable width and height in twips; Cw, Ch: one cell's width and height.
    int usableWidth() const { return wt_; }
    int usableHeight() const { return ht_; }
    int cellWidth() const { return cw_; }
    int cellHeight() const { return ch_; }
    // The largest picture a cell can hold, in pixels.
    QSize cellPixels() const;

    // The top-left corner of cell `cell` (0 = top-left of the page, row by row), in twips.
    QPoint cellOrigin(int cell) const;
    // The picture fitted into a cell, keeping its proportions, in twips.
    QSize fit(QSize picture) const;
    CellPlan cell(int cell, const CellPicture& picture, const TextWidth& textWidth) const;

    // The caption: the lower-cased file name, after "#n - " when frame numbers are asked for.
    QString captionText(const QString& path, int frameNumber) const;
    TextLine header(const QString& text) const;
    TextLine footer(const QString& text) const;

  private:
    int pictureLeft(int cellLeft, int width) const;
    int captionLeft(int cell, const QRect& picture, int textWidth) const;
    QList<QLine> rulesFor(const QRect& picture, int& firstLineY) const;
    QList<TextLine> commentLines(const QString& comment, int firstLineY, const TextWidth& textWidth) const;

    PrintOptions options_;
    PageMeasures measures_;
    int wt_ = 0, ht_ = 0, cw_ = 0, ch_ = 0;
};

} // namespace print
