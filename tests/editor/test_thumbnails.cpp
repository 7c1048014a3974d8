// SPDX-License-Identifier: MIT
// Thumbnails drawn through the real imaging control: where the picture lands, what the caption
// says, the audio mark and the 256-colour path.

#include "audio_icon.h"
#include "test_pictures.h"
#include "thumbnail_picture.h"
#include "thumbnails.h"
#include "tphoto.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QString PaletteFile = QStringLiteral(VERASCO_SOURCE_DIR "/packaging/verasco.pal");

// The bounding box of the pixels in the picture area (rows 0 to 49, or as many device pixel rows) that
// are not white.
QRect pictureExtent(const QImage& thumbnail, int rows = 50) {
    QRect box;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < thumbnail.width(); ++x)
            if (thumbnail.pixel(x, y) != qRgb(255, 255, 255))
                box |= QRect(x, y, 1, 1);
    return box;
}

QRect captionExtent(const QImage& thumbnail) {
    QRect box;
    for (int y = 50; y < thumbnail.height(); ++y)
        for (int x = 0; x < thumbnail.width(); ++x)
            if (thumbnail.pixel(x, y) != qRgb(255, 255, 255))
                box |= QRect(x, y, 1, 1);
    return box;
}

class Thumbnails : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    // A picture of one colour, of the given size, in a file of the given name.
    QString solidPicture(const QString& name, QSize size, QColor colour) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, "PNG"));
        return path;
    }

    QImage folderThumbnail(const QString& path) {
        QImage thumbnail;
        builder.BuildFolderThumbnail(thumbnail, path);
        return thumbnail;
    }

    QTemporaryDir dir;
    TPhoto photo;
    QImage work;
    int depth = 32;
    ThumbnailBuilder builder{photo, work, [this] { return depth; }, PaletteFile};
};

TEST_F(Thumbnails, PictureIsCentredOnTheThumbnailPoint) {
    // 72 x 48 stays as it is and is drawn on (33 - 36, 25 - 24) with its last column and row
    // stretched away; 73 x 48 first becomes 64 x 42.
    const QImage exact = folderThumbnail(solidPicture("exact.png", {72, 48}, Qt::red));
    EXPECT_EQ(exact.size(), QSize(80, 70));
    EXPECT_EQ(pictureExtent(exact), QRect(0, 1, 69, 48));
    const QImage wider = folderThumbnail(solidPicture("wider.png", {73, 48}, Qt::red));
    EXPECT_EQ(pictureExtent(wider), QRect(1, 4, 64, 42));
    EXPECT_EQ(wider.pixel(33, 25), qRgb(255, 0, 0));
}

TEST_F(Thumbnails, FilesOfEveryShapeAndFormatFillThePictureAreaAroundItsCentre) {
    struct Row {
        const char* name;
        QSize size;
        QSize drawn;         // the picture's extent in the thumbnail
        int orientation = 1; // the tag exiftool gives the file
    };
    const Row rows[] = {
        {"landscape.jpg", {640, 480}, {64, 48}},
        {"portrait.jpg", {480, 640}, {36, 48}},
        {"dot.png", {1, 1}, {0, 0}},
        {"square.bmp", {100, 95}, {50, 48}},
        {"palette.pcx", {73, 48}, {64, 42}},
        {"targa.tga", {160, 120}, {64, 48}},
        {"tagged.tif", {72, 48}, {72, 48}},
        {"web.webp", {160, 120}, {64, 48}},
        {"turned.jpg", {640, 480}, {36, 48}, 6},
        {"turned.tif", {120, 80}, {32, 48}, 8},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = test_pictures::make(dir.path(), row.name, row.size);
        ASSERT_FALSE(path.isEmpty());
        if (row.orientation != 1 && !test_pictures::tagOrientation(path, row.orientation))
            continue; // exiftool (libimage-exiftool-perl) is not installed
        const QImage thumbnail = folderThumbnail(path);
        ASSERT_EQ(photo.FXError(), 0);
        const QRect extent = pictureExtent(thumbnail);
        if (row.drawn.isEmpty()) {
            EXPECT_LE(extent.width() * extent.height(), 1) << "a 1 x 1 picture leaves at most a dot";
            continue;
        }
        EXPECT_NEAR(extent.width(), row.drawn.width(), 3);
        EXPECT_NEAR(extent.height(), row.drawn.height(), 3);
        EXPECT_LE(extent.bottom(), 49);
        EXPECT_TRUE(extent.contains(33, 25));
    }
}

