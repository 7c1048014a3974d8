// SPDX-License-Identifier: MIT
// Photographs as phones and cameras make them: pictures turned by the orientation their files record
// (tagged with exiftool, compared with ImageMagick's -auto-orient), and WebP, GIF, HEIC and AVIF files
// made at test time, recognised by their bytes and loaded upright; and the date each was taken.
#include "date_taken.h"
#include "exif_reader.h"
#include "heif_coded_size.h"
#include "heif_reader.h"
#include "image_loader.h"
#include "made_streams.h"
#include "support.h"
#include "tphoto.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QStandardPaths>
#include <QTemporaryDir>

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

// Gives the file EXIF tags ("-Orientation=6"), as a camera writes them.
bool tagExif(const QString& path, const QStringList& assignments) {
    return runTool(QStringLiteral("exiftool"),
                   QStringList{QStringLiteral("-q"), QStringLiteral("-overwrite_original"),
                               QStringLiteral("-n")} +
                       assignments + QStringList{path})
               .exitCode == 0;
}

bool tag(const QString& path, int orientation) {
    return tagExif(path, {QStringLiteral("-Orientation=%1").arg(orientation)});
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

struct Bits {
    quint32 value;
    int count;
};

// The fields one after another, the most significant bit first, the last byte filled with zeros.
QByteArray packed(const std::vector<Bits>& fields) {
    QByteArray out;
    int used = 0;
    for (const Bits& field : fields) {
        for (int i = field.count - 1; i >= 0; --i, ++used) {
            if (used % 8 == 0)
                out.append('\0');
            if (field.value >> i & 1)
                out.back() = char(out.back() | 1 << (7 - used % 8));
        }
    }
    return out;
}

// An AV1 sequence header of 16-bit sides: a still picture's reduced one, or one with timing, a
// decoder model and two operating points, the first with every field that lengthens it.
QByteArray sequenceHeader(QSize size, bool reduced) {
    std::vector<Bits> fields{{0, 3}, {1, 1}, {reduced, 1}};
    // Timing of 4 ticks a picture (a variable-length code), a decoder model of 10-bit delays, then
    // display delays and two operating points: level 9 with its tier, a decoder model and a display
    // delay; level 4 with none of them.
    const std::vector<Bits> timing{{1, 1}, {1, 32}, {25, 32}, {1, 1}, {0, 2}, {1, 1}, {1, 2}};
    const std::vector<Bits> model{{1, 1}, {9, 5}, {1000, 32}, {4, 5}, {4, 5}};
    const std::vector<Bits> points{{1, 1}, {1, 5},      {0x101, 12}, {9, 5}, {1, 1},
                                   {1, 1}, {300, 10},   {200, 10},   {0, 1}, {1, 1},
                                   {3, 4}, {0x001, 12}, {4, 5},      {0, 1}, {0, 1}};
    if (reduced)
        fields.push_back({8, 5}); // the level
    else
        for (const std::vector<Bits>* part : {&timing, &model, &points})
            fields.insert(fields.end(), part->begin(), part->end());
    fields.insert(fields.end(),
                  {{15, 4}, {15, 4}, {quint32(size.width() - 1), 16}, {quint32(size.height() - 1), 16}});
    return packed(fields);
}

enum class ObuLayout { Sized, Extended, Unsized };

// An AV1 OBU: its header (with an extension byte when asked), its size (LEB128) unless it runs to
// the end, its payload.
QByteArray obu(int type, const QByteArray& payload, ObuLayout layout = ObuLayout::Sized) {
    QByteArray out(1, char(type << 3 | (layout == ObuLayout::Extended ? 4 : 0) |
                           (layout != ObuLayout::Unsized ? 2 : 0)));
    if (layout == ObuLayout::Extended)
        out.append('\x08'); // the second spatial layer
    for (quint32 size = quint32(payload.size()); layout != ObuLayout::Unsized;) {
        const char low = char(size & 0x7F);
        size >>= 7;
        out.append(size ? char(low | 0x80) : low);
        if (!size)
            break;
    }
    return out + payload;
}

// An AVIF file of one item: its declared size, its av1C property with `configObus`, and `data` in an
// mdat box that an iloc box of `ilocVersion` places by construction method `method`.
QByteArray avifFile(const QByteArray& configObus, const QByteArray& data, QSize declared, int ilocVersion,
                    int method) {
    const QByteArray ispe =
        bigEndian(0, 4) + bigEndian(quint32(declared.width()), 4) + bigEndian(quint32(declared.height()), 4);
    const QByteArray ipco =
        box("ipco", box("ispe", ispe) + box("av1C", QByteArray("\x81\x00\x0c\x00", 4) + configObus));
    const QByteArray ipma =
        bigEndian(0, 4) + bigEndian(1, 4) + bigEndian(1, 2) + QByteArray("\x02\x81\x82", 3);
    const int idBytes = ilocVersion < 2 ? 2 : 4;
    const auto meta = [&](quint32 dataAt) {
        const QByteArray iloc =
            bigEndian(quint32(ilocVersion) << 24, 4) + QByteArray("\x44\x00", 2) + bigEndian(1, idBytes) +
            bigEndian(1, idBytes) + (ilocVersion > 0 ? bigEndian(quint32(method), 2) : QByteArray()) +
            bigEndian(0, 2) + bigEndian(1, 2) + bigEndian(dataAt, 4) + bigEndian(quint32(data.size()), 4);
        return box("meta", bigEndian(0, 4) + box("iloc", iloc) + box("iprp", ipco + box("ipma", ipma)));
    };
    const QByteArray ftyp = box("ftyp", QByteArray("avif\0\0\0\0mif1", 12));
    const quint32 dataAt = quint32(ftyp.size() + meta(0).size() + 8);
    return ftyp + meta(dataAt) + box("mdat", data);
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
        // Reduced as they are read, a TIFF and a WebP are turned once, as the whole picture is.
        for (const QString& path : {tiff, webp}) {
            const QImage whole = imaging::loadImageFile(path, {}).image;
            const imaging::LoadedImage half = imaging::loadImageFile(path, upright / 2);
            EXPECT_EQ(half.fullSize, upright) << path.toStdString();
            ASSERT_EQ(half.image.size(), upright / 2) << path.toStdString();
            EXPECT_GE(psnr(rgbaBytes(half.image), rgbaBytes(whole.scaled(upright / 2))), 40.0)
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
    const auto file = [](const QByteArray& property) {
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

// The size an AV1 picture is coded at is read from its sequence header without decoding: in the
// av1C property's OBUs and in the item's data, whatever comes before the size in the header (timing,
// a decoder model, operating points) and wherever the iloc box places the data in the file.
TEST(HeifProperties, AnAv1PictureCodedLargerThanDeclaredIsSeen) {
    const QByteArray picture = sequenceHeader({1024, 768}, true);
    const QByteArray full = obu(1, sequenceHeader({1024, 768}, false), ObuLayout::Unsized);
    const QByteArray huge = obu(1, sequenceHeader({16384, 16384}, true));
    const QByteArray small = obu(1, sequenceHeader({64, 64}, true));
    const QByteArray start = obu(2, {}); // a temporal delimiter
    const QByteArray frame = obu(6, QByteArray(40, '\x5a'));
    const QByteArray inData =
        start + obu(15, QByteArray(200, '\0')) + obu(1, picture, ObuLayout::Extended) + frame;
    const QSize lie(64, 64);
    const struct {
        const char* what;
        QByteArray configObus, data;
        QSize declared;
        int ilocVersion, method;
        bool within;
    } rows[] = {
        {"av1C, still picture header", obu(1, picture), start + frame, {1024, 768}, 0, 0, true},
        {"av1C, declared smaller", obu(1, picture), start + frame, lie, 0, 0, false},
        {"av1C, full header", full, frame, {1024, 768}, 0, 0, true},
        {"av1C, full header, 129 over", full, frame, {1024 - 129, 768 - 129}, 0, 0, false},
        {"within a superblock", obu(1, picture), frame, {900, 700}, 0, 0, true},
        {"beyond the picture policy", huge, frame, {16384, 16384}, 0, 0, false},
        {"item data", {}, inData, lie, 0, 0, false},
        {"item data under an honest av1C", small, inData, lie, 0, 0, false},
        {"item data, iloc version 1", {}, inData, lie, 1, 0, false},
        {"item data, iloc version 2", {}, inData, lie, 2, 0, false},
        {"item data in idat, for libheif", {}, inData, lie, 1, 1, true},
        {"a header cut short, for libheif", obu(1, picture).left(4), frame, lie, 0, 0, true},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(imaging::heifCodedSizesWithinDeclared(
                      avifFile(row.configObus, row.data, row.declared, row.ilocVersion, row.method)),
                  row.within)
            << row.what;
    }
}

// A HEIC or AVIF file's own thumbnail serves a thumbnail's decode; a coded picture larger than the
// size the file declares for it is refused before it is decoded (heif-enc puts an AVIF's sequence
// header in the item's data, not in its av1C).
TEST(NewerFormats, HeifThumbnailItemServesAndACodedPictureLargerThanDeclaredIsRefused) {
    if (!haveTool("heif-enc"))
        GTEST_SKIP() << "heif-enc (libheif-examples) is not installed";
    QTemporaryDir dir;
    // heif-enc's AV1 encoder fails on PNG input: a JPEG serves both.
    const QString jpeg = writePicture(dir.filePath(QStringLiteral("source.jpg")), blocks({1024, 768}));
    const struct {
        const char* name;
        bool decodes;
    } rows[] = {{"photo.heic", imaging::heifDecodesHevc()}, {"photo.avif", imaging::heifDecodesAv1()}};
    for (const auto& row : rows) {
        if (!row.decodes)
            continue;
        SCOPED_TRACE(row.name);
        const QString heif = dir.filePath(QLatin1String(row.name));
        ASSERT_EQ(runTool(QStringLiteral("heif-enc"),
                          {QStringLiteral("-t"), QStringLiteral("160"), jpeg, QStringLiteral("-o"), heif})
                      .exitCode,
                  0);
        const imaging::LoadedImage small = imaging::loadImageFile(heif, imaging::ThumbnailBox);
        ASSERT_FALSE(small.image.isNull()) << small.error.toStdString();
        EXPECT_EQ(small.fullSize, QSize(1024, 768));
        EXPECT_EQ(small.image.size(), QSize(160, 120)) << "the thumbnail item";
        EXPECT_EQ(imaging::loadImageFile(heif, {}).image.size(), QSize(1024, 768));

        // The container declares 64 x 64 for the 1024 x 768 coded picture.
        const QByteArray lying = withDeclaredHeifSize(fileBytes(heif), 64, 64);
        EXPECT_TRUE(imaging::heifCodedSizesWithinDeclared(fileBytes(heif)));
        EXPECT_FALSE(imaging::heifCodedSizesWithinDeclared(lying)) << "seen before decoding";
        const imaging::LoadedImage refused = imaging::decodeImageBytes(lying, {}, {});
        EXPECT_TRUE(refused.image.isNull());
        EXPECT_EQ(refused.error.toStdString(), "HEIF picture data larger than its declared size");
    }
}

// The date a picture was taken: its EXIF DateTimeOriginal with the sub-seconds and the offset from
// UTC, as far as they are there, in JPEG, TIFF and WebP files alike; else, and for a date that is
// no date, the file's modification time.
TEST_F(Orientation, TheDateTakenComesFromTheExifDataElseFromTheFile) {
    const QDateTime local = QDateTime::fromString(QStringLiteral("2021-06-01T12:30:00"), Qt::ISODate);
    const qint64 atNoon = local.toMSecsSinceEpoch();
    const qint64 atNoonUtc = QDateTime(local.date(), local.time(), Qt::UTC).toMSecsSinceEpoch();
    const struct {
        const char* name;
        QStringList tags;
        std::optional<qint64> taken; // nothing: the file's time
    } rows[] = {
        {"plain.jpg", {"-DateTimeOriginal=2021:06:01 12:30:00"}, atNoon},
        {"subsec.jpg", {"-DateTimeOriginal=2021:06:01 12:30:00", "-SubSecTimeOriginal=25"}, atNoon + 250},
        {"offset.jpg",
         {"-DateTimeOriginal=2021:06:01 12:30:00", "-SubSecTimeOriginal=5", "-OffsetTimeOriginal=+02:00"},
         atNoonUtc - 2 * 3600 * 1000 + 500},
        {"west.tif",
         {"-DateTimeOriginal=2021:06:01 12:30:00", "-OffsetTimeOriginal=-05:30"},
         atNoonUtc + 5 * 3600 * 1000 + 30 * 60 * 1000},
        {"phone.webp", {"-DateTimeOriginal=2021:06:01 12:30:00"}, atNoon},
        {"none.jpg", {"-Orientation=6"}, std::nullopt},
        {"blank.jpg", {"-DateTimeOriginal=    :  :     :  :  "}, std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QString name = QString::fromLatin1(row.name);
        const QString jpeg = writePicture(dir.filePath(name + ".jpg"), blocks({40, 30}));
        const QString path = name.endsWith(".webp")  ? converted(jpeg, dir.filePath(name))
                             : name.endsWith(".tif") ? writePicture(dir.filePath(name), blocks({40, 30}))
                                                     : jpeg;
        ASSERT_FALSE(path.isEmpty());
        ASSERT_TRUE(tagExif(path, row.tags));
        const qint64 fileTime = QFileInfo(path).lastModified().toMSecsSinceEpoch();
        EXPECT_EQ(imaging::dateTaken(path), row.taken.value_or(fileTime));
    }
    EXPECT_EQ(imaging::dateTaken(dir.filePath("gone.jpg")), std::nullopt);
}

// A file's date is read once: again from what was read, also when the file was read whole to be
// decoded; a file changed since is read anew.
TEST_F(Orientation, TheDateTakenIsReadOncePerFileAndAgainOnceItChanged) {
    const QString read = writePicture(dir.filePath("read.jpg"), blocks({40, 30}));
    const QString decoded = writePicture(dir.filePath("decoded.jpg"), blocks({40, 30}));
    ASSERT_TRUE(tagExif(read, {"-DateTimeOriginal=2020:01:01 08:00:00"}));
    ASSERT_TRUE(tagExif(decoded, {"-DateTimeOriginal=2019:01:01 08:00:00"}));
    const quint64 before = imaging::dateReadCount();
    const std::optional<qint64> first = imaging::dateTaken(read);
    EXPECT_EQ(imaging::dateReadCount(), before + 1);
    EXPECT_EQ(imaging::dateTaken(read), first);
    EXPECT_FALSE(imaging::loadImageFile(decoded, imaging::ThumbnailBox).image.isNull());
    EXPECT_LT(imaging::dateTaken(decoded), first);
    EXPECT_EQ(imaging::dateReadCount(), before + 1);

    ASSERT_TRUE(tagExif(read, {"-DateTimeOriginal=2022:01:01 08:00:00"}));
    EXPECT_GT(imaging::dateTaken(read), first);
    EXPECT_EQ(imaging::dateReadCount(), before + 2);
}

} // namespace
