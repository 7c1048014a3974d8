// SPDX-License-Identifier: MIT
// QPX straight from a plain bitmap's rows: the same bytes as the imaging control writes after
// decoding the same file, for every way such a bitmap can be stored; and the bitmaps that must go
// through the general reader instead are told apart without reading outside the header.
#include "bmp_rows.h"
#include "le_bytes.h"
#include "qpx_encoder.h"
#include "support.h"
#include "tphoto.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace imaging_test;

namespace {

struct BmpShape {
    const char* name;
    int bits = 24;
    bool topDown = false;
    uint32_t headerSize = 40;
    int paletteEntries = 0; // a colour table a true-colour bitmap may carry before its rows
    char unused = 0;        // the fourth byte of a 32-bit pixel
    int gap = 0;            // bytes between the headers and the rows that nothing describes
};

// A picture whose every block has detail: gradients with a pattern on top.
QImage detailedPicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                           qRgb((x * 255 / width) ^ (y * 7 & 31), (y * 255 / height + x * 3) & 255,
                                (x * y * 13 + (x ^ y)) & 255));
    return image;
}

QByteArray bmpFile(const QImage& image, const BmpShape& shape) {
    const int width = image.width(), height = image.height();
    const int stride = (width * shape.bits + 31) / 32 * 4;
    const uint32_t pixelsAt =
        14 + shape.headerSize + 4 * uint32_t(shape.paletteEntries) + uint32_t(shape.gap);
    QByteArray f("BM");
    le::append32(f, pixelsAt + uint32_t(stride * height));
    le::append32(f, 0);
    le::append32(f, pixelsAt);
    le::append32(f, shape.headerSize);
    le::append32(f, uint32_t(width));
    le::append32(f, uint32_t(shape.topDown ? -height : height));
    le::append16(f, 1);
    le::append16(f, uint16_t(shape.bits));
    le::append32(f, 0); // uncompressed
    le::append32(f, uint32_t(stride * height));
    le::append32(f, 2835);
    le::append32(f, 2835);
    le::append32(f, uint32_t(shape.paletteEntries));
    le::append32(f, 0);
    f.append(QByteArray(qsizetype(pixelsAt) - f.size(), '\x5a'));
    for (int i = 0; i < height; ++i) {
        const int y = shape.topDown ? i : height - 1 - i;
        QByteArray row;
        for (int x = 0; x < width; ++x) {
            const QRgb p = image.pixel(x, y);
            row.append(char(qBlue(p))).append(char(qGreen(p))).append(char(qRed(p)));
            if (shape.bits == 32)
                row.append(shape.unused);
        }
        f.append(row.leftJustified(stride, '\0'));
    }
    return f;
}

std::optional<imaging::BmpRowLayout> layoutOf(const QByteArray& file) {
    return imaging::directBmpLayout(QByteArrayView(file).first(std::min(file.size(), imaging::BmpHeadBytes)),
                                    file.size());
}

class BmpRowsTest : public testing::Test {
  protected:
    // The control's bytes for `file` and the bytes from its rows, at every sub-sampling.
    void expectSameBytes(const QString& file, const std::string& what) {
        const QByteArray bytes = fileBytes(file);
        const auto layout = layoutOf(bytes);
        ASSERT_TRUE(layout) << what << " is a plain bitmap";
        for (int sub = 0; sub <= 2; ++sub) {
            TPhoto photo;
            photo.setFileName(file);
            ASSERT_EQ(photo.FXError(), 0) << what;
            photo.setSaveJPGLumFactor(30);
            photo.setSaveJPGChromFactor(34 + sub);
            photo.setSaveJPGSubSampling(sub);
            photo.setSaveFileName(dir.filePath(QStringLiteral("control.qpx")));
            photo.SaveImage();
            ASSERT_EQ(photo.FXError(), 0) << what;
            imaging::QpxSettings settings;
            settings.luminanceFactor = 30;
            settings.chrominanceFactor = 34 + sub;
            settings.subsampling = imaging::ChromaSubsampling(sub);
            const QByteArray control = fileBytes(dir.filePath(QStringLiteral("control.qpx")));
            const QByteArray direct =
                imaging::encodeQpxRows(imaging::bmpPixelRows(*layout, bytes.constData()), settings);
            EXPECT_TRUE(direct == control) << what << ", sub-sampling " << sub;
            const auto fromFile = imaging::encodePlainBmpFile(file, settings, buffer);
            ASSERT_TRUE(fromFile) << what;
            EXPECT_TRUE(*fromFile == control) << what << " read from its file, sub-sampling " << sub;
        }
    }

    QTemporaryDir dir;
    std::vector<char> buffer; // kept from file to file, as the export keeps it
};

