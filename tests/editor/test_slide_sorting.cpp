// SPDX-License-Identifier: MIT
// Sorting the show's slides: by the date their pictures were taken, by name in natural order, or the
// other way round; the whole show or the slides chosen, each sort one step of the show's history.

#include "date_taken.h"
#include "show_document.h"
#include "show_file.h"
#include "slide_sorting.h"
#include "test_pictures.h"
#include "test_shows.h"

#include <QDateTime>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace {

using SlideSorting::Order;

class Sorting : public testing::Test {
  protected:
    // A slide per name: a picture made under the folder, or a blank slide for "BLANK".
    void addSlides(const QStringList& names) {
        for (const QString& name : names) {
            const QString path =
                name == QLatin1String("BLANK") ? name : test_pictures::make(dir.path(), name);
            ASSERT_FALSE(path.isEmpty()) << name.toStdString();
            test_shows::append(show, {test_shows::slide(show, path)});
        }
        show.markOpened();
    }
    QString names() const {
        QStringList shown;
        for (int i = 0; i < show.SlideCount; ++i)
            shown.append(ShowFile::fileNamePart(show.imagePath(i)));
        return shown.join(' ');
    }
    void sort(Order order) { SlideSorting::sortSlides(show, SlideSorting::allSlides(show), order); }

    QTemporaryDir dir;
    ShowDocument show;
};

TEST(NaturalOrder, DigitsCompareByTheirValueAndLettersWithoutCase) {
    const struct {
        const char *a, *b;
        int sign;
    } rows[] = {
        {"img2.jpg", "img10.jpg", -1},
        {"IMG2.jpg", "img10.jpg", -1},
        {"img10.jpg", "img9.jpg", 1},
        {"a.jpg", "B.jpg", -1},
        {"x1y10", "x1y9", 1},
        {"img2.jpg", "img2.jpg", 0},
        {"", "a", -1},
        {"photo", "photo 1", -1},
        {"img007", "img7", -1},
        {"Img2", "img2", -1},
        {"2024-05-01 9h", "2024-05-01 10h", -1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.a) + " | " + row.b);
        const int c = SlideSorting::naturalCompare(QString::fromUtf8(row.a), QString::fromUtf8(row.b));
        EXPECT_EQ((c > 0) - (c < 0), row.sign);
        const int back = SlideSorting::naturalCompare(QString::fromUtf8(row.b), QString::fromUtf8(row.a));
        EXPECT_EQ((back > 0) - (back < 0), -row.sign);
    }
}

// By name in natural order, slides without a picture last; reversed; each sort one step that Undo
// takes back whole.
TEST_F(Sorting, ByNameThenReversedEachOneStepOfTheHistory) {
    addSlides({"img10.jpg", "BLANK", "IMG2.jpg", "img1.jpg", "b.png"});
    sort(Order::Name);
    EXPECT_EQ(names(), "b.png img1.jpg IMG2.jpg img10.jpg BLANK");
    EXPECT_TRUE(show.ShowModified);
    EXPECT_EQ(show.history().undoText(), QStringLiteral("Sort Slides"));
    sort(Order::Reverse);
    EXPECT_EQ(names(), "BLANK img10.jpg IMG2.jpg img1.jpg b.png");
    EXPECT_EQ(show.history().count(), 2);
    show.undo();
    EXPECT_EQ(names(), "b.png img1.jpg IMG2.jpg img10.jpg BLANK");
    show.undo();
    EXPECT_EQ(names(), "img10.jpg BLANK IMG2.jpg img1.jpg b.png");
    EXPECT_FALSE(show.ShowModified);
    // A show already in order is no step.
    show.redo();
    sort(Order::Name);
    EXPECT_EQ(show.history().count(), 2);
}

// The slides chosen are sorted among their own places; the others, and indices outside the show,
// stay as they are.
TEST_F(Sorting, OnlyTheSlidesChosenChangePlacesAmongThemselves) {
    addSlides({"e.png", "d.png", "c.png", "b.png", "a.png", "f.png"});
    SlideSorting::sortSlides(show, {4, 0, 2, 7, -1, 2}, Order::Name);
    EXPECT_EQ(names(), "a.png d.png c.png b.png e.png f.png");
    SlideSorting::sortSlides(show, {1, 5, 3}, Order::Reverse);
    EXPECT_EQ(names(), "a.png f.png c.png b.png e.png d.png");
    show.undo();
    show.undo();
    EXPECT_EQ(names(), "e.png d.png c.png b.png a.png f.png");
}

