// SPDX-License-Identifier: MIT
// The print arithmetic on two fixed pages: Letter at 600 dots per inch and A4 at 300, each with a
// printable area inset by a sixth of an inch. The expected figures were worked out by hand from the
// layout rules (twips are 1440 per inch, every division truncates).
#include "image_print_layout.h"
#include "show_print_layout.h"
#include "text_wrap.h"

#include <gtest/gtest.h>

using namespace print;

namespace {

// Letter: 8.5 x 11 inches; Wt = 10320, Ht = 13360.
PageMeasures letter600() {
    return {600, 600, 5100, 6600, 100, 100, 4900, 6400};
}
// A4: 2480 x 3508 pixels; Wt = 9984, Ht = 14358.
PageMeasures a4At300() {
    return {300, 300, 2480, 3508, 50, 50, 2380, 3408};
}
// Letter turned on its side.
PageMeasures letterLandscape600() {
    return {600, 600, 6600, 5100, 100, 100, 6400, 4900};
}

// Every character is 10 pixels wide.
int tenPerCharacter(const QString& text) {
    return int(text.size()) * 10;
}

PrintOptions layoutOptions(int layout, bool frameNumbers = false, bool comments = false) {
    PrintOptions o;
    o.layout = layout;
    o.frameNumbers = frameNumbers;
    o.comments = comments;
    return o;
}

CellPlan cellOf(const PageMeasures& page, const PrintOptions& options, int cell, QSize picture,
                const QString& path = QStringLiteral("/pictures/Land.JPG"), const QString& comment = {},
                int frame = 1) {
    return ShowPrintLayout(options, page)
        .cell(cell, CellPicture{picture, path, comment, frame}, tenPerCharacter);
}

const QSize Landscape(640, 480), Portrait(480, 640), Square(500, 500);

TEST(ShowPrintLayout, CellSizesAndSlidesPerPageOfEveryLayout) {
    // A page of 3 x 3.5 inches at 300 dots per inch, printable to its edges.
    const PageMeasures tiny{300, 300, 900, 1050, 0, 0, 900, 1050};
    const struct {
        PageMeasures page;
        int layout;
        bool footer;
        int cw, ch, perPage;
        bool fits;
    } rows[] = {
        {letter600(), 1, false, 3440, 2226, 15, true},
        {letter600(), 2, false, 5160, 3340, 6, true},
        {letter600(), 3, false, 10320, 13360, 1, true},
        {letter600(), 4, false, 3440, 2226, 5, true},
        // The medium journal keeps 600 twips between its rows: (15360 - 1000 - 600 - 200 - 240) / 2.
        {letter600(), 5, false, 5160, 6660, 2, true},
        {letter600(), 6, false, 8256, 10688, 1, true},
        {a4At300(), 1, false, 3328, 2393, 15, true},
        {a4At300(), 2, false, 4992, 3589, 6, true},
        {a4At300(), 3, false, 9984, 14358, 1, true},
        {a4At300(), 4, false, 3328, 2393, 5, true},
        {a4At300(), 5, false, 4992, 7159, 2, true},
        {a4At300(), 6, false, 7984, 11484, 1, true},
        // Rows that would run off the page, or into the footer's room, are made lower:
        // (11760 - 1000 - 4 x 600 - 200 - 240) / 5 and (15360 - 480 - 3840) / 5.
        {letterLandscape600(), 1, false, 4640, 1584, 15, true},
        {letter600(), 1, true, 3440, 2208, 15, true},
        {letter600(), 3, true, 10320, 13360, 1, true},
        // A page too small for the layout's cells is refused.
        {tiny, 1, false, 960, 240, 15, false},
        {tiny, 3, false, 2880, 3040, 1, true},
    };
    for (const auto& r : rows) {
        PrintOptions options = layoutOptions(r.layout);
        options.footer = r.footer;
        const ShowPrintLayout layout(options, r.page);
        const std::string row =
            "layout " + std::to_string(r.layout) + " on " + std::to_string(r.page.paperWidth);
        EXPECT_EQ(layout.cellWidth(), r.cw) << row;
        EXPECT_EQ(layout.cellHeight(), r.ch) << row;
        EXPECT_EQ(layout.slidesPerPage(), r.perPage) << row;
        EXPECT_EQ(layout.fitsPage(), r.fits) << row;
    }
    EXPECT_EQ(ShowPrintLayout(layoutOptions(1), letter600()).usableWidth(), 10320);
    EXPECT_EQ(ShowPrintLayout(layoutOptions(1), a4At300()).usableHeight(), 14358);
}

TEST(ShowPrintLayout, PictureRectanglesForLandscapePortraitAndSquarePictures) {
    const struct {
        PageMeasures page;
        int layout;
        QSize picture;
        QRect twips;
    } rows[] = {
        // Each layout on one of the two pages; the cell sizes of both are checked above.
        {letter600(), 1, Landscape, {596, 1000, 2968, 2226}},
        {letter600(), 1, Portrait, {1245, 1000, 1669, 2226}},
        {letter600(), 1, Square, {967, 1000, 2226, 2226}},
        {letter600(), 3, Landscape, {720, 1000, 10320, 7740}},
        {letter600(), 3, Portrait, {870, 1000, 10020, 13360}},
        {letter600(), 3, Square, {720, 1000, 10320, 10320}},
        {letter600(), 5, Landscape, {360, 1000, 5160, 3870}},
        {letter600(), 5, Portrait, {360, 1000, 4995, 6660}},
        {letter600(), 5, Square, {360, 1000, 5160, 5160}},
        {a4At300(), 2, Landscape, {463, 1000, 4785, 3589}},
        {a4At300(), 2, Portrait, {1510, 1000, 2691, 3589}},
        {a4At300(), 2, Square, {1061, 1000, 3589, 3589}},
        {a4At300(), 4, Landscape, {429, 1000, 3190, 2393}},
        {a4At300(), 4, Portrait, {1127, 1000, 1794, 2393}},
        {a4At300(), 4, Square, {827, 1000, 2393, 2393}},
        {a4At300(), 6, Landscape, {1720, 1000, 7984, 5988}},
        {a4At300(), 6, Portrait, {1720, 1000, 7984, 10645}},
        {a4At300(), 6, Square, {1720, 1000, 7984, 7984}},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(cellOf(r.page, layoutOptions(r.layout), 0, r.picture).picture, r.twips)
            << "layout " << r.layout << " at " << r.page.dpiX << " dpi, " << r.picture.width() << "x"
            << r.picture.height();
    }
}

TEST(ShowPrintLayout, CellsFillRowsLeftToRightThenTopToBottom) {
    const struct {
        int layout, cell;
        QPoint origin;
    } rows[] = {
        {1, 0, {360, 1000}},    {1, 1, {4000, 1000}}, {1, 2, {7640, 1000}}, {1, 3, {360, 3826}},
        {1, 14, {7640, 12304}}, {2, 1, {5720, 1000}}, {2, 2, {360, 4940}},  {2, 5, {5720, 8880}},
        {4, 4, {360, 12304}},   {5, 1, {360, 8260}},
    };
    for (const auto& r : rows)
        EXPECT_EQ(ShowPrintLayout(layoutOptions(r.layout), letter600()).cellOrigin(r.cell), r.origin)
            << "layout " << r.layout << " cell " << r.cell;
}

TEST(ShowPrintLayout, PagesTakeTheSlidesInShowOrder) {
    const struct {
        int layout, slides;
        std::vector<int> perPage;
    } rows[] = {
        {1, 16, {15, 1}}, {1, 15, {15}},      {5, 7, {2, 2, 2, 1}}, {3, 3, {1, 1, 1}},
        {2, 6, {6}},      {4, 11, {5, 5, 1}}, {6, 0, {}},
    };
    for (const auto& r : rows) {
        const ShowPrintLayout layout(layoutOptions(r.layout), a4At300());
        std::vector<int> pages;
        for (int page = 0; page < layout.pageCount(r.slides); ++page)
            pages.push_back(layout.slidesOnPage(page, r.slides));
        EXPECT_EQ(pages, r.perPage) << "layout " << r.layout << ", " << r.slides << " slides";
    }
}

QString letters(int n, char c) {
    return QString(n, QLatin1Char(c));
}

TEST(ShowPrintLayout, CaptionTextAndPlace) {
    const struct {
        PageMeasures page;
        int layout, cell;
        QSize picture;
        bool numbers;
        int frame;
        TextLine caption;
        QString path = QStringLiteral("C:\\Pictures\\LAND.jpg");
    } rows[] = {
        // Centred half a column right of the picture's left edge, less 180 twips.
        {letter600(), 1, 0, Landscape, false, 1, {"LAND.jpg", {850, 1427}}},
        {letter600(), 1, 0, Landscape, true, 1, {"#1 - LAND.jpg", {825, 1427}}},
        // A narrower portrait picture moves its caption right with its left edge.
        {letter600(), 1, 0, Portrait, false, 1, {"LAND.jpg", {1120, 1427}}},
        // Medium contact sheet: a quarter and three quarters of the page, whatever the picture.
        {letter600(), 2, 0, Landscape, false, 1, {"LAND.jpg", {1185, 1891}}},
        {letter600(), 2, 1, Portrait, false, 2, {"LAND.jpg", {3410, 1891}}},
        {letter600(), 2, 2, Landscape, true, 2, {"#2 - LAND.jpg", {1160, 3533}}},
        {letter600(), 3, 0, Landscape, false, 1, {"LAND.jpg", {2350, 3725}}},
        {letter600(), 4, 1, Landscape, true, 2, {"#2 - LAND.jpg", {715, 2605}}},
        {letter600(), 5, 1, Portrait, false, 1, {"LAND.jpg", {980, 6300}}},
        {letter600(), 6, 0, Landscape, false, 1, {"LAND.jpg", {2350, 3080}}},
        {a4At300(), 1, 0, Landscape, false, 1, {"LAND.jpg", {358, 748}}},
        {a4At300(), 2, 1, Landscape, false, 1, {"LAND.jpg", {1633, 997}}},
        // A name wider than the column (1433 pixels from 150) loses its middle, not its frame
        // number, and the caption moves into the column.
        {letter600(),
         1,
         0,
         Landscape,
         true,
         1,
         {"#1 - " + letters(66, 'a') + "...a" + letters(64, 'z') + ".jpg", {153, 1427}},
         "/p/" + letters(100, 'a') + letters(100, 'z') + ".jpg"},
        // A caption that fits its column but would run past its right edge (4616) moves left.
        {letter600(),
         1,
         2,
         Portrait,
         true,
         3,
         {"#3 - " + letters(96, 'x') + ".jpg", {3566, 1427}},
         "/p/" + letters(96, 'x') + ".jpg"},
    };
    for (const auto& r : rows) {
        const CellPlan plan =
            cellOf(r.page, layoutOptions(r.layout, r.numbers), r.cell, r.picture, r.path, {}, r.frame);
        EXPECT_EQ(plan.caption, r.caption)
            << "layout " << r.layout << " cell " << r.cell << ": " << plan.caption.text.toStdString()
            << " at " << plan.caption.at.x() << "," << plan.caption.at.y();
    }
}

TEST(ShowPrintLayout, JournalRulesAndCommentLines) {
    const QString comment = QStringLiteral("Our first day at the lake");
    const struct {
        PageMeasures page;
        int layout, cell, rules;
        QLine first, last;
        QPoint commentAt;
        QSize picture = Landscape;
        bool footer = false;
    } rows[] = {
        {letter600(), 4, 0, 8, {1833, 536, 4900, 536}, {1833, 1376, 4900, 1376}, {1833, 456}},
        {letter600(), 5, 1, 16, {2450, 3561, 4900, 3561}, {2450, 5361, 4900, 5361}, {2450, 3481}},
        {letter600(), 6, 0, 12, {0, 3500, 4900, 3500}, {0, 4820, 4900, 4820}, {0, 3420}},
        {a4At300(), 4, 0, 8, {893, 268, 2380, 268}, {893, 688, 2380, 688}, {893, 228}},
        // The lines stop above the next row (pixel 1326) on a low page ...
        {letterLandscape600(), 4, 0, 7, {2333, 536, 6400, 536}, {2333, 1256, 6400, 1256}, {2333, 456}},
        // ... and at the bottom of the printable area (6400) or above the footer (6200) under a
        // portrait picture in the large journal.
        {letter600(), 6, 0, 9, {0, 5373, 4900, 5373}, {0, 6333, 4900, 6333}, {0, 5293}, Portrait},
        {letter600(), 6, 0, 7, {0, 5373, 4900, 5373}, {0, 6093, 4900, 6093}, {0, 5293}, Portrait, true},
    };
    for (const auto& r : rows) {
        PrintOptions options = layoutOptions(r.layout, false, true);
        options.footer = r.footer;
        const CellPlan plan = ShowPrintLayout(options, r.page)
                                  .cell(r.cell, {r.picture, "/p/a.jpg", comment, 1}, tenPerCharacter);
        ASSERT_EQ(plan.rules.size(), r.rules) << "layout " << r.layout;
        EXPECT_EQ(plan.rules.front(), r.first) << "layout " << r.layout;
        EXPECT_EQ(plan.rules.back(), r.last) << "layout " << r.layout;
        ASSERT_EQ(plan.comments.size(), 1) << "layout " << r.layout;
        EXPECT_EQ(plan.comments.front(), (TextLine{comment, r.commentAt})) << "layout " << r.layout;
    }
}

TEST(ShowPrintLayout, CommentsOnlyInJournalsWithTextAndTheBoxTicked) {
    const QString text = QStringLiteral("Some words");
    const struct {
        int layout;
        bool ticked;
        QString comment;
        qsizetype rules, lines;
    } rows[] = {
        {4, true, text, 8, 1},       {4, false, text, 8, 0}, {4, true, QStringLiteral("   "), 8, 0},
        {5, true, QString(), 16, 0}, {1, true, text, 0, 0},  {3, true, text, 0, 0},
    };
    for (const auto& r : rows) {
        const CellPlan plan = cellOf(letter600(), layoutOptions(r.layout, false, r.ticked), 0, Landscape,
                                     QStringLiteral("a.jpg"), r.comment);
        EXPECT_EQ(plan.rules.size(), r.rules) << "layout " << r.layout;
        EXPECT_EQ(plan.comments.size(), r.lines) << "layout " << r.layout;
    }
}

TEST(ShowPrintLayout, LongCommentsWrapAtTheLayoutsWidthOneRuledLineApart) {
    // The small journal wraps at PW - 2 x (PW div 3) = 1634 pixels: 163 characters here.
    const QString word = QString(100, QLatin1Char('a'));
    const CellPlan plan = cellOf(letter600(), layoutOptions(4, false, true), 0, Landscape,
                                 QStringLiteral("a.jpg"), word + QLatin1Char(' ') + word);
    ASSERT_EQ(plan.comments.size(), 2);
    EXPECT_EQ(plan.comments[0], (TextLine{word, {1833, 456}}));
    EXPECT_EQ(plan.comments[1], (TextLine{word, {1833, 576}}));
}

TEST(ShowPrintLayout, HeaderAndFooterPlacesAndWidths) {
    const ShowPrintLayout letter(layoutOptions(1), letter600());
    const QString lead = QStringLiteral("12:00 - Filename: ");
    EXPECT_EQ(letter.header(lead, QStringLiteral("h"), tenPerCharacter), (TextLine{lead + "h", {1210, 10}}));
    // The footer stands a quarter of an inch above the bottom of the printable area.
    EXPECT_EQ(letter.footer(QStringLiteral("f"), tenPerCharacter), (TextLine{"f", {10, 6250}}));
    const ShowPrintLayout a4(layoutOptions(6), a4At300());
    EXPECT_EQ(a4.header(lead, QStringLiteral("h"), tenPerCharacter).at, QPoint(610, 10));
    EXPECT_EQ(a4.footer(QStringLiteral("f"), tenPerCharacter).at, QPoint(10, 3333));
    // Lines wider than the page (3680 and 4880 pixels on Letter) lose their middle; the header keeps
    // its date and time.
    EXPECT_EQ(letter.header(lead, letters(200, 'n') + letters(200, 'm'), tenPerCharacter).text,
              lead + letters(172, 'n') + "...n" + letters(174, 'm'));
    EXPECT_EQ(letter.footer(letters(300, 'f') + letters(300, 'g'), tenPerCharacter).text,
              letters(241, 'f') + "...f" + letters(243, 'g'));
}

TEST(ShowPrintLayout, CellPixelsBoundTheDecodedPicture) {
    EXPECT_EQ(ShowPrintLayout(layoutOptions(1), letter600()).cellPixels(), QSize(1433, 927));
    EXPECT_EQ(ShowPrintLayout(layoutOptions(3), a4At300()).cellPixels(), QSize(2080, 2991));
}

TEST(SingleImagePrint, PictureAsLargeAsTheAreaAllows) {
    const struct {
        PageMeasures page;
        QSize picture;
        QRect twips;
    } rows[] = {
        // Landscape: the full width 1000 twips from the left, centred below a one-inch offset.
        {letter600(), Landscape, {1000, 4350, 8880, 6660}},
        {a4At300(), Landscape, {1000, 4975, 8544, 6408}},
        // Portrait: the full height 1000 twips from the top, centred right of a one-inch offset.
        {letter600(), {480, 800}, {2136, 1000, 7488, 12480}},
        {a4At300(), {480, 800}, {1669, 1000, 8086, 13478}},
        {letterLandscape600(), Portrait, {4350, 1000, 6660, 8880}},
        // Too wide for the full height (a square on a portrait page): limited by the width and
        // centred both ways.
        {letter600(), Square, {1440, 3240, 8880, 8880}},
        {a4At300(), Square, {1440, 3907, 8544, 8544}},
        {letter600(), Portrait, {1440, 1760, 8880, 11840}},
        // Too high for the full width (landscape on a landscape page).
        {letterLandscape600(), Landscape, {1760, 1440, 11840, 8880}},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(placeSingleImage(r.page, r.picture), r.twips)
            << r.picture.width() << "x" << r.picture.height() << " at " << r.page.dpiX << " dpi";
    }
    EXPECT_EQ(singleImageArea(letter600()), QSize(8880, 12480));
    // Pages with less than an inch left across (2.5 inches wide), or nothing (2 inches), are refused.
    EXPECT_TRUE(singleImageFits(letter600()));
    EXPECT_FALSE(singleImageFits({300, 300, 750, 1050, 0, 0, 750, 1050}));
    EXPECT_EQ(placeSingleImage({300, 300, 600, 1050, 0, 0, 600, 1050}, Landscape), QRect());
}

TEST(SingleImagePrint, LogoIsHalfAnInchWide) {
    EXPECT_EQ(placeLogo(QSize(480, 360)), QRect(144, 144, 720, 540));
    EXPECT_EQ(placeLogo(QSize(300, 100)), QRect(144, 144, 720, 240));
}

TEST(WrapText, BreaksAtBlanksAndInsideWordsWiderThanTheLine) {
    const struct {
        const char* text;
        int width;
        QStringList lines;
        int maxLines = -1;
    } rows[] = {
        {"one two three", 70, {"one two", "three"}},
        {"one two three", 69, {"one", "two", "three"}},
        {"  spaced   out  ", 100, {"spaced out"}},
        {"abcdefghijkl", 50, {"abcde", "fghij", "kl"}},
        {"ab abcdefghijkl cd", 50, {"ab", "abcde", "fghij", "kl cd"}},
        {"abc", 5, {"a", "b", "c"}},
        {"", 50, {}},
        // Lines beyond the last one allowed are left out; the last one says so.
        {"one two three", 70, {"one two", "three"}, 2},
        {"one two three", 69, {"one", "two..."}, 2},
        {"one two three", 70, {"one ..."}, 1},
        {"one two three", 70, {}, 0},
    };
    for (const auto& r : rows)
        EXPECT_EQ(wrapText(QLatin1String(r.text), r.width, tenPerCharacter, r.maxLines), r.lines) << r.text;
}

TEST(ShortenMiddle, KeepsTheLeadAndBothEndsOfTheText) {
    const struct {
        const char* lead;
        const char* text;
        int width;
        const char* shortened;
    } rows[] = {
        {"", "abcdefghij", 100, "abcdefghij"},
        {"", "abcdefghij", 90, "ab...ghij"},
        {"#1 - ", "abcdefghij", 140, "#1 - ab...ghij"},
        // When even the lead does not fit with a letter and the dots, the whole line is shortened.
        {"#12 - ", "abcdefghij", 80, "#...1hij"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(shortenMiddle(QLatin1String(r.lead), QLatin1String(r.text), r.width, tenPerCharacter),
                  QLatin1String(r.shortened))
            << r.lead << r.text;
}

TEST(WrapText, NoLineRunsPastTheWidthWithProportionalLetters) {
    // W is three times as wide as the other letters.
    const TextWidth width = [](const QString& text) {
        int w = 0;
        for (QChar c : text)
            w += c == QLatin1Char('W') ? 30 : 10;
        return w;
    };
    const QString text = QStringLiteral("WWWWWWWWWW aW WaWaWaWaWaWa a a WWW aaaaaaaaaaaaaaaaaaaa");
    const QStringList lines = wrapText(text, 65, width);
    for (const QString& line : lines)
        EXPECT_LE(width(line), 65) << line.toStdString();
    EXPECT_EQ(lines.join(QString()).remove(QLatin1Char(' ')), QString(text).remove(QLatin1Char(' ')));
}

} // namespace
