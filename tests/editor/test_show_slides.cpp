// Appending image slides to the show: thumbnails, the grid's rows, the counter, and the slides
// that cannot be had.

#include "ovc_table.h"
#include "shared_flags.h"
#include "show_document.h"
#include "show_slides.h"
#include "thumbnails.h"
#include "tphoto.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QString TestImages = QStringLiteral(VERASCO_TESTDATA "/images/");
const QString PaletteFile = QStringLiteral(VERASCO_SOURCE_DIR "/packaging/verasco.pal");

class ShowSlidesTest : public ::testing::Test {
protected:
    ShowDocument show;
    SharedFlags flags;
    TPhoto photo;
    QImage work;
    int depth = 32;
    ThumbnailBuilder builder{photo, work, [this] { return depth; }, PaletteFile};
    TOvcTable grid;
    QLabel label;
    ShowSlides slides{show, builder, grid, label, flags};

    QString slidePath(int index) const {
        return QFile::decodeName(QByteArray::fromStdString(show.slide(index).ImageFile.str()));
    }
};

TEST_F(ShowSlidesTest, AppendedImagesBecomeSlidesInOrder) {
    const QStringList files = {TestImages + "flower.jpg", TestImages + "ladybird.png", TestImages + "storm_pal8.pcx"};
    ASSERT_TRUE(slides.AppendImageSlide(files[0]));
    ASSERT_TRUE(slides.AppendImageSlide(TestImages + "ladybird.png"));
    ASSERT_TRUE(slides.AppendImageSlide(files[2]));
    slides.UpdateShowGrid();
    EXPECT_EQ(show.SlideCount, 3);
    EXPECT_EQ(slidePath(0), files[0]);
    EXPECT_EQ(slidePath(2), files[2]);
    EXPECT_EQ(show.thumbnail(1).size(), QSize(80, 70));
    EXPECT_EQ(label.text(), QStringLiteral("Images: 3") + QString(24, ' '));
    EXPECT_EQ(grid.RowLimit(), 1);
    EXPECT_FALSE(show.ShowModified);
    // A fresh slot: default time and font, no audio, no caption.
    EXPECT_EQ(show.slide(1).Delay, 5);
    EXPECT_EQ(show.slide(1).FontName.str(), "MS Sans Serif");
    EXPECT_TRUE(show.slide(1).AudioFile.empty());
}

TEST_F(ShowSlidesTest, UndecodableImageLeavesTheShowAsItWas) {
    ASSERT_TRUE(slides.AppendImageSlide(TestImages + "flower.bmp"));
    for (const char* broken : {"broken_header.png", "broken_truncated.jpg", "broken_empty.bmp"}) {
        SCOPED_TRACE(broken);
        EXPECT_FALSE(slides.AppendImageSlide(TestImages + QLatin1String(broken)));
        EXPECT_EQ(show.SlideCount, 1);
    }
    // The slot is reused by the next append.
    ASSERT_TRUE(slides.AppendImageSlide(TestImages + "storm.jpg"));
    EXPECT_EQ(slidePath(1), TestImages + "storm.jpg");
}

TEST_F(ShowSlidesTest, AppendingTheFiveHundredthSlide) {
    show.SlideCount = 499;
    ASSERT_TRUE(slides.AppendImageSlide(TestImages + "size_1x1.png"));
    slides.UpdateShowGrid();
    EXPECT_EQ(show.SlideCount, 500);
    EXPECT_EQ(grid.RowLimit(), 100);
}

TEST_F(ShowSlidesTest, GridRowsFollowTheSlideCount) {
    for (const auto& [count, rows] : {std::pair{0, 0}, {1, 1}, {5, 1}, {6, 2}, {10, 2}, {11, 3}, {500, 100}}) {
        show.SlideCount = count;
        slides.UpdateShowGrid();
        EXPECT_EQ(grid.RowLimit(), rows) << count << " slides";
    }
}

TEST_F(ShowSlidesTest, VanishedImageBecomesABlankSlide) {
    QTemporaryDir dir;
    const QString path = dir.filePath("gone.png");
    ASSERT_TRUE(QFile::copy(TestImages + "size_40x10.png", path));
    ASSERT_TRUE(slides.AppendImageSlide(path));
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(slides.BuildSlideThumbnail(0));
    EXPECT_EQ(show.slide(0).ImageFile.str(), "BLANK");
    const QImage& thumbnail = show.thumbnail(0);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 80; ++x)
            ASSERT_EQ(thumbnail.pixel(x, y), qRgb(255, 255, 255));
}

TEST_F(ShowSlidesTest, SlideWithAudioCarriesTheMark) {
    ASSERT_TRUE(slides.AppendImageSlide(TestImages + "size_1x1.png"));
    const QImage without = show.thumbnail(0);
    show.slide(0).AudioFile.assign("/nowhere/sound.wav");
    ASSERT_TRUE(slides.BuildSlideThumbnail(0));
    EXPECT_NE(show.thumbnail(0).pixel(5, 40), without.pixel(5, 40));
    // Reading a show marks only audio that exists.
    slides.buildThumbnailForRead(0);
    EXPECT_EQ(show.thumbnail(0).pixel(5, 40), without.pixel(5, 40));
}

TEST_F(ShowSlidesTest, PaletteDisplayDrawsThumbnailsInThePaletteColours) {
    depth = 8;
    ASSERT_TRUE(slides.AppendImageSlide(TestImages + "flower_640x480.jpg"));
    EXPECT_NE(photo.hPal(), 0);
    const QImage& thumbnail = show.thumbnail(0);
    ASSERT_EQ(thumbnail.format(), QImage::Format_Indexed8);
    const QList<QRgb> palette = photo.paletteColors();
    ASSERT_EQ(palette.size(), 256);
    const QSet<QRgb> allowed(palette.begin(), palette.end());
    for (QRgb colour : thumbnail.colorTable())
        EXPECT_TRUE(allowed.contains(colour));
}

TEST(AcceptedImagePath, LooksForAnImageExtensionAnywhereInAnExistingPath) {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("holiday.bmp");
    const QString inFolder = dir.filePath("holiday.bmp/notes.txt");
    QFile text(inFolder);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    text.close();
    QFile::copy(TestImages + "flower.jpg", dir.filePath("UPPER.JPG"));
    QFile(dir.filePath("notes.txt")).open(QIODevice::WriteOnly);

    EXPECT_TRUE(IsAcceptedImagePath(inFolder));
    EXPECT_TRUE(IsAcceptedImagePath(dir.filePath("UPPER.JPG")));
    EXPECT_FALSE(IsAcceptedImagePath(dir.filePath("notes.txt")));
    EXPECT_FALSE(IsAcceptedImagePath(dir.filePath("missing.jpg")));
    EXPECT_FALSE(IsAcceptedImagePath(dir.filePath("show.vrs")));
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