TEST_F(BmpRowsTest, RowsGiveTheControlsBytesForEveryWayOfStoringThem) {
    const BmpShape shapes[] = {
        {"24-bit bottom-up"},
        {"24-bit top-down", 24, true},
        {"24-bit with a colour table", 24, false, 40, 3},
        {"24-bit with the long header", 24, true, 124},
        {"24-bit with the middle header", 24, false, 108},
        {"32-bit bottom-up", 32},
        {"32-bit top-down, unused bytes set", 32, true, 40, 0, '\x37'},
        {"24-bit with a gap before the rows", 24, false, 40, 0, 0, 10},
        {"32-bit with a colour table and a gap", 32, false, 40, 2, 0, 6},
    };
    // 73 pixels need row padding; 41 rows leave a part block at the bottom.
    const QImage picture = detailedPicture(73, 41);
    for (const BmpShape& shape : shapes) {
        const QString path = dir.filePath(QStringLiteral("%1.bmp").arg(QLatin1String(shape.name)));
        ASSERT_TRUE(writeFile(path, bmpFile(picture, shape)));
        expectSameBytes(path, shape.name);
    }
}

TEST_F(BmpRowsTest, ATinyBitmapWithBytesAfterItsRowsIsReadIntoAFreshBuffer) {
    // The header read at the start runs past the rows into what follows them.
    const QString tiny = dir.filePath(QStringLiteral("tiny.bmp"));
    ASSERT_TRUE(writeFile(tiny, bmpFile(detailedPicture(1, 1), {"tiny"}) + QByteArray(100, '\x11')));
    expectSameBytes(tiny, "a 1 x 1 bitmap with bytes after its rows");
}

TEST_F(BmpRowsTest, FilesThatAreNotPlainBitmapsAreLeftToTheControl) {
    const QImage picture = detailedPicture(12, 7);
    const struct {
        const char* what;
        QByteArray bytes;
    } files[] = {
        {"8 bits", bmpFile(picture, {"", 8})},
        {"rows cut short", bmpFile(picture, {""}).chopped(3)},
        {"empty", {}},
        {"a JPEG stream", imaging::encodeQpx(picture, {})},
    };
    for (const auto& f : files) {
        const QString path = dir.filePath(QStringLiteral("other.bmp"));
        ASSERT_TRUE(writeFile(path, f.bytes));
        EXPECT_FALSE(imaging::encodePlainBmpFile(path, {}, buffer)) << f.what;
    }
    EXPECT_FALSE(imaging::encodePlainBmpFile(dir.filePath(QStringLiteral("gone.bmp")), {}, buffer));
}

TEST_F(BmpRowsTest, RowsGiveTheControlsBytesForTheSharedBitmaps) {
    if (!haveSharedImages())
        GTEST_SKIP() << "the shared test pictures are not in " << imagesDir().toStdString();
    for (const char* name :
         {"flower.bmp", "size_1x1.bmp", "size_73x48.bmp", "size_72x48_v5header.bmp", "ladybird.dib"})
        expectSameBytes(QDir(imagesDir()).filePath(QLatin1String(name)), name);
}

TEST(BmpRowLayout, OtherBitmapsAndDamagedHeadersAreLeftToTheGeneralReader) {
    const QImage picture = detailedPicture(9, 5);
    const QByteArray good = bmpFile(picture, {"good"});
    ASSERT_TRUE(layoutOf(good));
    EXPECT_EQ(layoutOf(good)->fileSize(), good.size());
    const auto changed = [&](qsizetype at, QByteArray bytes) {
        return QByteArray(good).replace(at, bytes.size(), bytes);
    };
    const auto le32 = [](uint32_t v) {
        QByteArray b;
        le::append32(b, v);
        return b;
    };
    const struct {
        const char* what;
        QByteArray file;
    } refused[] = {
        {"no signature", changed(0, "MB")},
        {"rows cut short", good.chopped(1)},
        {"only the headers", good.first(54)},
        {"a cut header", good.first(40)},
        {"8 bits", bmpFile(picture, {"", 8})},
        {"16 bits", bmpFile(picture, {"", 16})},
        {"32 bits with the long header", bmpFile(picture, {"", 32, false, 124})},
        {"the old short header", changed(14, le32(12))},
        {"run-length compressed", changed(30, le32(1))},
        {"bit fields", changed(30, le32(3))},
        {"two planes", changed(26, "\x02")},
        {"no width", changed(18, le32(0))},
        {"a negative width", changed(18, le32(uint32_t(-9)))},
        {"no height", changed(22, le32(0))},
        {"the lowest height", changed(22, le32(0x80000000u))},
        {"too wide for a JPEG stream", changed(18, le32(65501))},
        {"rows inside the header", changed(10, le32(20))},
        {"rows past the end", changed(10, le32(0xFFFFFFF0u))},
        {"rows of a huge picture", changed(18, le32(60000)).replace(22, 4, le32(60000))},
    };
    for (const auto& r : refused)
        EXPECT_FALSE(layoutOf(r.file)) << r.what;
}

} // namespace
