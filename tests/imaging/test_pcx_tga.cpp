// SPDX-License-Identifier: MIT
// The own PCX and TGA readers: every layout they accept decodes as ImageMagick decodes the same file,
// and damaged or hostile headers are refused without reading outside the data.
#include "guarded_child.h"
#include "image_loader.h"
#include "pcx_reader.h"
#include "plain_files.h"
#include "support.h"
#include "tga_reader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>

using namespace imaging_test;
using namespace imaging;

namespace {

QByteArray le16(int v) {
    QByteArray b;
    b.append(char(v & 0xff)).append(char((v >> 8) & 0xff));
    return b;
}

// PCX run-length coding of one byte stream, the way the format defines it.
QByteArray pcxRle(const QByteArray& raw) {
    QByteArray out;
    for (qsizetype i = 0; i < raw.size();) {
        qsizetype n = 1;
        while (i + n < raw.size() && raw[i + n] == raw[i] && n < 63)
            ++n;
        if (n > 1 || (uchar(raw[i]) & 0xC0) == 0xC0)
            out.append(char(0xC0 | n));
        out.append(raw[i]);
        i += n;
    }
    return out;
}

struct PcxLayout {
    int bits, planes, width, height;
};

// A PCX file with a 16-colour header palette and the given plane data (already laid out per line).
QByteArray pcxFile(const PcxLayout& l, int bytesPerLine, const QByteArray& planeData, bool rle) {
    QByteArray h(128, '\0');
    h[0] = 0x0A;
    h[1] = 5;
    h[2] = rle ? 1 : 0;
    h[3] = char(l.bits);
    h.replace(8, 2, le16(l.width - 1));
    h.replace(10, 2, le16(l.height - 1));
    for (int i = 0; i < 16; ++i) {
        h[16 + 3 * i] = char(i * 16);
        h[17 + 3 * i] = char(255 - i * 16);
        h[18 + 3 * i] = char((i * 97) & 0xff);
    }
    h[65] = char(l.planes);
    h.replace(66, 2, le16(bytesPerLine));
    h[68] = 1;
    return h + (rle ? pcxRle(planeData) : planeData);
}

// Plane data for a picture whose pixel (x, y) has colour index (x + 2y) mod 2^(bits x planes).
QByteArray patternPlanes(const PcxLayout& l, int bytesPerLine) {
    const int colours = 1 << (l.bits * l.planes);
    QByteArray data;
    for (int y = 0; y < l.height; ++y) {
        for (int p = 0; p < l.planes; ++p) {
            QByteArray line(bytesPerLine, '\0');
            for (int x = 0; x < l.width; ++x) {
                const int index = (x + 2 * y) % colours;
                if (l.planes > 1) {
                    if (index >> p & 1)
                        line[x / 8] = char(uchar(line[x / 8]) | (0x80 >> (x % 8)));
                } else {
                    const int perByte = 8 / l.bits;
                    const int shift = 8 - l.bits * (x % perByte + 1);
                    line[x / perByte] = char(uchar(line[x / perByte]) | index << shift);
                }
            }
            data += line;
        }
    }
    return data;
}

class ReaderTest : public testing::Test {
  protected:
    QString path(const QString& name) const { return dir.filePath(name); }

    // Our decoding of `file` against ImageMagick's decoding of the same bytes.
    void expectSameAsImageMagick(const QString& name, const QImage& ours, bool autoOrient = false) {
        ASSERT_FALSE(ours.isNull()) << name.toStdString();
        const QByteArray reference = imageMagickRgba(path(name), autoOrient);
        ASSERT_EQ(reference.size(), qsizetype(ours.width()) * ours.height() * 4) << name.toStdString();
        EXPECT_TRUE(rgbaBytes(ours) == reference)
            << name.toStdString() << " PSNR " << psnr(rgbaBytes(ours), reference);
    }

    QString convertFrom(const QString& source, const QStringList& options, const QString& target) {
        QStringList args{imagePath(source)};
        args << options << path(target);
        const ToolResult r = runTool(convertProgram(), args);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return path(target);
    }

