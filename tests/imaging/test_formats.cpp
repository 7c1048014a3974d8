// SPDX-License-Identifier: MIT
// Every picture of the shared test data loads through TPhoto with its stored size and the pixels that
// ImageMagick decodes from the same file; every damaged one fails with FXError and nothing else.
#include "guarded_child.h"
#include "image_loader.h"
#include "plain_files.h"
#include "support.h"
#include "tphoto.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <png.h>
#include <tiffio.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstring>

using namespace imaging_test;

namespace {

struct ManifestRow {
    QString file;
    QString format;
    int width = 0;
    int height = 0;
};

std::vector<ManifestRow> manifestRows() {
    std::vector<ManifestRow> rows;
    QFile f(imagePath(QStringLiteral("MANIFEST.tsv")));
    if (!f.open(QIODevice::ReadOnly))
        return rows;
    f.readLine(); // column names
    while (!f.atEnd()) {
        const QStringList cols = QString::fromUtf8(f.readLine()).trimmed().split(QLatin1Char('\t'));
        if (cols.size() < 4)
            continue;
        rows.push_back({cols[0], cols[1], cols[2].toInt(), cols[3].toInt()});
    }
    return rows;
}

// A 16-bit gray PNG, white but for its lower left (the left third of its lower two thirds), which is
// black. Its rows repeat, so that a large one compresses to a few megabytes.
QByteArray deepGrayPng(QSize size, bool interlaced = false) {
    QByteArray out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, size_t n) {
            static_cast<QByteArray*>(png_get_io_ptr(p))
                ->append(reinterpret_cast<const char*>(data), qsizetype(n));
        },
        nullptr);
    png_set_IHDR(png, info, png_uint_32(size.width()), png_uint_32(size.height()), 16, PNG_COLOR_TYPE_GRAY,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    std::vector<png_byte> white(size_t(size.width()) * 2, 0xff), lower = white;
    std::fill_n(lower.begin(), size.width() / 3 * 2, 0);
    for (int pass = png_set_interlace_handling(png); pass > 0; --pass)
        for (int y = 0; y < size.height(); ++y)
            png_write_row(png, y < size.height() / 3 ? white.data() : lower.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// A TIFF of the same picture: deflated RGB of 8 bits a sample in strips of 32 rows, or, with `alpha`,
// RGB of 16 bits a sample with unassociated alpha in tiles of 64 x 64, its lower left then red and half
// transparent. Without `rows` only its directory is written, as a file that claims a picture has.
QByteArray madeTiff(QSize size, bool alpha, bool rows = true) {
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("made.tif")));
    TIFF* tif = TIFFOpen(path.constData(), "w");
    const int samples = alpha ? 4 : 3, bytes = alpha ? 2 : 1, tile = 64;
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(size.width()));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(size.height()));
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, bytes * 8);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE);
    TIFFSetField(tif, TIFFTAG_ZIPQUALITY, 1);
    const uint16_t unassociated = EXTRASAMPLE_UNASSALPHA;
    if (alpha)
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &unassociated);
    // Every sample of a white row is all ones; the lower rows' first third is black or red.
    const qsizetype pixelBytes = samples * bytes;
    QByteArray white(size.width() * pixelBytes, char(0xff)), lower = white;
    for (int x = 0; x < size.width() / 3; ++x)
        for (qsizetype b = alpha ? bytes : 0; b < pixelBytes; ++b)
            lower[x * pixelBytes + b] = alpha && b >= 3 * bytes ? char(0x80) : char(0);
    const auto row = [&](int y) { return y < size.height() / 3 ? white.data() : lower.data(); };
    if (!rows) {
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 32);
        TIFFWriteCheck(tif, 0, "claim");
        TIFFWriteDirectory(tif);
    } else if (alpha) {
        TIFFSetField(tif, TIFFTAG_TILEWIDTH, tile);
        TIFFSetField(tif, TIFFTAG_TILELENGTH, tile);
        QByteArray pieces(tile * tile * pixelBytes, 0);
        for (int y = 0; y < size.height(); y += tile)
            for (int x = 0; x < size.width(); x += tile) {
                const int within = int(std::min(tile, size.width() - x) * pixelBytes);
                for (int r = 0; r < tile && y + r < size.height(); ++r)
                    std::memcpy(pieces.data() + r * tile * pixelBytes, row(y + r) + x * pixelBytes, within);
                TIFFWriteTile(tif, pieces.data(), uint32_t(x), uint32_t(y), 0, 0);
            }
    } else {
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 32);
        for (int y = 0; y < size.height(); ++y)
            TIFFWriteScanline(tif, row(y), uint32_t(y), 0);
    }
    TIFFClose(tif);
    return fileBytes(QFile::decodeName(path));
}

