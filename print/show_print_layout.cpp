// SPDX-License-Identifier: MIT
#include "show_print_layout.h"

#include <QtGlobal>

namespace print {

namespace {

// The layouts' table: slides per page, rows, columns, the left of the first cell and the spaces
// between cells, all in twips.
struct LayoutRow {
    int rows, columns, left, columnGap, rowGap;
};
constexpr int FirstRowTop = 1000;
// The medium journal keeps the same room between its rows as the others, so that the caption of a
// picture as high as its cell is not hidden under the next picture.
constexpr LayoutRow Layouts[] = {
    {5, 3, 360, 200, 600}, // small contact sheet
    {3, 2, 360, 200, 600}, // medium contact sheet
    {1, 1, 720, 0, 0},     // large contact sheet
    {5, 1, 360, 0, 600},   // small journal
    {2, 1, 360, 0, 600},   // medium journal
    {1, 1, 720, 0, 0},     // large journal
};
// The caption sits this far below its picture.
constexpr int CaptionGap = 200;
// The room a line of the 8-point printer font takes, with some to spare.
constexpr int TextLineHeight = 240;
// The footer's top stands this far above the bottom of the printable area, and the cells keep this
// far above the footer.
constexpr int FooterRise = 360;
constexpr int FooterClearance = 120;
// The smallest cell worth printing: a numbered caption still fits an inch.
constexpr int MinimumCellWidth = TwipsPerInch;
constexpr int MinimumCellHeight = TwipsPerInch / 2;

const LayoutRow& rowOf(int layout) {
    return Layouts[qBound(1, layout, 6) - 1];
}

QString fileNamePart(const QString& path) {
    const qsizetype slash = qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(slash + 1);
}

} // namespace

ShowPrintLayout::ShowPrintLayout(const PrintOptions& options, const PageMeasures& measures)
    : options_(options), measures_(measures) {
    options_.layout = qBound(1, options_.layout, 6);
    wt_ = measures_.printableWidthTwips(TwipsPerInch);
    ht_ = measures_.printableHeightTwips(2000);
    switch (options_.layout) {
    case PrintOptions::SmallSheet:
    case PrintOptions::SmallJournal:
        cw_ = wt_ / 3;
        ch_ = ht_ / 6;
        break;
    case PrintOptions::MediumSheet:
        cw_ = wt_ / 2;
        ch_ = ht_ / 4;
        break;
    case PrintOptions::LargeSheet:
        cw_ = wt_;
        ch_ = ht_;
        break;
    case PrintOptions::MediumJournal:
        cw_ = wt_ / 2;
        ch_ = ht_ / 2;
        break;
    default:
        cw_ = wt_ / 5 * 4;
        ch_ = ht_ / 5 * 4;
        break;
    }
    ch_ = qMin(ch_, lowerCells(rowOf(options_.layout).rowGap));
}

// The highest cells whose rows, with the last row's caption, end above contentBottom().
int ShowPrintLayout::lowerCells(int rowGap) const {
    const int n = rows();
    return (contentBottom() - FirstRowTop - (n - 1) * rowGap - CaptionGap - TextLineHeight) / n;
}

int ShowPrintLayout::contentBottom() const {
    const int bottom = measures_.printableHeightTwips(0);
    return options_.footer ? bottom - FooterRise - FooterClearance : bottom;
}

bool ShowPrintLayout::fitsPage() const {
    return cw_ >= MinimumCellWidth && ch_ >= MinimumCellHeight;
}

int ShowPrintLayout::rows() const {
    return rowOf(options_.layout).rows;
}

int ShowPrintLayout::columns() const {
    return rowOf(options_.layout).columns;
}

int ShowPrintLayout::slidesPerPage() const {
    return rows() * columns();
}

int ShowPrintLayout::pageCount(int slideCount) const {
    return slideCount <= 0 ? 0 : (slideCount + slidesPerPage() - 1) / slidesPerPage();
}

int ShowPrintLayout::slidesOnPage(int page, int slideCount) const {
    return qBound(0, slideCount - page * slidesPerPage(), slidesPerPage());
}

QSize ShowPrintLayout::cellPixels() const {
    return measures_.pixels(QSize(cw_, ch_));
}

QPoint ShowPrintLayout::cellOrigin(int cell) const {
    const LayoutRow& row = rowOf(options_.layout);
    const int r = cell / row.columns;
    const int c = cell % row.columns;
    return {row.left + c * (cw_ + row.columnGap), FirstRowTop + r * (ch_ + row.rowGap)};
}

QSize ShowPrintLayout::fit(QSize picture) const {
    if (picture.isEmpty())
        return {};
    qint64 w = cw_, h = ch_;
    if (picture.width() > picture.height())
        h = qint64(cw_) * picture.height() / picture.width();
    else
        w = qint64(ch_) * picture.width() / picture.height();
    if (w > cw_) {
        h = cw_ * h / w;
        w = cw_;
    }
    if (h > ch_) {
        w = ch_ * w / h;
        h = ch_;
    }
    return {int(w), int(h)};
}

int ShowPrintLayout::pictureLeft(int cellLeft, int width) const {
    switch (options_.layout) {
    case PrintOptions::LargeSheet:
    case PrintOptions::LargeJournal:
        return cellLeft + (wt_ - width) / 2;
    case PrintOptions::MediumJournal:
        return cellLeft;
    default:
        return cellLeft + (cw_ - width) / 2;
    }
}

QString ShowPrintLayout::captionLead(int frameNumber) const {
    if (!options_.frameNumbers)
        return {};
    return QLatin1Char('#') + QString::number(frameNumber) + QStringLiteral(" - ");
}

int ShowPrintLayout::captionLeft(int cell, const QRect& picture, int textWidth) const {
    const int pw = measures_.pageWidth;
    switch (options_.layout) {
    case PrintOptions::SmallSheet:
        // Half a column right of the picture's left edge.
        return measures_.xPixels(picture.left() + wt_ / 6 - 180) - textWidth / 2;
    case PrintOptions::MediumSheet:
        if (cell % 2 == 0)
            return pw / 4 - textWidth / 2;
        return pw / 4 * 3 - measures_.xPixels(540) - textWidth / 2;
    case PrintOptions::SmallJournal:
        return measures_.xPixels(1872) - textWidth / 2;
    case PrintOptions::MediumJournal:
        return pw / 5;
    default:
        return pw / 2 - 100;
    }
}

// The left and right edges, in pixels, that a cell's caption stays between: the cell's column, or
// the usable width in the large layouts.
std::pair<int, int> ShowPrintLayout::captionColumn(int cell) const {
    const int left = cellOrigin(cell).x();
    const int width =
        options_.layout == PrintOptions::LargeSheet || options_.layout == PrintOptions::LargeJournal ? wt_
                                                                                                     : cw_;
    return {measures_.xPixels(left), measures_.xPixels(left + width)};
}

// The caption where the layout puts it, unless that runs out of its column: then it is shortened in
// the middle of the file name and moved inside the column.
TextLine ShowPrintLayout::captionFor(int cell, const QRect& picture, const CellPicture& source,
                                     const TextWidth& textWidth) const {
    const auto [left, right] = captionColumn(cell);
    const QString text =
        shortenMiddle(captionLead(source.frameNumber), fileNamePart(source.path), right - left, textWidth);
    const int width = textWidth(text);
    const int x = qMax(left, qMin(captionLeft(cell, picture, width), right - width));
    return {text, QPoint(x, measures_.yPixels(picture.top() + picture.height() + CaptionGap))};
}

CellPlan ShowPrintLayout::cell(int cell, const CellPicture& picture, const TextWidth& textWidth) const {
    const QPoint origin = cellOrigin(cell);
    const QSize size = fit(picture.size);
    CellPlan plan;
    plan.picture = QRect(pictureLeft(origin.x(), size.width()), origin.y(), size.width(), size.height());
    plan.caption = captionFor(cell, plan.picture, picture, textWidth);
    if (!options_.journal())
        return plan;
    int firstLineY = 0;
    plan.rules = rulesFor(cell, plan.picture, firstLineY);
    if (options_.comments)
        plan.comments = commentLines(picture.comment, firstLineY, int(plan.rules.size()), textWidth);
    return plan;
}

// The ruled lines of a journal cell, down to the next row or the bottom the cells may reach.
// `firstLineY` receives the y that stands for line 0, above the first ruled line: the picture's top,
// or in the large journal the top of the lines under it.
QList<QLine> ShowPrintLayout::rulesFor(int cell, const QRect& picture, int& firstLineY) const {
    const int dx = measures_.dpiX, dy = measures_.dpiY, pw = measures_.pageWidth;
    const int step = dy / 5;
    int count = 0, left = 0;
    switch (options_.layout) {
    case PrintOptions::SmallJournal:
        count = 8;
        left = pw / 3 + dx / 3;
        firstLineY = measures_.yPixels(picture.top());
        break;
    case PrintOptions::MediumJournal:
        count = 16;
        left = pw / 2;
        firstLineY = measures_.yPixels(picture.top());
        break;
    default:
        count = 12;
        left = 0;
        firstLineY = measures_.yPixels(picture.top() + picture.height() + dy / 3) + dy / 2;
        break;
    }
    const int nextRow = cell + columns();
    const int bottom =
        measures_.yPixels(nextRow < slidesPerPage() ? cellOrigin(nextRow).y() : contentBottom());
    QList<QLine> rules;
    for (int k = 1; k <= count && firstLineY + k * step <= bottom; ++k)
        rules.append(QLine(left, firstLineY + k * step, pw, firstLineY + k * step));
    return rules;
}

// The comment on the ruled lines, one line of text above each ruled line.
QList<TextLine> ShowPrintLayout::commentLines(const QString& comment, int firstLineY, int maxLines,
                                              const TextWidth& textWidth) const {
    const int pw = measures_.pageWidth, dx = measures_.dpiX, dy = measures_.dpiY;
    int width = pw, left = 0;
    if (options_.layout == PrintOptions::SmallJournal) {
        width = pw - 2 * (pw / 3);
        left = pw / 3 + dx / 3;
    } else if (options_.layout == PrintOptions::MediumJournal) {
        width = pw / 2;
        left = pw / 2;
    }
    QList<TextLine> lines;
    const QStringList wrapped = wrapText(comment.trimmed(), width, textWidth, maxLines);
    for (qsizetype j = 0; j < wrapped.size(); ++j)
        lines.append({wrapped[j], QPoint(left, firstLineY + int(j) * (dy / 5) + dy / 15)});
    return lines;
}

TextLine ShowPrintLayout::header(const QString& lead, const QString& showName,
                                 const TextWidth& textWidth) const {
    const int x = 2 * measures_.dpiX + 10;
    return {shortenMiddle(lead, showName, measures_.pageWidth - x - 10, textWidth), QPoint(x, 10)};
}

TextLine ShowPrintLayout::footer(const QString& text, const TextWidth& textWidth) const {
    return {shortenMiddle(QString(), text, measures_.pageWidth - 20, textWidth),
            QPoint(10, measures_.pageHeight - measures_.yPixels(FooterRise))};
}

} // namespace print