// By the EXIF date with its sub-seconds and offset, a picture without one by its file's time,
// slides without a picture last; the dates are read off the window thread, once, and kept for the
// next sort.
TEST_F(Sorting, ByDateTakenReadingEachFileOnce) {
    if (QStandardPaths::findExecutable(QStringLiteral("exiftool")).isEmpty())
        GTEST_SKIP() << "exiftool (libimage-exiftool-perl) is not installed";
    addSlides({"a.jpg", "b.jpg", "BLANK", "c.jpg", "d.jpg", "e.png"});
    const std::pair<const char*, QStringList> tags[] = {
        {"a.jpg", {"-DateTimeOriginal=2021:05:01 10:00:00", "-OffsetTimeOriginal=+00:00"}},
        {"b.jpg",
         {"-DateTimeOriginal=2021:05:01 10:00:00", "-SubSecTimeOriginal=5", "-OffsetTimeOriginal=+00:00"}},
        {"c.jpg", {"-DateTimeOriginal=2020:12:31 23:59:59"}},
        {"d.jpg", {"-DateTimeOriginal=2021:05:01 12:00:00", "-OffsetTimeOriginal=+04:00"}},
    };
    for (const auto& [name, assignments] : tags)
        ASSERT_TRUE(test_pictures::tagExif(dir.filePath(name), assignments)) << name;
    const quint64 reads = imaging::dateReadCount(), windowReads = imaging::dateReadsOnThisThreadCount();
    sort(Order::DateTaken);
    EXPECT_EQ(names(), "c.jpg d.jpg a.jpg b.jpg e.png BLANK");
    EXPECT_EQ(imaging::dateReadCount(), reads + 5);
    EXPECT_EQ(imaging::dateReadsOnThisThreadCount(), windowReads);
    sort(Order::Reverse);
    sort(Order::DateTaken);
    EXPECT_EQ(names(), "c.jpg d.jpg a.jpg b.jpg e.png BLANK");
    EXPECT_EQ(imaging::dateReadCount(), reads + 5);
}

// Three hundred photos, their EXIF dates out of name order, added as one step and sorted by date;
// forty given 3 s and a caption as one step, ten deleted as one: each step is undone in turn, back to
// the show exactly as it stood before it.
TEST_F(Sorting, ThreeHundredPhotosSortedByDateChangedAndDeletedAreUndoneStepByStep) {
    QStringList paths;
    QList<QDateTime> taken, fileTimes;
    // Photo p was taken (7 p mod 300) minutes after the first, so that by date place k holds photo
    // 43 k mod 300 (7 x 43 = 301); the files' times run the other way.
    for (int i = 0; i < 300; ++i) {
        paths.append(
            test_pictures::make(dir.path(), QStringLiteral("p%1.jpg").arg(i, 3, 10, QLatin1Char('0'))));
        taken.append(QDateTime(QDate(2024, 5, 1), QTime(8, 0)).addSecs(60 * (7 * i % 300)));
        fileTimes.append(QDateTime(QDate(2020, 1, 1), QTime(0, 0)).addSecs(-60 * (7 * i % 300)));
    }
    if (!test_pictures::tagDatesTaken(paths, taken, fileTimes))
        GTEST_SKIP() << "exiftool (libimage-exiftool-perl) is not installed";
    const auto contents = [this] {
        QStringList slides;
        for (int i = 0; i < show.SlideCount; ++i)
            slides.append(QStringLiteral("%1 %2 %3")
                              .arg(ShowFile::fileNamePart(show.imagePath(i)))
                              .arg(show.slide(i).Delay)
                              .arg(QString::fromStdString(show.slide(i).Text.str())));
        return slides;
    };
    const std::pair<QString, std::function<void()>> steps[] = {
        {QStringLiteral("Add Slides"),
         [&] {
             QList<ShowSlide> photos;
             for (const QString& path : paths)
                 photos.append(test_shows::slide(show, path));
             EXPECT_EQ(show.insert(0, photos), 300);
         }},
        {QStringLiteral("Sort Slides"),
         [&] {
             sort(Order::DateTaken);
             for (int place = 0; place < 300; ++place)
                 EXPECT_EQ(show.imagePath(place), paths[43 * place % 300]) << place;
         }},
        {QStringLiteral("Image Properties"),
         [&] {
             const ShowDocument::Step step(show, QStringLiteral("Image Properties"));
             for (int place = 0; place < 280; place += 7) {
                 ShowSlide slide = show.at(place);
                 slide.record.Delay = 3;
                 slide.record.Text.assign("Harbour");
                 show.replace(place, slide);
             }
         }},
        {QStringLiteral("Delete Slides"),
         [&] {
             EXPECT_EQ(show.removeEach({299, 0, 7, 8, 100, 101, 150, 151, 290, 298}).size(), 10);
         }},
    };
    std::vector<QStringList> before;
    for (const auto& [name, run] : steps) {
        before.push_back(contents());
        run();
        EXPECT_EQ(show.history().undoText(), name);
    }
    ASSERT_EQ(show.SlideCount, 290);
    EXPECT_EQ(contents().filter(QStringLiteral(" 3 Harbour")).size(), 38) << "two of the forty were deleted";
    for (auto shown = before.rbegin(); shown != before.rend(); ++shown) {
        show.undo();
        EXPECT_EQ(contents(), *shown) << "undone back to step " << before.rend() - shown;
    }
    EXPECT_FALSE(show.history().canUndo());
}

} // namespace
