// SPDX-License-Identifier: MIT
// Appending image slides to the show: thumbnails, the grid's rows, the counter, and the slides
// that cannot be had.

#include "file_bytes.h"
#include "ovc_table.h"
#include "shared_flags.h"
#include "show_document.h"
#include "show_file.h"
#include "show_grid.h"
#include "show_grid_view.h"
#include "show_slides.h"
#include "test_pictures.h"
#include "test_shows.h"
#include "thumbnail_cache.h"
#include "thumbnail_cache_folder.h"
#include "thumbnail_picture.h"
#include "thumbnails.h"
#include "tphoto.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>
#include <vector>

namespace {
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
    ShowGridView view{show, grid, label};
    ShowSlides slides{show, builder, view, flags};

    QString slidePath(int index) const { return show.imagePath(index); }
    // A picture made in the test's folder.
    QString picture(const QString& name, QSize size = {40, 30}) {
        return test_pictures::make(dir.path(), name, size);
    }

    QTemporaryDir dir;
};

TEST_F(ShowSlidesTest, AppendedImagesBecomeSlidesInOrder) {
    const QStringList files = {picture("flower.jpg"), picture("ladybird.png"), picture("storm_pal8.pcx")};
    for (const QString& file : files)
        ASSERT_TRUE(slides.AppendImageSlide(file));
    EXPECT_EQ(show.SlideCount, 3);
    EXPECT_EQ(slidePath(0), files[0]);
    EXPECT_EQ(slidePath(2), files[2]);
    EXPECT_EQ(show.thumbnail(1).size(), QSize(80, 70));
    EXPECT_EQ(label.text(), QStringLiteral("Images: 3") + QString(24, ' '));
    EXPECT_EQ(grid.RowLimit(), 1);
    // A fresh slot: default time and font, no audio, no caption.
    EXPECT_EQ(show.slide(1).Delay, 5);
    EXPECT_EQ(show.slide(1).FontName.str(), "MS Sans Serif");
    EXPECT_TRUE(show.slide(1).AudioFile.empty());
}

TEST_F(ShowSlidesTest, UndecodableImageLeavesTheShowAsItWas) {
    ASSERT_TRUE(slides.AppendImageSlide(picture("flower.bmp")));
    for (const QString& broken : test_pictures::makeBroken(dir.path())) {
        SCOPED_TRACE(broken.toStdString());
        EXPECT_FALSE(slides.AppendImageSlide(broken));
        EXPECT_EQ(show.SlideCount, 1);
    }
    EXPECT_EQ(show.history().count(), 1);
}

// A photo cut short in copying is no slide, whatever small picture of it the shared thumbnail cache
// or its own EXIF data holds; the whole photo is.
TEST_F(ShowSlidesTest, APictureCutShortIsNoSlideWhateverThumbnailItCarries) {
    if (QStandardPaths::findExecutable(QStringLiteral("exiftool")).isEmpty())
        GTEST_SKIP() << "exiftool (libimage-exiftool-perl) is not installed";
    const ThumbnailCacheFolder cache;
    QImage photo(800, 600, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb(x * 7 % 256, y * 5 % 256, (x ^ y) % 256)); // data that does not shrink
    const QString whole = dir.filePath(QStringLiteral("whole.jpg"));
    const QString small = dir.filePath(QStringLiteral("small.jpg"));
    ASSERT_TRUE(photo.save(whole, nullptr, 90) && photo.scaled(160, 120).save(small, nullptr, 90));
    ASSERT_EQ(QProcess::execute(QStringLiteral("exiftool"),
                                {QStringLiteral("-q"), QStringLiteral("-overwrite_original"),
                                 QStringLiteral("-ThumbnailImage<=") + small, whole}),
              0);
    const QByteArray bytes = fileBytes(whole);
    const QString withExif =
        test_pictures::makeFile(dir.path(), QStringLiteral("cut exif.jpg"), bytes.left(bytes.size() * 2 / 3));
    const QString withEntry = test_pictures::makeFile(dir.path(), QStringLiteral("cut entry.png"),
                                                      fileBytes(picture("entry.png", {400, 300})).left(200));
    const imaging::ThumbnailCache shared;
    ASSERT_TRUE(shared.store(shared.keyFor(withEntry), photo.scaled(128, 96), photo.size()));
    ASSERT_TRUE(decodeThumbnailPicture(withExif).has_value()) << "the EXIF picture serves a listing";
    ASSERT_TRUE(decodeThumbnailPicture(withEntry).has_value()) << "the entry serves a listing";

    slides.setDecodeThreads(2);
    slides.appendAcceptedImages({withExif, whole, withEntry});
    EXPECT_EQ(show.SlideCount, 1);
    EXPECT_EQ(slidePath(0).toStdString(), whole.toStdString());
}