// At two device pixels per pixel the thumbnail keeps its 80 x 70 geometry with twice the pixels, the
// same through the imaging control as decoded ahead. A grown thumbnail grows its picture area with
// the pixels it needs, and its name keeps its font: a name shortened at the start size is whole.
TEST_F(Thumbnails, OnAScreenOfTwoDevicePixelsPerPixelAndGrownThumbnailsCarryEveryPixel) {
    const struct {
        qreal screen;
        int width;
        QSizeF size;  // in the window's pixels
        QSize extent; // the picture's, in device pixels
        bool nameWhole;
    } rows[] = {{2, 80, {80, 70}, {128, 96}, false},
                {1, 256, {256, 180}, {205, 154}, true},
                {2, 256, {256, 180}, {410, 307}, true}};
    const QString path = test_pictures::make(dir.path(), "holiday_at_the_lake_2024.jpg", {640, 480});
    for (const auto& row : rows) {
        ThumbnailBuilder sharp{photo, work, [this] { return depth; }, PaletteFile,
                               [&row] { return row.screen; }};
        sharp.setThumbnailWidth(row.width);
        sharp.measureScreenDepth();
        QImage throughControl, decodedAhead;
        sharp.BuildFolderThumbnail(throughControl, path);
        sharp.drawFolderThumbnail(decodedAhead, path, decodeThumbnailPicture(path, sharp.pixelRatio()));
        for (const QImage& thumbnail : {throughControl, decodedAhead}) {
            EXPECT_EQ(thumbnail.devicePixelRatio(), row.screen) << row.width;
            EXPECT_EQ(thumbnail.deviceIndependentSize(), row.size) << row.width;
            const int pictureRows = qRound(50 * row.screen * row.width / 80);
            const QRect extent = pictureExtent(thumbnail, pictureRows);
            EXPECT_NEAR(extent.width(), row.extent.width(), 3) << row.width;
            EXPECT_NEAR(extent.height(), row.extent.height(), 3) << row.width;
            EXPECT_EQ(sharp.drawnAtOtherWidth(thumbnail), false);
        }
        // The name under the picture area, in the window's pixels: wider than the 70 of the start size
        // only when it is whole.
        const int top = qRound(50 * row.screen * row.width / 80);
        const QImage band = decodedAhead.copy(0, top, decodedAhead.width(), decodedAhead.height() - top);
        EXPECT_EQ(pictureExtent(band, band.height()).width() / row.screen > 70, row.nameWhole) << row.width;
    }
}

// The thumbnails' widths step from the start size up to 256 pixels and stop there.
TEST(ThumbnailWidths, StepBetweenTheStartSizeAnd256Pixels) {
    const struct {
        int width, steps, stepped;
    } rows[] = {{80, 1, 96},   {80, -1, 80},  {96, 1, 128}, {224, 1, 256}, {256, 1, 256},
                {224, -4, 96}, {100, 1, 128}, {80, 9, 256}, {300, 0, 256}, {256, -9, 80}};
    for (const auto& row : rows)
        EXPECT_EQ(steppedThumbnailWidth(row.width, row.steps), row.stepped) << row.width << " " << row.steps;
    EXPECT_EQ(thumbnailSizeFor(80), QSize(80, 70));
    EXPECT_EQ(thumbnailSizeFor(256), QSize(256, 180));
}

