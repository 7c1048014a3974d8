// SPDX-License-Identifier: MIT
// Photographs as phones and cameras make them: pictures turned by the orientation their files record
// (tagged with exiftool, compared with ImageMagick's -auto-orient), and WebP, GIF, HEIC and AVIF files
// made at test time, recognised by their bytes and loaded upright.
#include "exif_reader.h"
#include "heif_coded_size.h"
#include "heif_reader.h"
#include "image_loader.h"
#include "support.h"
#include "tphoto.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace imaging_test;

namespace {

// Four unequal blocks of four colours: every one of the eight orientations gives another picture.
QImage blocks(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    const int x = size.width() / 3;
    const int y = size.height() / 4;
    painter.fillRect(0, 0, x, y, QColor(220, 30, 30));
    painter.fillRect(x, 0, size.width() - x, y, QColor(30, 200, 30));
    painter.fillRect(0, y, x, size.height() - y, QColor(30, 30, 220));
    painter.fillRect(x, y, size.width() - x, size.height() - y, QColor(240, 240, 40));
    return image;
}

bool haveTool(const char* name) {
    return !QStandardPaths::findExecutable(QLatin1String(name)).isEmpty();
}

// Gives the file the orientation tag, as a camera writes it.
bool tag(const QString& path, int orientation) {
    return runTool(QStringLiteral("exiftool"),
                   {QStringLiteral("-q"), QStringLiteral("-overwrite_original"), QStringLiteral("-n"),
                    QStringLiteral("-Orientation=%1").arg(orientation), path})
               .exitCode == 0;
}

QString writePicture(const QString& path, const QImage& image) {
    return image.save(path, nullptr, 95) ? path : QString();
}

// The file converted by another program (ImageMagick or heif-enc), or an empty path.
QString converted(const QString& source, const QString& target) {
    const bool heif = target.endsWith(QLatin1String(".heic")) || target.endsWith(QLatin1String(".avif"));
    const ToolResult r =
        heif ? runTool(QStringLiteral("heif-enc"),
                       {QStringLiteral("-q"), QStringLiteral("95"), source, QStringLiteral("-o"), target})
             : runTool(convertProgram(),
                       {source, QStringLiteral("-define"), QStringLiteral("webp:lossless=true"), target});
    return r.exitCode == 0 && QFile::exists(target) ? target : QString();
}

class Orientation : public testing::Test {
  protected:
    void SetUp() override {
        if (!haveTool("exiftool"))
            GTEST_SKIP() << "exiftool (libimage-exiftool-perl) is not installed";
    }
    QTemporaryDir dir;
};

TEST_F(Orientation, EveryValueTurnsJpegTiffAndWebPAsImageMagickTurnsThem) {
    const QSize stored(60, 40);
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const QString tiff =
            writePicture(dir.filePath(QStringLiteral("o%1.tif").arg(orientation)), blocks(stored));
        const QString jpeg =
            writePicture(dir.filePath(QStringLiteral("o%1.jpg").arg(orientation)), blocks(stored));
        const QString webp = converted(tiff, dir.filePath(QStringLiteral("o%1.webp").arg(orientation)));
        for (const QString& path : {tiff, jpeg, webp})
            ASSERT_TRUE(!path.isEmpty() && tag(path, orientation)) << path.toStdString();
        // ImageMagick does not turn WebP pictures: the TIFF's turn is the reference for both.
        const QByteArray reference = imageMagickRgba(tiff, true);
        const QSize upright = orientation >= 5 ? stored.transposed() : stored;
        for (const QString& path : {tiff, jpeg, webp}) {
            const imaging::LoadedImage loaded = imaging::loadImageFile(path, {});
            ASSERT_FALSE(loaded.image.isNull()) << path.toStdString() << loaded.error.toStdString();
            EXPECT_EQ(loaded.fullSize, upright) << path.toStdString();
            ASSERT_EQ(loaded.image.size(), upright) << path.toStdString();
            EXPECT_GE(psnr(rgbaBytes(loaded.image), reference), path == jpeg ? 24.0 : 99.0)
                << path.toStdString();
        }
    }
}