    QTemporaryDir dir;
};

// Each file is read by the reader its ending names; TGA files are turned as their origin says.
TEST_F(ReaderTest, PcxAndTgaWrittenByImageMagick) {
    struct Row {
        const char* source;
        QStringList options;
        const char* name;
    } rows[] = {
        {"size_73x48.png", {"-colors", "16"}, "palette16.pcx"},
        {"size_73x48.png", {"-type", "grayscale"}, "grey.pcx"},
        {"size_73x48.png", {"-compress", "none"}, "raw24.pcx"},
        {"flower_alpha_160x120.png", {}, "alpha.pcx"},
        {"size_1x1.png", {}, "single.pcx"},
        {"size_73x48.png", {"-type", "palette"}, "mapped.tga"},
        {"size_73x48.png", {"-type", "palette", "-compress", "RLE"}, "mapped_rle.tga"},
        {"storm_gray8.png", {"-type", "grayscale"}, "grey.tga"},
        {"storm_gray8.png", {"-type", "grayscale", "-compress", "RLE"}, "grey_rle.tga"},
        {"flower_alpha_160x120.png", {}, "alpha.tga"},
        {"flower_alpha_160x120.png", {"-compress", "RLE"}, "alpha_rle.tga"},
        {"size_40x10.png", {"-flip", "-orient", "TopLeft"}, "topleft.tga"},
    };
    for (const Row& r : rows) {
        const QString name = QLatin1String(r.name);
        const QByteArray file = fileBytes(convertFrom(QLatin1String(r.source), r.options, name));
        const bool tga = name.endsWith(QLatin1String(".tga"));
        QString error;
        expectSameAsImageMagick(name, tga ? readTga(file, &error) : readPcx(file, &error), tga);
    }
}

TEST_F(ReaderTest, PcxPlanarAndPackedPaletteLayouts) {
    const PcxLayout layouts[] = {
        {1, 1, 19, 5}, {1, 2, 13, 4}, {1, 3, 9, 3}, {1, 4, 21, 6}, {2, 1, 11, 4}, {4, 1, 17, 5},
    };
    for (const PcxLayout& l : layouts) {
        for (bool rle : {true, false}) {
            const int bpl = (l.width * l.bits + 15) / 16 * 2;
            const QString name =
                QStringLiteral("b%1p%2%3.pcx").arg(l.bits).arg(l.planes).arg(rle ? "r" : "n");
            ASSERT_TRUE(writeFile(path(name), pcxFile(l, bpl, patternPlanes(l, bpl), rle)));
            QString error;
            const QImage ours = readPcx(fileBytes(path(name)), &error);
            ASSERT_EQ(ours.size(), QSize(l.width, l.height)) << name.toStdString() << error.toStdString();
            const int colours = 1 << (l.bits * l.planes);
            for (int y = 0; y < l.height; ++y)
                for (int x = 0; x < l.width; ++x) {
                    const int i = (x + 2 * y) % colours;
                    ASSERT_EQ(ours.pixel(x, y), qRgb(i * 16, 255 - i * 16, (i * 97) & 0xff))
                        << name.toStdString();
                }
            // ImageMagick reads (and writes) one-bit files with set bits black whatever the colour map
            // says, so it is no reference for them.
            if (l.bits * l.planes > 1)
                expectSameAsImageMagick(name, ours);
        }
    }
}

// A TGA header for a true-colour picture of 24 bits, run-length coded, rows from the top.
QByteArray tgaRleHeader(int width, int height) {
    QByteArray h(18, '\0');
    h[2] = 10;
    h.replace(12, 2, le16(width));
    h.replace(14, 2, le16(height));
    h[16] = 24;
    h[17] = 0x20;
    return h;
}

TEST_F(ReaderTest, RunsMayCrossLineEnds) {
    // A 3 x 2 picture of one colour, coded as a single run across both lines, and a 2 x 2 one whose
    // second run starts in the first row and ends in the second.
    QByteArray pcx = pcxFile({8, 1, 3, 2}, 3, QByteArray(), true);
    pcx.append(char(0xC6)).append(char(5));
    QByteArray palette(769, '\0');
    palette[0] = 0x0C;
    palette[1 + 15] = char(200); // colour 5 = (200, 100, 50)
    palette[1 + 16] = char(100);
    palette[1 + 17] = char(50);
    pcx += palette;
    ASSERT_TRUE(writeFile(path("runs.pcx"), pcx));
    const QImage fromPcx = readPcx(pcx);
    ASSERT_EQ(fromPcx.size(), QSize(3, 2));
    EXPECT_EQ(fromPcx.pixel(2, 1), qRgb(200, 100, 50));
    expectSameAsImageMagick(QStringLiteral("runs.pcx"), fromPcx);

    const QByteArray tga = tgaRleHeader(2, 2) + QByteArray("\x00\x01\x02\x03\x82\x50\x60\x70", 8);
    ASSERT_TRUE(writeFile(path("runs.tga"), tga));
    const QImage fromTga = readTga(tga);
    ASSERT_EQ(fromTga.size(), QSize(2, 2));
    EXPECT_EQ(fromTga.pixel(0, 0), qRgb(3, 2, 1));
    EXPECT_EQ(fromTga.pixel(1, 0), qRgb(0x70, 0x60, 0x50));
    EXPECT_EQ(fromTga.pixel(1, 1), qRgb(0x70, 0x60, 0x50));
    expectSameAsImageMagick(QStringLiteral("runs.tga"), fromTga, true);
}

// A few megabytes of runs describe a picture of gigabytes; one that would pass the readers' memory
// budget is refused from its header, before anything is allocated or decoded (the decode runs with
// 512 MB to spare, where such a picture and its coded planes took more than a gigabyte).
TEST_F(ReaderTest, RunLengthPicturesBeyondTheMemoryBudgetAreRefusedFromTheirHeader) {
    const int side = 9000; // 81 M pixels: 324 MB decoded
    QByteArray pcx = pcxFile({8, 3, side, side}, side, QByteArray(), true);
    pcx.append(QByteArray(qsizetype(side) * side * 3 / 63 * 2 + 2, char(0xFF))); // runs of 63 bytes
    QByteArray tga = tgaRleHeader(side, side);
    for (qint64 left = qint64(side) * side; left > 0; left -= 128)
        tga.append("\xFF\x10\x20\x30", 4); // runs of 128 pixels
    const struct {
        const char* what;
        std::function<QImage(QString*)> read;
        const QByteArray& file;
        QString name;
    } readers[] = {{"PCX", [&](QString* e) { return readPcx(pcx, e); }, pcx, QStringLiteral("big.pcx")},
                   {"TGA", [&](QString* e) { return readTga(tga, e); }, tga, QStringLiteral("big.tga")}};
    for (const auto& reader : readers) {
        EXPECT_EQ(inGuardedChild([&] {
                      QString error;
                      return reader.read(&error).isNull() && error.contains(QLatin1String("too large"));
                  }),
                  "")
            << reader.what;
        // A limit of the program, not a fault of the file.
        EXPECT_EQ(imaging::decodeImageBytes(reader.file, reader.name, {}).failure,
                  imaging::DecodeFailure::TooLarge)
            << reader.what;
    }
}

// Where a row's bytes go: to one of the own readers, through the loader as a file's bytes, or as a
// file of that name.
enum class Reader { Pcx, Tga, Bytes, File };

// A JPEG file whose frame header declares `width` x `height`.
QByteArray jpegClaiming(QByteArray jpeg, int width, int height) {
    const qsizetype frame = jpeg.indexOf("\xFF\xC0");
    if (frame < 0)
        return {};
    qToBigEndian<quint16>(quint16(height), jpeg.data() + frame + 5);
    qToBigEndian<quint16>(quint16(width), jpeg.data() + frame + 7);
    return jpeg;
}

// Each reason is given in the program's language, with a kind of failure beside it; a file's reason
// holds the reader's or the file system's.
TEST_F(ReaderTest, DamagedFilesAreRefusedWithAReason) {
    MarkedTexts marked({QStringLiteral("PictureReaders"), QStringLiteral("PlainFiles")});
    ASSERT_TRUE(QCoreApplication::installTranslator(&marked));
    const QByteArray pcx = fileBytes(imagePath(QStringLiteral("storm_rgb24.pcx")));
    const QByteArray raw = fileBytes(imagePath(QStringLiteral("storm_raw.tga")));
    const QByteArray rle = fileBytes(imagePath(QStringLiteral("storm_rle.tga")));
    const QByteArray jpeg = fileBytes(imagePath(QStringLiteral("storm.jpg")));
    const QByteArray bmp = fileBytes(imagePath(QStringLiteral("storm.bmp")));
    ASSERT_FALSE(readPcx(pcx).isNull());
    ASSERT_FALSE(readTga(raw).isNull());
    ASSERT_FALSE(readTga(rle).isNull());
    ASSERT_FALSE(decodeImageBytes(jpeg, {}, {}).image.isNull());
    ASSERT_FALSE(decodeImageBytes(bmp, {}, {}).image.isNull());
    const QByteArray tooLargeJpeg = jpegClaiming(jpeg, 60000, 60000);
    ASSERT_FALSE(tooLargeJpeg.isEmpty());
    ASSERT_TRUE(QDir().mkdir(path(QStringLiteral("folder.png"))));
    QFile huge(path(QStringLiteral("huge.jpg"))); // sparse: it takes no room on the disk
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(PictureFileLimit + 1));
    huge.close();
    auto patched = [](const QByteArray& good, int at, QByteArray bytes) {
        return QByteArray(good).replace(at, bytes.size(), bytes);
    };
    struct Row {
        const char* what;
        QByteArray file;
        Reader reader = Reader::Pcx;
        const char* name = "";
        int marks = 1; // the reasons translated, one in the other
    } rows[] = {
        {"empty", QByteArray()},
        {"header only", pcx.left(128)},
        {"data cut in half", pcx.left(pcx.size() / 2)},
        {"xMax below xMin", patched(pcx, 4, le16(500))},
        {"line shorter than the width", patched(pcx, 66, le16(100))},
        {"huge size, little data", patched(pcx, 8, le16(65000)).replace(10, 2, le16(65000))},
        {"two planes of 8 bits", patched(pcx, 65, QByteArray(1, 2))},
        {"three bits per pixel", patched(pcx, 3, QByteArray(1, 3))},
        {"unknown encoding", patched(pcx, 2, QByteArray(1, 7))},
        {"short header", raw.left(17), Reader::Tga},
        {"raw data cut", raw.left(raw.size() - 1), Reader::Tga},
        {"coded data cut", rle.left(rle.size() / 2), Reader::Tga},
        {"zero width", patched(raw, 12, le16(0)), Reader::Tga},
        {"unknown type", patched(raw, 2, QByteArray(1, 5)), Reader::Tga},
        {"mapped type without map", patched(raw, 2, QByteArray(1, 1)).replace(16, 1, QByteArray(1, 8)),
         Reader::Tga},
        {"odd depth", patched(raw, 16, QByteArray(1, 20)), Reader::Tga},
        {"id field past the end", patched(raw, 0, QByteArray(1, char(255))).left(100), Reader::Tga},
        {"colour map past the end",
         patched(raw, 1, QByteArray(1, 1)).replace(5, 3, QByteArray("\xff\xff\x18", 3)).left(300),
         Reader::Tga},
        {"empty file", QByteArray(), Reader::Bytes},
        {"no picture format", "just some text", Reader::Bytes, "text.bin"},
        {"JPEG cut short", jpeg.left(jpeg.size() / 2), Reader::Bytes},
        {"JPEG without a frame", QByteArray("\xFF\xD8\xFF\xD9", 4), Reader::Bytes},
        {"JPEG claiming 60000 x 60000", tooLargeJpeg, Reader::Bytes},
        {"bitmap cut short", bmp.left(bmp.size() * 2 / 3), Reader::Bytes},
        {"PNG claiming 70000 x 100", pngClaiming({70000, 100}), Reader::Bytes},
        {"missing file", {}, Reader::File, "missing.jpg"},
        {"folder", {}, Reader::File, "folder.png", 2},
        {"file beyond the picture size", {}, Reader::File, "huge.jpg", 2},
    };
    for (const Row& r : rows) {
        QString error;
        DecodeFailure failure = DecodeFailure::None;
        if (r.reader == Reader::Pcx || r.reader == Reader::Tga) {
            EXPECT_TRUE((r.reader == Reader::Tga ? readTga(r.file, &error, &failure)
                                                 : readPcx(r.file, &error, &failure))
                            .isNull())
                << r.what;
        } else {
            const LoadedImage loaded = r.reader == Reader::File
                                           ? loadImageFile(path(QLatin1String(r.name)), {})
                                           : decodeImageBytes(r.file, QLatin1String(r.name), {});
            EXPECT_TRUE(loaded.image.isNull()) << r.what;
            error = loaded.error;
            failure = loaded.failure;
        }
        const QString closing(r.marks, QLatin1Char(']'));
        EXPECT_TRUE(error.size() > 2 && error.startsWith(QLatin1Char('[')) && error.endsWith(closing) &&
                    error.count(QLatin1Char('[')) == r.marks)
            << r.what << ": " << error.toStdString();
        EXPECT_NE(failure, DecodeFailure::None) << r.what;
    }
    QCoreApplication::removeTranslator(&marked);
}

} // namespace