std::string rowName(const testing::TestParamInfo<ManifestRow>& info) {
    std::string name = info.param.file.toStdString();
    for (char& c : name)
        if (!isalnum(uchar(c)))
            c = '_';
    return name;
}

class TestPicture : public testing::TestWithParam<ManifestRow> {};

TEST(TestPictures, ManifestIsThere) {
    if (!haveSharedImages())
        GTEST_SKIP() << "the shared test pictures are not in " << imagesDir().toStdString();
    EXPECT_GT(manifestRows().size(), 80u);
}

TEST_P(TestPicture, LoadsWithStoredSizeAndReferencePixels) {
    const ManifestRow& row = GetParam();
    TPhoto photo;
    photo.setFileName(imagePath(row.file));
    EXPECT_EQ(photo.FileName(), imagePath(row.file));
    if (row.file.startsWith(QLatin1String("broken_"))) {
        EXPECT_NE(photo.FXError(), 0);
        EXPECT_TRUE(photo.image().isNull());
        return;
    }
    ASSERT_EQ(photo.FXError(), 0) << photo.errorText().toStdString();
    EXPECT_EQ(photo.IWidth(), row.width);
    EXPECT_EQ(photo.IHeight(), row.height);
    ASSERT_EQ(photo.image().size(), QSize(row.width, row.height));

    // ImageMagick keeps a TGA file's origin as a tag instead of turning the rows; -auto-orient applies it,
    // giving the picture as the TGA origin field defines it.
    const QByteArray reference = imageMagickRgba(imagePath(row.file), row.format == QLatin1String("TGA"));
    ASSERT_EQ(reference.size(), qsizetype(row.width) * row.height * 4) << "ImageMagick failed";
    const QByteArray ours = rgbaBytes(photo.image());
    if (row.format == QLatin1String("JPEG")) {
        // Both use libjpeg-turbo's accurate transform; allow for other builds' rounding.
        EXPECT_GE(psnr(ours, reference), 45.0);
    } else {
        EXPECT_TRUE(ours == reference) << "PSNR " << psnr(ours, reference);
    }
}

INSTANTIATE_TEST_SUITE_P(Manifest, TestPicture, testing::ValuesIn(manifestRows()), rowName);
// Without the shared test data there are no rows.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(TestPicture);

TEST(Loading, FormatComesFromTheBytesNotTheName) {
    // The capitals in the names also show that a path reaches the file system as given.
    QTemporaryDir dir;
    struct Case {
        const char* source;
        const char* disguise;
        int skip = 0;                    // bytes left out at the start
        const char* reference = nullptr; // the picture it shows, when not the source
    } cases[] = {{"storm.png", "storm.jpg"},
                 {"size_73x48_rgb24.pcx", "pic.BMP"},
                 {"ladybird.jpg", "photo.qpx"},
                 {"flower.jpg", "Photo.KQP"},
                 {"size_73x48.bmp", "x.tif"},
                 // Some .dib files start right at the bitmap information header.
                 {"ladybird.dib", "bare.dib", 14, "ladybird.png"}};
    for (const Case& c : cases) {
        const QString target = dir.filePath(QLatin1String(c.disguise));
        ASSERT_TRUE(writeFile(target, fileBytes(imagePath(QLatin1String(c.source))).mid(c.skip)));
        TPhoto named, real;
        named.setFileName(target);
        real.setFileName(imagePath(QLatin1String(c.reference ? c.reference : c.source)));
        EXPECT_EQ(named.FXError(), 0) << c.disguise << ": " << named.errorText().toStdString();
        EXPECT_EQ(named.FileName(), target);
        EXPECT_TRUE(named.image() == real.image()) << c.disguise;
    }
}