// The rows follow the slide count; an empty grid says across its middle how to fill it.
TEST_F(ShowSlidesTest, GridRowsFollowTheSlideCountUpToTheFiveHundredthSlide) {
    const QString hint = QStringLiteral("Drag pictures here, or use > and >>");
    grid.resize(420, 300);
    const auto inked = [this] {
        const QImage painted = grid.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < painted.height(); ++y)
            for (int x = 0; x < painted.width(); ++x)
                if (painted.pixel(x, y) != qRgb(255, 255, 255))
                    return true;
        return false;
    };
    EXPECT_EQ(grid.emptyText(), hint);
    EXPECT_TRUE(inked());
    for (const auto& [count, rows] : {std::pair{1, 1}, {5, 1}, {6, 2}, {10, 2}, {11, 3}, {499, 100}}) {
        test_shows::fill(show, count);
        EXPECT_EQ(grid.RowLimit(), rows) << count << " slides";
        EXPECT_TRUE(grid.emptyText().isEmpty());
    }
    ASSERT_TRUE(slides.AppendImageSlide(picture("size_1x1.png", {1, 1})));
    EXPECT_EQ(show.SlideCount, 500);
    EXPECT_EQ(grid.RowLimit(), 100);
    show.clear();
    EXPECT_EQ(grid.RowLimit(), 0);
    EXPECT_EQ(grid.emptyText(), hint);
    test_shows::fill(show, 1);
    show.undo();
    EXPECT_EQ(grid.emptyText(), hint);
}

// What a paint of the grid's cells covered.
class PaintedRegion : public QObject {
  public:
    QRegion region;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            region += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

// The grid repaints the cells of the slides a change touched, as far as they are in view, and the
// whole grid only when the show changed as a whole.
TEST_F(ShowSlidesTest, TheGridRepaintsTheCellsOfTheSlidesThatChanged) {
    struct Row {
        const char* what;
        std::function<void()> change;
        std::vector<int> cells; // -1: the whole grid
    } const rows[] = {
        {"a thumbnail drawn anew", [this] { show.setThumbnail(7, QImage(4, 4, QImage::Format_RGB32)); }, {7}},
        {"a thumbnail out of view",
         [this] { show.setThumbnail(30, QImage(4, 4, QImage::Format_RGB32)); },
         {}},
        {"a slide given other values",
         [this] { test_shows::edit(show, 2, [](TSlideRecord& r) { r.Delay = 9; }); },
         {2}},
        {"a slide moved", [this] { show.move(1, 3); }, {1, 2, 3}},
        {"a slide inserted", [this] { show.insert(12, {show.at(0)}); }, {12, 13, 14, 15, 16, 17, 18, 19}},
        {"a slide taken out", [this] { show.remove(18); }, {18, 19}},
        {"the show cleared", [this] { show.clear(); }, {-1}},
    };
    test_shows::fill(show, 37);
    grid.setColumnCount(5);
    grid.setColumnWidth(76);
    grid.setRowHeight(73);
    grid.resize(397, 4 * 73 + 2 * grid.frameWidth());
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    PaintedRegion painted;
    grid.viewport()->installEventFilter(&painted);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QCoreApplication::processEvents();
        painted.region = QRegion();
        row.change();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        QRegion expected;
        for (int index : row.cells)
            expected += index < 0 ? grid.viewport()->rect()
                                  : grid.cellRect(ShowGrid::rowOf(index, grid.ColumnCount()),
                                                  ShowGrid::columnOf(index, grid.ColumnCount()));
        EXPECT_EQ(painted.region, expected & grid.viewport()->rect());
    }
}

TEST_F(ShowSlidesTest, AnImageGoneBeforeItsThumbnailIsDrawnBecomesABlankSlide) {
    ASSERT_TRUE(slides.AppendImageSlide(dir.filePath("gone.png")));
    EXPECT_EQ(show.slide(0).ImageFile.str(), "BLANK");
    const QImage& thumbnail = show.thumbnail(0);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 80; ++x)
            ASSERT_EQ(thumbnail.pixel(x, y), qRgb(255, 255, 255));
}