TEST_F(Thumbnails, CaptionIsTheFileNameAsItIsOnDisk) {
    const QString path = solidPicture("SunSet.PNG", {40, 30}, Qt::blue);
    EXPECT_EQ(thumbnailCaption(path), QStringLiteral("SunSet.PNG"));
    EXPECT_EQ(thumbnailCaption(QStringLiteral("C:\\Shows\\Beach\\DAY1.JPG")), QStringLiteral("DAY1.JPG"));
    const QImage thumbnail = folderThumbnail(path);
    EXPECT_EQ(photo.FXError(), 0);
    EXPECT_FALSE(captionExtent(thumbnail).isEmpty());
}

// A name too long for its cell loses its middle, not its end: its extension stays.
TEST_F(Thumbnails, LongNameIsShortenedInTheMiddleToSeventyPixelsKeepingItsExtension) {
    const QString name = QStringLiteral("a_very_long_file_name_for_one_small_picture.png");
    const QImage thumbnail = folderThumbnail(solidPicture(name, {40, 30}, Qt::blue));
    const QRect caption = captionExtent(thumbnail);
    ASSERT_FALSE(caption.isEmpty());
    EXPECT_GE(caption.left(), 0);
    EXPECT_LE(caption.right(), 69);
    // Shortened to fit with three pixels to spare, but not shorter than needed.
    EXPECT_LE(caption.width(), 67);
    EXPECT_GE(caption.width(), 50);

    const auto upTo = [](int characters) {
        return [characters](const QString& text) { return text.size() <= characters; };
    };
    const struct {
        const char* name;
        int room;
        const char* shown;
    } rows[] = {
        {"holiday.jpg", 11, "holiday.jpg"},
        {"holiday_at_the_lake.jpeg", 16, "holi...lake.jpeg"},
        {"img_20240501_123456.jpg", 12, "img...56.jpg"},
        {"no_extension_at_all", 10, "no_e...all"},
        {"a_name.with_a_long_end", 10, "a_na...end"},
        {"tiny_room.jpg", 5, "t...g"},
    };
    for (const auto& row : rows) {
        const QString shown = fittedCaption(QString::fromUtf8(row.name), upTo(row.room));
        EXPECT_EQ(shown, QString::fromUtf8(row.shown)) << row.name;
    }
}

TEST_F(Thumbnails, UnreadableFolderImageGivesAnEmptyPictureWithItsName) {
    const QImage thumbnail = folderThumbnail(test_pictures::makeBroken(dir.path()).front());
    EXPECT_NE(photo.FXError(), 0);
    EXPECT_TRUE(pictureExtent(thumbnail).isEmpty());
    EXPECT_FALSE(captionExtent(thumbnail).isEmpty());
}

TEST_F(Thumbnails, AudioMarkSitsAtTheLeftEdgeOfThePictureArea) {
    QImage thumbnail = folderThumbnail(solidPicture("quiet.png", {10, 10}, Qt::white));
    builder.drawAudioMark(thumbnail);
    const QImage icon = makeAudioIcon().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < AudioMarkHeight; ++y)
        for (int x = 0; x < AudioMarkWidth; ++x)
            ASSERT_EQ(thumbnail.pixel(x, AudioMarkTop + y), icon.pixel(x, y)) << x << "," << y;
    EXPECT_EQ(thumbnail.pixel(0, AudioMarkTop + AudioMarkHeight), qRgb(255, 255, 255));
}

TEST_F(Thumbnails, FetchedBitmapIsTheShrunkPicture) {
    photo.setQPXThumbnail(1);
    photo.setFileName(test_pictures::make(dir.path(), "flower_640x480.jpg", {640, 480}));
    ASSERT_EQ(photo.FXError(), 0);
    builder.FitThumbnailImage();
    ASSERT_TRUE(builder.FetchScaledImage());
    EXPECT_EQ(work.size(), QSize(64, 48));
}
} // namespace