TEST(Loading, FailuresReportErrorAndLeaveNoPicture) {
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("text.bmp")), "just some text, not a picture at all");
    writeFile(dir.filePath(QStringLiteral("short.tga")), QByteArray(10, '\0'));
    for (const QString& path :
         {dir.filePath(QStringLiteral("Missing File.JPG")), dir.filePath(QStringLiteral("text.bmp")),
          dir.filePath(QStringLiteral("short.tga")), dir.path()}) {
        TPhoto photo;
        photo.setFileName(imagePath(QStringLiteral("storm.png")));
        ASSERT_EQ(photo.FXError(), 0);
        photo.setFileName(path);
        EXPECT_NE(photo.FXError(), 0) << path.toStdString();
        EXPECT_EQ(photo.FileName(), path);
        EXPECT_TRUE(photo.image().isNull());
        EXPECT_EQ(photo.IWidth(), 0);
    }
}

TEST(Loading, OnlyRegularFilesOfAPictureSizeAreRead) {
    // A FIFO without a writer would block the open, a device or a procfs file (which reports size 0
    // and goes on for hundreds of GB) would be read until memory runs out.
    QTemporaryDir dir;
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe.jpg")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", dir.filePath("zero.jpg")));
    ASSERT_TRUE(QFile::link(dir.filePath("pipe.jpg"), dir.filePath("link to pipe.png")));
    ASSERT_TRUE(QFile::link("/proc/self/pagemap", dir.filePath("pagemap.jpg")));
    QFile huge(dir.filePath("huge.png")); // sparse: it takes no room on the disk
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(imaging::PictureFileLimit + 1));
    huge.close();
    const struct {
        const char* name;
        const char* reason;
        bool readFailed; // worth another try later
    } rows[] = {
        {"pipe.jpg", "not a regular file", true},
        {"zero.jpg", "not a regular file", true},
        {"link to pipe.png", "not a regular file", true},
        {"pagemap.jpg", "holds more than its size says", false},
        {"huge.png", "file too large (over 512 MB)", false},
    };
    for (const auto& row : rows) {
        const QString path = dir.filePath(QLatin1String(row.name));
        EXPECT_EQ(inGuardedChild([&] {
                      const imaging::LoadedImage loaded = imaging::loadImageFile(path, imaging::ThumbnailBox);
                      return loaded.image.isNull() && loaded.error.contains(QLatin1String(row.reason)) &&
                             loaded.readFailed == row.readFailed;
                  }),
                  "")
            << row.name;
    }
}