// A portrait picture stored on its side: the reduced decode is chosen for the upright picture, so it
// still covers the thumbnail box once turned.
TEST_F(Orientation, AReducedDecodeCoversTheBoxUpright) {
    const QString path = writePicture(dir.filePath(QStringLiteral("side.jpg")), blocks({100, 400}));
    ASSERT_TRUE(tag(path, 6));
    const imaging::LoadedImage loaded = imaging::loadImageFile(path, imaging::ThumbnailBox);
    EXPECT_EQ(loaded.fullSize, QSize(400, 100));
    EXPECT_GE(loaded.image.width(), imaging::ThumbnailBox.width());
    EXPECT_LT(loaded.image.width(), 400) << "decoded reduced";
    TPhoto photo;
    photo.setFileName(path);
    EXPECT_EQ(QSize(photo.IWidth(), photo.IHeight()), QSize(400, 100));
}

TEST(NewerFormats, WebPGifHeicAndAvifAreRecognisedByTheirBytes) {
    QTemporaryDir dir;
    const QImage source = blocks({64, 48});
    const QString png = writePicture(dir.filePath(QStringLiteral("source.png")), source);
    const QString jpeg = writePicture(dir.filePath(QStringLiteral("source.jpg")), source);
    struct Row {
        const char* name;
        bool decodable;
        double minimumPsnr;
    } rows[] = {{"photo.webp", true, 40},
                {"photo.gif", true, 30},
                {"photo.heic", haveTool("heif-enc") && imaging::heifDecodesHevc(), 20},
                {"photo.avif", haveTool("heif-enc") && imaging::heifDecodesAv1(), 20}};
    for (const Row& row : rows) {
        if (!row.decodable)
            continue;
        const QString made = converted(QByteArrayView(row.name).endsWith("avif") ? jpeg : png,
                                       dir.filePath(QLatin1String(row.name)));
        ASSERT_FALSE(made.isEmpty()) << row.name;
        // A name that says otherwise does not matter.
        const QString disguised = dir.filePath(QLatin1String(row.name) + QStringLiteral(".png"));
        ASSERT_TRUE(QFile::copy(made, disguised));
        for (const QString& path : {made, disguised}) {
            const imaging::LoadedImage loaded = imaging::loadImageFile(path, imaging::ThumbnailBox);
            ASSERT_FALSE(loaded.image.isNull()) << path.toStdString() << loaded.error.toStdString();
            EXPECT_EQ(loaded.fullSize, source.size()) << row.name;
            EXPECT_GE(psnr(rgbaBytes(loaded.image), rgbaBytes(source)), row.minimumPsnr) << row.name;
        }
    }
}

// heif-enc keeps a JPEG's EXIF orientation in the HEIF file without turning the picture: it is
// applied on reading.
TEST_F(Orientation, HeicAndAvifMadeFromATurnedJpegLoadUpright) {
    if (!haveTool("heif-enc"))
        GTEST_SKIP() << "heif-enc (libheif-examples) is not installed";
    const QString jpeg = writePicture(dir.filePath(QStringLiteral("turned.jpg")), blocks({64, 48}));
    ASSERT_TRUE(tag(jpeg, 8));
    const QByteArray reference = rgbaBytes(imaging::loadImageFile(jpeg, {}).image);
    for (const char* name : {"turned.heic", "turned.avif"}) {
        if ((QByteArrayView(name).endsWith("heic") && !imaging::heifDecodesHevc()) ||
            (QByteArrayView(name).endsWith("avif") && !imaging::heifDecodesAv1()))
            continue;
        const QString path = converted(jpeg, dir.filePath(QLatin1String(name)));
        ASSERT_FALSE(path.isEmpty()) << name;
        const imaging::LoadedImage loaded = imaging::loadImageFile(path, {});
        ASSERT_EQ(loaded.image.size(), QSize(48, 64)) << name;
        EXPECT_GE(psnr(rgbaBytes(loaded.image), reference), 28.0) << name;
    }
}

