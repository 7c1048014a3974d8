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
constexpr LayoutRow Layouts[] = {
    {5, 3, 360, 200, 600}, // small contact sheet
    {3, 2, 360, 200, 600}, // medium contact sheet
    {1, 1, 720, 0, 0},     // large contact sheet
    {5, 1, 360, 0, 600},   // small journal
    {2, 1, 360, 0, 0},     // medium journal
    {1, 1, 720, 0, 0},     // large journal
};
// The caption sits this far below its picture.
constexpr int CaptionGap = 200;

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

QString ShowPrintLayout::captionText(const QString& path, int frameNumber) const {
    const QString name = fileNamePart(path).toLower();
    if (!options_.frameNumbers)
        return name;
    return QLatin1Char('#') + QString::number(frameNumber) + QStringLiteral(" - ") + name;
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

CellPlan ShowPrintLayout::cell(int cell, const CellPicture& picture, const TextWidth& textWidth) const {
    const QPoint origin = cellOrigin(cell);
    const QSize size = fit(picture.size);
    CellPlan plan;
    plan.picture = QRect(pictureLeft(origin.x(), size.width()), origin.y(), size.width(), size.height());

    const QString caption = captionText(picture.path, picture.frameNumber);
    plan.caption.text = caption;
    plan.caption.at = QPoint(captionLeft(cell, plan.picture, textWidth(caption)),
                             measures_.yPixels(origin.y() + size.height() + CaptionGap));
    if (!options_.journal())
        return plan;
    int firstLineY = 0;
    plan.rules = rulesFor(plan.picture, firstLineY);
    if (options_.comments)
        plan.comments = commentLines(picture.comment, firstLineY, textWidth);
    return plan;
}

// The ruled lines of a journal cell. `firstLineY` receives the y that stands for line 0, above the
// first ruled line: the picture's top, or in the large journal the top of the lines under it.
QList<QLine> ShowPrintLayout::rulesFor(const QRect& picture, int& firstLineY) const {
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
    QList<QLine> rules;
    for (int k = 1; k <= count; ++k)
        rules.append(QLine(left, firstLineY + k * step, pw, firstLineY + k * step));
    return rules;
}

QList<TextLine> ShowPrintLayout::commentLines(const QString& comment, int firstLineY,
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
    const QStringList wrapped = wrapText(comment.trimmed(), width, textWidth);
    for (qsizetype j = 0; j < wrapped.size(); ++j)
        lines.append({wrapped[j], QPoint(left, firstLineY + int(j) * (dy / 5) + dy / 15)});
    return lines;
}

TextLine ShowPrintLayout::header(const QString& text) const {
    return {text, QPoint(2 * measures_.dpiX + 10, 10)};
}

TextLine ShowPrintLayout::footer(const QString& text) const {
    return {text, QPoint(10, measures_.pageHeight - 120)};
}

} // namespace print