// Every reader keeps the one picture policy: honest large pictures load, claims beyond it are refused
// as too large from their header. A large PNG or TIFF decoded reduced is read a piece at a time: a
// thumbnail of a 12600 x 12600 one adds less than 256 MB to the process.
TEST(Loading, LargePicturesWithinThePolicyLoadAndLargerOnesAreTooLarge) {
    const QRgb white = qRgb(255, 255, 255), black = qRgb(0, 0, 0), red = qRgba(255, 0, 0, 128);
    const struct {
        const char* what;
        QByteArray file;
        QSize loads; // invalid: refused as too large
        QSize reduceBox = {};
        QList<std::pair<QPoint, QRgb>> pixels = {};
        long memoryMB = 1024; // the most the decode may add
    } rows[] = {
        {"600-dpi A4 scan, PNG", encoded({4960, 7016}, "png"), {4960, 7016}},
        {"600-dpi A4 scan, TIFF", encoded({4960, 7016}, "tiff"), {4960, 7016}},
        {"36 MP WebP", encoded({6000, 6000}, "webp"), {6000, 6000}},
        {"PNG claiming 16384 x 16384", pngClaiming({16384, 16384}), {}},
        {"PNG claiming 70000 x 100", pngClaiming({70000, 100}), {}},
        {"16-bit 12600 x 12600 PNG, thumbnail",
         deepGrayPng({12600, 12600}),
         {129, 129},
         imaging::ThumbnailBox,
         {{{0, 0}, white}, {{0, 128}, black}, {{128, 128}, white}},
         256},
        {"interlaced PNG, thumbnail",
         deepGrayPng({1000, 700}, true),
         {143, 100},
         imaging::ThumbnailBox,
         {{{0, 0}, white}, {{0, 99}, black}, {{142, 99}, white}, {{46, 34}, black}, {{48, 32}, white}}},
        {"12600 x 12600 TIFF in strips, thumbnail",
         madeTiff({12600, 12600}, false),
         {129, 129},
         imaging::ThumbnailBox,
         {{{0, 0}, white}, {{0, 128}, black}, {{128, 128}, white}},
         256},
        {"TIFF claiming 16384 x 16384, thumbnail",
         madeTiff({16384, 16384}, false, false),
         {},
         imaging::ThumbnailBox},
        {"81 MP WebP, thumbnail",
         encoded({9000, 9000}, "webp"),
         {129, 129},
         imaging::ThumbnailBox,
         {{{64, 64}, QColor(Qt::darkCyan).rgb()}},
         256},
        {"tiled 16-bit TIFF with alpha, thumbnail",
         madeTiff({1000, 700}, true),
         {143, 100},
         imaging::ThumbnailBox,
         {{{0, 0}, white}, {{0, 99}, red}, {{142, 99}, white}, {{46, 34}, red}, {{48, 32}, white}}},
    };
    QTemporaryDir dir;
    for (const auto& row : rows) {
        const QString path = dir.filePath(QLatin1String(row.what));
        ASSERT_TRUE(writeFile(path, row.file));
        ChildLimits limits;
        limits.memoryMB = row.memoryMB;
        EXPECT_EQ(inGuardedChild(
                      [&] {
                          const imaging::LoadedImage loaded = imaging::loadImageFile(path, row.reduceBox);
                          if (row.loads.isValid()) {
                              EXPECT_EQ(loaded.image.size(), row.loads) << loaded.error.toStdString();
                              for (const auto& [at, colour] : row.pixels)
                                  EXPECT_EQ(loaded.image.pixel(at), colour) << at.x() << ", " << at.y();
                          } else {
                              EXPECT_TRUE(loaded.image.isNull());
                              EXPECT_EQ(loaded.error.toStdString(), "picture too large");
                              EXPECT_EQ(loaded.failure, imaging::DecodeFailure::TooLarge);
                          }
                          std::fflush(nullptr);
                          return !::testing::Test::HasFailure();
                      },
                      limits),
                  "")
            << row.what;
    }
}

TEST(Loading, FilesCutShortAreDamaged) {
    QTemporaryDir dir;
    for (const char* name : {"storm.bmp", "storm.png", "storm_none.tif", "storm_lzw.tif", "storm.jpg",
                             "ladybird_progressive.jpg", "storm_pal8.pcx", "storm_rgb24.pcx", "storm_raw.tga",
                             "storm_rle.tga", "ladybird_pal256.bmp"}) {
        const QByteArray whole = fileBytes(imagePath(QLatin1String(name)));
        const QString cut = dir.filePath(QLatin1String(name));
        ASSERT_TRUE(writeFile(cut, whole.left(whole.size() * 2 / 3)));
        TPhoto photo;
        photo.setFileName(cut);
        EXPECT_EQ(photo.FXError(), TPhoto::BadPicture) << name;
    }
}

} // namespace
