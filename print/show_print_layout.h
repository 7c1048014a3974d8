// SPDX-License-Identifier: MIT
#pragma once
// Where everything of a show print goes: the six layouts (small, medium and large contact sheets and
// journals), the cells of a page, each picture's rectangle in twips from the printable area's corner,
// and its caption, ruled lines and comment lines in the printer's pixels. No drawing here.
//
// Everything stays inside the printable area: when the rows do not fit the page's height (landscape
// paper, or the footer's room on a short page) the cells are made lower, captions are shortened to
// their column, ruled lines end above the next row and the footer, and a page too small for the
// layout is refused.

#include "page_measures.h"
#include "text_wrap.h"

#include <QLine>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

#include <utility>

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
    // False when the printable area is too small for the layout's cells.
    bool fitsPage() const;
    // How many of a show's slides fall on page `page` (from 0): the pages fill in show order.
    int slidesOnPage(int page, int slideCount) const;
    // Wt, Ht: the usable width and height in twips; Cw, Ch: one cell's width and height (lower than
    // the page's share when the rows would not fit above the bottom, or above the footer).
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

    // The header: `lead` (the date, the time and " - Filename: ") and the show's name, shortened in the
    // name's middle when the line would run past the page.
    TextLine header(const QString& lead, const QString& showName, const TextWidth& textWidth) const;
    // The footer, a fixed distance above the bottom of the printable area, shortened in its middle to
    // the page's width.
    TextLine footer(const QString& text, const TextWidth& textWidth) const;

  private:
    // How far down the cells may reach, in twips: the bottom of the printable area, or a little above
    // the footer when there is one.
    int contentBottom() const;
    int pictureLeft(int cellLeft, int width) const;
    int captionLeft(int cell, const QRect& picture, int textWidth) const;
    TextLine captionFor(int cell, const QRect& picture, const CellPicture& source,
                        const TextWidth& textWidth) const;
    std::pair<int, int> captionColumn(int cell) const;
    // The caption's start: "#n - " when frame numbers are asked for; the file name follows as it is on disk.
    QString captionLead(int frameNumber) const;
    QList<QLine> rulesFor(int cell, const QRect& picture, int& firstLineY) const;
    QList<TextLine> commentLines(const QString& comment, int firstLineY, int maxLines,
                                 const TextWidth& textWidth) const;
    int lowerCells(int rowGap) const;

    PrintOptions options_;
    PageMeasures measures_;
    int wt_ = 0, ht_ = 0, cw_ = 0, ch_ = 0;
};

} // namespace print