TEST_F(ShowSlidesTest, AReadShowMarksTheSlidesWhoseAudioExists) {
    const QString image = picture("size_1x1.png", {1, 1});
    const QString sound = test_pictures::makeFile(dir.path(), "sound.wav", "RIFF");
    show.load(
        {test_shows::slide(show, image).record,
         test_shows::slide(show, image, [&](TSlideRecord& r) { StoredPath::assign(r.AudioFile, sound); })
             .record,
         test_shows::slide(show, image, [](TSlideRecord& r) {
             r.AudioFile.assign("/nowhere/sound.wav");
         }).record});
    slides.buildThumbnailsForRead(3);
    EXPECT_NE(show.thumbnail(1).pixel(5, 40), show.thumbnail(0).pixel(5, 40));
    EXPECT_EQ(show.thumbnail(2), show.thumbnail(0));
    EXPECT_EQ(label.text(), ShowFile::readingStatusText(3, 3));
}

TEST_F(ShowSlidesTest, PaletteDisplayDrawsThumbnailsInThePaletteColours) {
    depth = 8;
    ASSERT_TRUE(slides.AppendImageSlide(picture("flower_640x480.jpg", {640, 480})));
    EXPECT_NE(photo.hPal(), 0);
    const QImage& thumbnail = show.thumbnail(0);
    ASSERT_EQ(thumbnail.format(), QImage::Format_Indexed8);
    const QList<QRgb> palette = photo.paletteColors();
    ASSERT_EQ(palette.size(), 256);
    const QSet<QRgb> allowed(palette.begin(), palette.end());
    for (QRgb colour : thumbnail.colorTable())
        EXPECT_TRUE(allowed.contains(colour));
}

TEST_F(ShowSlidesTest, APrintAfterAThumbnailUsesTheWholePicture) {
    const QString big = picture("big.jpg", {640, 480});
    const std::pair<const char*, std::function<void()>> thumbnails[] = {
        {"slide", [&] { ASSERT_TRUE(slides.AppendImageSlide(big)); }},
        {"folder",
         [&] {
             QImage folderThumbnail;
             builder.BuildFolderThumbnail(folderThumbnail, big);
         }},
    };
    for (const auto& [kind, buildThumbnail] : thumbnails) {
        SCOPED_TRACE(kind);
        buildThumbnail();
        // As the single image print does: the picture loaded into the same control, then printed.
        photo.setFileName(big);
        const QString pdf = dir.filePath(QStringLiteral("%1.pdf").arg(kind));
        {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            QPainter painter(&printer);
            photo.setPrinterLeft(0);
            photo.setPrinterTop(0);
            photo.setPrinterWidth(640 * 15);
            photo.setPrinterHeight(480 * 15);
            photo.setPrinterhDC(&painter);
            ASSERT_EQ(photo.FXError(), 0);
        }
        // pdfimages lists each picture in the file with its width and height in pixels.
        QProcess list;
        list.start("pdfimages", {"-list", pdf});
        ASSERT_TRUE(list.waitForFinished(60000));
        const QStringList lines =
            QString::fromUtf8(list.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        ASSERT_GE(lines.size(), 3) << "no picture in the printed page";
        const QStringList columns = lines[2].simplified().split(' ');
        EXPECT_EQ(columns.mid(3, 2), QStringList({"640", "480"}));
    }
}

TEST(AcceptedImagePath, LooksForAnImageExtensionAnywhereInThePathOfARegularFile) {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("holiday.bmp");
    const QString inFolder = dir.filePath("holiday.bmp/notes.txt");
    QFile text(inFolder);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    text.close();
    const char* const accepted[] = {"UPPER.JPG", "photo.jpeg", "scan.JPE",   "web.webp",
                                    "clip.GIF",  "phone.heic", "phone.HEIF", "new.avif"};
    for (const char* name : accepted)
        test_pictures::make(dir.path(), name);
    QFile(dir.filePath("notes.txt")).open(QIODevice::WriteOnly);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe.jpg")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", dir.filePath("zero.jpg")));

    EXPECT_TRUE(IsAcceptedImagePath(inFolder));
    for (const char* name : accepted)
        EXPECT_TRUE(IsAcceptedImagePath(dir.filePath(name))) << name;
    EXPECT_FALSE(IsAcceptedImagePath(dir.filePath("notes.txt")));
    EXPECT_FALSE(IsAcceptedImagePath(dir.filePath("missing.jpg")));
    EXPECT_FALSE(IsAcceptedImagePath(dir.filePath("show.vrs")));
    EXPECT_FALSE(IsAcceptedImagePath(dir.filePath("pipe.jpg")));
    EXPECT_FALSE(IsAcceptedImagePath(dir.filePath("zero.jpg")));
}
} // namespace
