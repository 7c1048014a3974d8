// SPDX-License-Identifier: MIT
// TPhoto's thumbnail operations: resampling, colour reduction with the palette file, and the packed
// bitmaps lent out by CopyDib with the handle accessors.
#include "dib_memory.h"
#include "palette_file.h"
#include "support.h"
#include "tphoto.h"

#include <QCoreApplication>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace imaging_test;

namespace {

uint32_t le32(const uchar* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
}
uint16_t le16(const uchar* p) {
    return uint16_t(p[0] | p[1] << 8);
}

QByteArray dibBytes(qintptr handle) {
    const uchar* p = GlobalLock(handle);
    if (!p)
        return {};
    QByteArray copy(reinterpret_cast<const char*>(p), GlobalSize(handle));
    GlobalUnlock(handle);
    return copy;
}

// The bitmap file a caller builds from a packed bitmap: a 14-byte file header in front of it.
QImage bitmapFileFrom(const QByteArray& dib) {
    const auto* p = reinterpret_cast<const uchar*>(dib.constData());
    const uint32_t bitsOffset = le32(p) + 4 * le32(p + 32);
    QByteArray file("BM");
    for (uint32_t v : {uint32_t(14 + dib.size()), 0u, 14 + bitsOffset})
        for (int i = 0; i < 4; ++i)
            file.append(char(v >> (8 * i)));
    return QImage::fromData(file + dib, "BMP");
}

QString writePicture(const QTemporaryDir& dir, const QString& name, const QImage& image) {
    const QString path = dir.filePath(name);
    EXPECT_TRUE(image.save(path, "PNG"));
    return path;
}

// Also after a reduced (thumbnail) load, whose reported size is then the new one.
TEST(ResizeImage, GivesExactlyTheAskedSize) {
    const struct {
        const char* file;
        int w, h;
        bool thumbnail = false;
    } rows[] = {{"storm.jpg", 64, 48},       {"storm_640x480.jpg", 64, 48, true}, {"size_100x95.png", 56, 53},
                {"size_100x95.png", 50, 48}, {"size_73x48_rgb24.pcx", 64, 42},    {"size_1x1.png", 1, 1},
                {"size_40x10.bmp", 640, 1},  {"flower_alpha_160x120.png", 33, 25}};
    for (const auto& r : rows) {
        TPhoto photo;
        photo.setQPXThumbnail(r.thumbnail ? 1 : 0);
        photo.setFileName(imagePath(QLatin1String(r.file)));
        ASSERT_EQ(photo.FXError(), 0) << r.file;
        photo.ResizeImage(r.w, r.h);
        EXPECT_EQ(photo.FXError(), 0);
        EXPECT_EQ(photo.IWidth(), r.w);
        EXPECT_EQ(photo.IHeight(), r.h);
        EXPECT_EQ(photo.image().size(), QSize(r.w, r.h));
    }
}

TEST(ResizeImage, ShrinkingAveragesTheArea) {
    // A one-pixel black and white checkerboard becomes an even grey, not a pattern of samples.
    QImage board(100, 100, QImage::Format_RGB32);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            board.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    QTemporaryDir dir;
    TPhoto photo;
    photo.setFileName(writePicture(dir, QStringLiteral("board.png"), board));
    photo.ResizeImage(10, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_NEAR(qGray(photo.image().pixel(x, y)), 128, 8) << x << "," << y;
}

// Each refusal says why, in the program's language.
TEST(ResizeImage, RefusesSizesItCannotMake) {
    MarkedTexts marked({QStringLiteral("TPhoto")});
    ASSERT_TRUE(QCoreApplication::installTranslator(&marked));
    TPhoto photo;
    photo.ResizeImage(10, 10);
    EXPECT_NE(photo.FXError(), 0); // nothing loaded
    EXPECT_EQ(photo.errorText(), QStringLiteral("[no picture loaded]"));
    photo.setFileName(imagePath(QStringLiteral("storm.png")));
    for (QSize bad : {QSize(0, 10), QSize(10, 0), QSize(-5, 5), QSize(40000, 1)}) {
        photo.ResizeImage(bad.width(), bad.height());
        EXPECT_NE(photo.FXError(), 0);
        EXPECT_EQ(photo.errorText(),
                  QStringLiteral("[cannot resize to %1 x %2]").arg(bad.width()).arg(bad.height()));
        EXPECT_EQ(photo.image().size(), QSize(320, 240));
        EXPECT_EQ(photo.IWidth(), 320);
    }
    QCoreApplication::removeTranslator(&marked);
}

TEST(ReducedLoad, EdgeSizesOfTheThumbnailBoxAreDecodedUnreduced) {
    TPhoto photo;
    photo.setQPXThumbnail(1);
    for (const char* file : {"size_72x48.jpg", "size_73x48.jpg"}) {
        photo.setFileName(imagePath(QLatin1String(file)));
        EXPECT_EQ(photo.image().size(), QSize(photo.IWidth(), 48)) << file;
    }
}

TEST(PaletteFile, ParsesOnlyWellFormedFiles) {
    const QByteArray good = fileBytes(QStringLiteral(VERASCO_PALETTE_FILE));
    const auto shipped = imaging::parseRiffPalette(good);
    ASSERT_TRUE(shipped.has_value());
    EXPECT_EQ(shipped->size(), 256);
    EXPECT_TRUE(shipped->contains(qRgb(0, 0, 0)));
    EXPECT_TRUE(shipped->contains(qRgb(255, 255, 255)));

    auto patched = [&](int at, QByteArray b) { return QByteArray(good).replace(at, b.size(), b); };
    QByteArray withExtraChunk = good;
    withExtraChunk.insert(12, QByteArray("fact\x03\x00\x00\x00xyz\x00", 12));
    withExtraChunk.replace(4, 4, QByteArray("\x1c\x04\x00\x00", 4));
    EXPECT_TRUE(imaging::parseRiffPalette(withExtraChunk).has_value()); // unknown chunks are skipped

    const struct {
        const char* what;
        QByteArray file;
    } bad[] = {
        {"empty", {}},
        {"cut short", good.left(good.size() - 1)},
        {"not RIFF", patched(0, "RIFX")},
        {"not a palette form", patched(8, "WAVE")},
        {"wrong version", patched(20, QByteArray("\x00\x01", 2))},
        {"no entries", patched(22, QByteArray("\x00\x00", 2))},
        {"more entries than 256", patched(22, QByteArray("\x01\x01", 2))},
        {"chunk longer than the file", patched(16, QByteArray("\xff\xff\xff\x00", 4))},
        {"RIFF size past the end", patched(4, QByteArray("\xff\xff\xff\x7f", 4))},
    };
    for (const auto& b : bad)
        EXPECT_FALSE(imaging::parseRiffPalette(b.file).has_value()) << b.what;

    const QList<QRgb> three{qRgb(1, 2, 3), qRgb(4, 5, 6), qRgb(7, 8, 9)};
    EXPECT_EQ(imaging::parseRiffPalette(imaging::writeRiffPalette(three)), three);
}

TEST(ReduceColors, EightBitsWithThePaletteFileAndDithering) {
    TPhoto photo;
    EXPECT_EQ(photo.hPal(), 0);
    photo.setFileName(imagePath(QStringLiteral("ladybird.png")));
    photo.ResizeImage(64, 48);
    const QImage trueColour = photo.image();
    photo.setPFileName(QStringLiteral(VERASCO_PALETTE_FILE));
    photo.ReduceColors(8, 7, 3);
    ASSERT_EQ(photo.FXError(), 0) << photo.errorText().toStdString();
    EXPECT_NE(photo.hPal(), 0);
    const auto palette = imaging::parseRiffPalette(fileBytes(QStringLiteral(VERASCO_PALETTE_FILE)));
    EXPECT_EQ(photo.paletteColors(), *palette);
    ASSERT_EQ(photo.image().format(), QImage::Format_Indexed8);
    EXPECT_EQ(photo.image().colorTable(), *palette);
    EXPECT_GT(psnr(rgbaBytes(photo.image()), rgbaBytes(trueColour)), 20.0);
}

TEST(ReduceColors, DitheringKeepsTheAverageColour) {
    // A flat grey that the palette lacks: without dithering every pixel takes the nearest entry; with
    // Floyd-Steinberg the mix averages to the grey itself.
    QImage flat(64, 64, QImage::Format_RGB32);
    flat.fill(qRgb(100, 140, 60));
    QTemporaryDir dir;
    const QString file = writePicture(dir, QStringLiteral("flat.png"), flat);
    for (int dither : {0, 3}) {
        TPhoto photo;
        photo.setFileName(file);
        photo.setPFileName(QStringLiteral(VERASCO_PALETTE_FILE));
        photo.ReduceColors(8, 7, dither);
        const QImage& reduced = photo.image();
        double sum[3] = {};
        QSet<int> used;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const QRgb c = reduced.pixel(x, y);
                sum[0] += qRed(c), sum[1] += qGreen(c), sum[2] += qBlue(c);
                used.insert(reduced.pixelIndex(x, y));
            }
        if (dither == 0) {
            EXPECT_EQ(used.size(), 1);
        } else {
            EXPECT_GT(used.size(), 1);
            EXPECT_NEAR(sum[0] / 4096, 100, 2);
            EXPECT_NEAR(sum[1] / 4096, 140, 2);
            EXPECT_NEAR(sum[2] / 4096, 60, 2);
        }
    }
}

TEST(ReduceColors, PaletteProblemsAreReported) {
    QTemporaryDir dir;
    writeFile(dir.filePath("bad.pal"), "RIFF\x04\x00\x00\x00PAL ");
    for (const QString& pal : {QString(), dir.filePath("missing.pal"), dir.filePath("bad.pal")}) {
        TPhoto photo;
        photo.setFileName(imagePath(QStringLiteral("size_40x10.png")));
        photo.setPFileName(pal);
        photo.ReduceColors(8, 7, 3);
        EXPECT_NE(photo.FXError(), 0);
        EXPECT_EQ(photo.hPal(), 0);
        EXPECT_EQ(photo.image().format(), QImage::Format_RGB32);
    }
    TPhoto photo;
    photo.setPFileName(QStringLiteral(VERASCO_PALETTE_FILE));
    photo.ReduceColors(8, 7, 3); // before any load: the palette is taken for what comes
    EXPECT_EQ(photo.FXError(), 0);
    EXPECT_NE(photo.hPal(), 0);
    photo.ReduceColors(5, 7, 3);
    EXPECT_NE(photo.FXError(), 0);
}

TEST(CopyDib, TrueColourLayoutFieldByField) {
    TPhoto photo;
    photo.setFileName(imagePath(QStringLiteral("size_73x48.png")));
    const qintptr h = photo.CopyDib();
    ASSERT_GT(h, 0);
    const QByteArray dib = dibBytes(h);
    const auto* p = reinterpret_cast<const uchar*>(dib.constData());
    const int stride = 220; // 73 x 3 = 219 bytes, padded to a multiple of 4
    ASSERT_EQ(GlobalSize(h), 40 + stride * 48);
    EXPECT_EQ(le32(p + 0), 40u);
    EXPECT_EQ(le32(p + 4), 73u);
    EXPECT_EQ(le32(p + 8), 48u); // positive: bottom-up
    EXPECT_EQ(le16(p + 12), 1);
    EXPECT_EQ(le16(p + 14), 24);
    EXPECT_EQ(le32(p + 16), 0u);
    EXPECT_EQ(le32(p + 20), uint32_t(stride * 48));
    EXPECT_EQ(le32(p + 32), 0u); // no colour table
    // The rows are those of ImageMagick's BMP of the same picture (54-byte headers there).
    const QByteArray bmp = fileBytes(imagePath(QStringLiteral("size_73x48.bmp")));
    EXPECT_TRUE(dib.mid(40) == bmp.mid(54));
    for (int y = 0; y < 48; ++y)
        EXPECT_EQ(p[40 + y * stride + 219], 0) << "padding of row " << y;
    EXPECT_TRUE(bitmapFileFrom(dib).convertToFormat(QImage::Format_RGB32) == photo.image());
}

TEST(CopyDib, EightBitLayoutAfterReduceColors) {
    TPhoto photo;
    photo.setFileName(imagePath(QStringLiteral("storm.jpg")));
    photo.ResizeImage(63, 47);
    photo.setPFileName(QStringLiteral(VERASCO_PALETTE_FILE));
    photo.ReduceColors(8, 7, 3);
    const qintptr h = photo.CopyDib();
    ASSERT_GT(h, 0);
    const QByteArray dib = dibBytes(h);
    const auto* p = reinterpret_cast<const uchar*>(dib.constData());
    const int stride = 64;
    ASSERT_EQ(dib.size(), 40 + 256 * 4 + stride * 47);
    EXPECT_EQ(le32(p + 4), 63u);
    EXPECT_EQ(le32(p + 8), 47u);
    EXPECT_EQ(le16(p + 14), 8);
    EXPECT_EQ(le32(p + 20), uint32_t(stride * 47));
    EXPECT_EQ(le32(p + 32), 256u);
    const QList<QRgb> palette = photo.paletteColors();
    for (int i = 0; i < 256; ++i) {
        const uchar* e = p + 40 + 4 * i;
        EXPECT_EQ(qRgb(e[2], e[1], e[0]), palette[i]) << "entry " << i;
        EXPECT_EQ(e[3], 0);
    }
    const uchar* rows = p + 40 + 1024;
    for (int y = 0; y < 47; ++y)
        for (int x = 0; x < 63; ++x)
            ASSERT_EQ(rows[(46 - y) * stride + x], photo.image().pixelIndex(x, y)) << x << "," << y;
    EXPECT_TRUE(bitmapFileFrom(dib).convertToFormat(QImage::Format_RGB32) ==
                photo.image().convertToFormat(QImage::Format_RGB32));
}

TEST(CopyDib, TransparentPartsAreWhite) {
    TPhoto photo;
    photo.setFileName(imagePath(QStringLiteral("flower_alpha_160x120.png")));
    ASSERT_EQ(qAlpha(photo.image().pixel(0, 0)), 0);
    const QImage fromDib = bitmapFileFrom(dibBytes(photo.CopyDib()));
    EXPECT_EQ(fromDib.pixel(0, 0) | 0xff000000u, qRgb(255, 255, 255));
}

TEST(CopyDib, HandlesLiveUntilTheNextCopyOrTheControl) {
    qintptr first = 0, second = 0;
    {
        TPhoto photo;
        EXPECT_LE(photo.CopyDib(), 0); // nothing loaded
        EXPECT_NE(photo.FXError(), 0);
        photo.setFileName(imagePath(QStringLiteral("size_40x10.png")));
        first = photo.CopyDib();
        ASSERT_NE(GlobalLock(first), nullptr);
        EXPECT_TRUE(GlobalUnlock(first));
        EXPECT_FALSE(GlobalUnlock(first)); // not locked any more
        second = photo.CopyDib();
        EXPECT_NE(second, first);
        EXPECT_EQ(GlobalLock(first), nullptr);
        EXPECT_EQ(GlobalSize(first), 0);
        EXPECT_FALSE(GlobalUnlock(first));
        EXPECT_EQ(GlobalSize(second), 40 + 120 * 10);
    }
    EXPECT_EQ(GlobalLock(second), nullptr);
    EXPECT_EQ(GlobalLock(0), nullptr);
    EXPECT_EQ(GlobalLock(-7), nullptr);
}

} // namespace