// The file's own turn (an irot or imir property) wins over the EXIF orientation, which then only
// records how the camera was held.
TEST(HeifProperties, ATurnOrMirrorPropertyIsFound) {
    const auto box = [](const char* type, const QByteArray& body) {
        QByteArray out(4, '\0');
        const quint32 size = quint32(8 + body.size());
        out[0] = char(size >> 24), out[1] = char(size >> 16), out[2] = char(size >> 8), out[3] = char(size);
        return out + QByteArray(type, 4) + body;
    };
    const auto file = [&](const QByteArray& property) {
        return box("ftyp", QByteArray("heic\0\0\0\0mif1", 12)) +
               box("meta", QByteArray(4, '\0') +
                               box("iprp", box("ipco", box("ispe", QByteArray(12, '\0')) + property)));
    };
    EXPECT_TRUE(imaging::heifTransformsItself(file(box("irot", QByteArray(1, '\1')))));
    EXPECT_TRUE(imaging::heifTransformsItself(file(box("imir", QByteArray(1, '\0')))));
    EXPECT_FALSE(imaging::heifTransformsItself(file(box("irot", QByteArray(1, '\0')))));
    EXPECT_FALSE(imaging::heifTransformsItself(file(box("pixi", QByteArray(4, '\0')))));
    const QByteArray cut = file(box("irot", QByteArray(1, '\1')));
    EXPECT_FALSE(imaging::heifTransformsItself(cut.left(cut.size() - 3)));
}

// A HEIC file's own thumbnail serves a thumbnail's decode; a coded picture larger than the size the
// file declares for it is refused before it is copied.
TEST(NewerFormats, HeifThumbnailItemServesAndACodedPictureLargerThanDeclaredIsRefused) {
    if (!haveTool("heif-enc") || !imaging::heifDecodesHevc())
        GTEST_SKIP() << "heif-enc or an HEVC decoder is missing";
    QTemporaryDir dir;
    const QString png = writePicture(dir.filePath(QStringLiteral("source.png")), blocks({1024, 768}));
    const QString heic = dir.filePath(QStringLiteral("photo.heic"));
    ASSERT_EQ(runTool(QStringLiteral("heif-enc"),
                      {QStringLiteral("-t"), QStringLiteral("160"), png, QStringLiteral("-o"), heic})
                  .exitCode,
              0);
    const imaging::LoadedImage small = imaging::loadImageFile(heic, imaging::ThumbnailBox);
    ASSERT_FALSE(small.image.isNull()) << small.error.toStdString();
    EXPECT_EQ(small.fullSize, QSize(1024, 768));
    EXPECT_EQ(small.image.size(), QSize(160, 120)) << "the thumbnail item";
    EXPECT_EQ(imaging::loadImageFile(heic, {}).image.size(), QSize(1024, 768));

    // The container declares 64 x 64 for the 1024 x 768 coded picture.
    QByteArray lying = fileBytes(heic);
    for (qsizetype at = lying.indexOf("ispe"); at >= 0; at = lying.indexOf("ispe", at + 4)) {
        qToBigEndian<quint32>(64, lying.data() + at + 8);
        qToBigEndian<quint32>(64, lying.data() + at + 12);
    }
    EXPECT_TRUE(imaging::heifCodedSizesWithinDeclared(fileBytes(heic)));
    EXPECT_FALSE(imaging::heifCodedSizesWithinDeclared(lying)) << "seen before decoding";
    const imaging::LoadedImage refused = imaging::decodeImageBytes(lying, {}, {});
    EXPECT_TRUE(refused.image.isNull());
    EXPECT_EQ(refused.error.toStdString(), "HEIF picture data larger than its declared size");
}

} // namespace
