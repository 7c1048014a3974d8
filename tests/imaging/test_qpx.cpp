// SPDX-License-Identifier: MIT
// QPX saving and JPEG decoding: files we write are read by libjpeg's djpeg and by Qt, their tables are
// the ones libjpeg's cjpeg writes for the matching quality, and a reduced thumbnail decode is exactly
// djpeg's reduced decode.
#include "jpeg_decoder.h"
#include "made_streams.h"
#include "qpx_encoder.h"
#include "support.h"
#include "tphoto.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

using namespace imaging_test;

namespace {

struct JpegHeaders {
    std::map<int, QByteArray> tables; // quantisation table id -> 64 values as stored (zigzag)
    int sofMarker = 0;
    QByteArray sampling; // one byte per component: horizontal << 4 | vertical
    int width = 0, height = 0;
};

// Walks the marker segments up to the start of scan.
JpegHeaders readHeaders(const QByteArray& f) {
    JpegHeaders h;
    qsizetype at = 2;
    while (at + 4 <= f.size() && uchar(f[at]) == 0xFF) {
        const int marker = uchar(f[at + 1]);
        const int length = uchar(f[at + 2]) << 8 | uchar(f[at + 3]);
        const QByteArray body = f.mid(at + 4, length - 2);
        if (marker == 0xDB) {
            for (qsizetype i = 0; i + 65 <= body.size(); i += 65)
                h.tables[uchar(body[i]) & 15] = body.mid(i + 1, 64);
        } else if (marker >= 0xC0 && marker <= 0xC2) {
            h.sofMarker = marker;
            h.height = uchar(body[1]) << 8 | uchar(body[2]);
            h.width = uchar(body[3]) << 8 | uchar(body[4]);
            for (int c = 0; c < uchar(body[5]); ++c)
                h.sampling.append(body[6 + 3 * c + 1]);
        } else if (marker == 0xDA) {
            break;
        }
        at += 2 + length;
    }
    return h;
}

class QpxTest : public testing::Test {
  protected:
    QString path(const QString& name) const { return dir.filePath(name); }

    // Loads `source` and saves it as `target` with the given factors and sub-sampling.
    int save(const QString& source, const QString& target, int lum, int chrom, int sub = 2) {
        TPhoto photo;
        photo.setFileName(imagePath(source));
        EXPECT_EQ(photo.FXError(), 0);
        photo.setSaveJPGLumFactor(lum);
        photo.setSaveJPGChromFactor(chrom);
        photo.setSaveJPGSubSampling(sub);
        photo.setSaveFileName(path(target));
        photo.SaveImage();
        return photo.FXError();
    }

    QTemporaryDir dir;
};

TEST_F(QpxTest, FilesAreReadByDjpegAndQtAndFinerFactorsGiveLargerFiles) {
    const QByteArray original = imageMagickRgba(imagePath(QStringLiteral("storm.png")));
    qint64 sizes[2] = {};
    const int factors[2] = {8, 90};
    for (int i = 0; i < 2; ++i) {
        const QString name = QStringLiteral("storm_%1.QPX").arg(factors[i]);
        ASSERT_EQ(save(QStringLiteral("storm.png"), name, factors[i], factors[i]), 0);
        const QByteArray bytes = fileBytes(path(name));
        sizes[i] = bytes.size();

        const ToolResult djpeg = runTool(QStringLiteral("djpeg"), {QStringLiteral("-pnm"), path(name)});
        EXPECT_EQ(djpeg.exitCode, 0) << djpeg.err.toStdString();
        EXPECT_TRUE(djpeg.out.startsWith("P6\n320 240\n255\n")) << djpeg.out.left(20).toStdString();
        EXPECT_TRUE(djpeg.err.isEmpty()) << djpeg.err.toStdString();

        QImageReader reader(path(name), "jpeg");
        const QImage qt = reader.read();
        ASSERT_FALSE(qt.isNull()) << reader.errorString().toStdString();
        EXPECT_EQ(qt.size(), QSize(320, 240));
        EXPECT_GT(psnr(rgbaBytes(qt), original), i == 0 ? 38.0 : 25.0);
        EXPECT_EQ(readHeaders(bytes).sofMarker, 0xC0); // baseline
    }
    EXPECT_GT(sizes[0], sizes[1]);
}

TEST_F(QpxTest, QuantisationTablesMatchCjpegAtTheSameScaling) {
    // factor f scales by f x 100 / 60 percent; cjpeg's quality q scales by 5000 / q (q < 50) or
    // 200 - 2q percent. The rows pair factors with qualities of equal scaling, luminance and
    // chrominance set apart. Factor 0 makes tables of ones.
    struct Row {
        int lum, chrom;
        const char* quality;
    } rows[] = {{30, 30, "75"},   {60, 60, "50"},      {120, 30, "25,75"},
                {12, 6, "90,95"}, {255, 200, "12,15"}, {0, 0, nullptr}};
    const QString ppm = path(QStringLiteral("storm.ppm"));
    ASSERT_EQ(runTool(convertProgram(), {imagePath(QStringLiteral("storm.png")), ppm}).exitCode, 0);
    for (const Row& r : rows) {
        const QString ours = QStringLiteral("q%1_%2.qpx").arg(r.lum).arg(r.chrom);
        ASSERT_EQ(save(QStringLiteral("storm.png"), ours, r.lum, r.chrom), 0);
        JpegHeaders mine = readHeaders(fileBytes(path(ours)));
        ASSERT_EQ(mine.tables.size(), 2u);
        if (!r.quality) {
            for (const auto& [id, table] : mine.tables)
                EXPECT_TRUE(table == QByteArray(64, 1)) << "table " << id;
            continue;
        }
        const ToolResult cjpeg =
            runTool(QStringLiteral("cjpeg"),
                    {QStringLiteral("-quality"), QLatin1String(r.quality), QStringLiteral("-baseline"), ppm});
        ASSERT_EQ(cjpeg.exitCode, 0) << cjpeg.err.toStdString();
        JpegHeaders peer = readHeaders(cjpeg.out);
        if (r.lum == 255) {
            // 425 % and 333 %: no integer cjpeg quality; every step is then clamped to at most 255.
            for (const auto& [id, table] : mine.tables)
                for (char v : table)
                    EXPECT_GE(uchar(v), 1);
            EXPECT_EQ(uchar(mine.tables[0][63]), 255);
            continue;
        }
        EXPECT_TRUE(mine.tables[0] == peer.tables[0]) << "luminance, factor " << r.lum;
        EXPECT_TRUE(mine.tables[1] == peer.tables[1]) << "chrominance, factor " << r.chrom;
    }
}

TEST_F(QpxTest, SubSamplingSettingChoosesTheComponentSampling) {
    const struct {
        int setting;
        const char* luma;
    } rows[] = {{0, "\x11"}, {1, "\x21"}, {2, "\x22"}};
    for (const auto& r : rows) {
        const QString name = QStringLiteral("sub%1.qpx").arg(r.setting);
        ASSERT_EQ(save(QStringLiteral("size_73x48.png"), name, 30, 30, r.setting), 0);
        const JpegHeaders h = readHeaders(fileBytes(path(name)));
        ASSERT_EQ(h.sampling.size(), 3);
        EXPECT_EQ(h.sampling[0], r.luma[0]) << r.setting;
        EXPECT_EQ(h.sampling[1], 0x11);
        EXPECT_EQ(h.sampling[2], 0x11);
        EXPECT_EQ(h.width, 73);
        EXPECT_EQ(h.height, 48);
    }
}

TEST_F(QpxTest, FailedSaveLeavesTheOldFileAndNoLeftovers) {
    const QString target = path(QStringLiteral("keep.qpx"));
    ASSERT_TRUE(writeFile(target, "the old file"));

    TPhoto photo;
    QList<int> reports;
    photo.setProgressEnabled(true);
    QObject::connect(&photo, &TPhoto::OnProgress, [&](TPhoto*, qint16, qint16 pct) { reports.append(pct); });
    photo.setFileName(imagePath(QStringLiteral("broken_truncated.jpg")));
    ASSERT_NE(photo.FXError(), 0);
    photo.setSaveFileName(target);
    reports.clear();
    photo.SaveImage();
    EXPECT_NE(photo.FXError(), 0);
    EXPECT_EQ(fileBytes(target), QByteArray("the old file"));
    EXPECT_EQ(reports.value(reports.size() - 1), 100); // a waiting caller is released

    photo.setFileName(imagePath(QStringLiteral("storm.png")));
    photo.setSaveFileName(path(QStringLiteral("no such folder/x.qpx")));
    photo.SaveImage();
    EXPECT_NE(photo.FXError(), 0);
    EXPECT_FALSE(QDir(path(QStringLiteral("no such folder"))).exists());

    photo.setSaveFileName(target);
    photo.SaveImage();
    EXPECT_EQ(photo.FXError(), 0);
    EXPECT_TRUE(fileBytes(target).startsWith("\xFF\xD8\xFF"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.qpx")});
}

TEST_F(QpxTest, ProgressRisesToOneHundredOnlyWhileEnabled) {
    TPhoto photo;
    QList<QPair<int, int>> reports;
    QObject::connect(&photo, &TPhoto::OnProgress, [&](TPhoto* sender, qint16 id, qint16 pct) {
        EXPECT_EQ(sender, &photo);
        reports.append({id, pct});
    });
    photo.setFileName(imagePath(QStringLiteral("storm_640x480.jpg")));
    EXPECT_TRUE(reports.isEmpty());

    photo.setProgressEnabled(true);
    for (const char* file : {"storm_640x480.jpg", "storm.png", "size_73x48_rle.tga"}) {
        reports.clear();
        photo.setFileName(imagePath(QLatin1String(file)));
        ASSERT_FALSE(reports.isEmpty()) << file;
        EXPECT_EQ(reports.last(), qMakePair(int(TPhoto::LoadProgress), 100)) << file;
        for (qsizetype i = 1; i < reports.size(); ++i)
            EXPECT_LE(reports[i - 1].second, reports[i].second) << file;
    }
    reports.clear();
    photo.setSaveFileName(path(QStringLiteral("p.qpx")));
    photo.SaveImage();
    ASSERT_GE(reports.size(), 2); // some steps on the way, then 100
    EXPECT_EQ(reports.last(), qMakePair(int(TPhoto::SaveProgress), 100));
}

TEST(ReducedDecode, SmallestScaleThatStillCoversTheThumbnail) {
    const struct {
        QSize picture;
        int numerator;
    } rows[] = {{{4000, 3000}, 1}, {{640, 480}, 1}, {{320, 240}, 2},  {{480, 640}, 1}, {{100, 95}, 5},
                {{73, 48}, 8},     {{72, 48}, 8},   {{1000, 100}, 1}, {{150, 120}, 4}};
    for (const auto& r : rows)
        EXPECT_EQ(imaging::reducedScaleNumerator(r.picture, QSize(72, 49)), r.numerator)
            << r.picture.width() << "x" << r.picture.height();
}

TEST_F(QpxTest, ThumbnailLoadIsDjpegsReducedDecodeAndReportsAndSavesTheFullSize) {
    const struct {
        const char* file;
        const char* scale;
        QSize reduced;
    } rows[] = {{"storm_640x480.jpg", "2/8", {160, 120}},
                {"ladybird.jpg", "4/8", {160, 120}},
                {"flower_portrait_480x640.jpg", "2/8", {120, 160}},
                {"ladybird_progressive.jpg", "4/8", {160, 120}},
                {"storm_gray.jpg", "4/8", {160, 120}}};
    for (const auto& r : rows) {
        TPhoto photo;
        photo.setQPXThumbnail(1);
        photo.setFileName(imagePath(QLatin1String(r.file)));
        ASSERT_EQ(photo.FXError(), 0) << r.file;
        TPhoto full;
        full.setFileName(imagePath(QLatin1String(r.file)));
        EXPECT_EQ(photo.IWidth(), full.IWidth());
        EXPECT_EQ(photo.IHeight(), full.IHeight());
        ASSERT_EQ(photo.image().size(), r.reduced) << r.file;

        const QString ppm = path(QStringLiteral("reduced.ppm"));
        const ToolResult djpeg =
            runTool(QStringLiteral("djpeg"),
                    {QStringLiteral("-scale"), QLatin1String(r.scale), QStringLiteral("-dct"),
                     QStringLiteral("fast"), QStringLiteral("-nosmooth"), QStringLiteral("-rgb"),
                     QStringLiteral("-outfile"), ppm, imagePath(QLatin1String(r.file))});
        ASSERT_EQ(djpeg.exitCode, 0) << djpeg.err.toStdString();
        EXPECT_TRUE(rgbaBytes(photo.image()) == imageMagickRgba(ppm)) << r.file;

        // Saving writes the full picture, not the reduced one.
        photo.setSaveFileName(path(QStringLiteral("full.qpx")));
        photo.SaveImage();
        ASSERT_EQ(photo.FXError(), 0) << r.file;
        const JpegHeaders h = readHeaders(fileBytes(path(QStringLiteral("full.qpx"))));
        EXPECT_EQ(QSize(h.width, h.height), full.image().size()) << r.file;
    }
}

// The progressive version of a JPEG file, with the scans jpegtran chooses.
QByteArray progressive(const QString& source) {
    const ToolResult r = runTool(QStringLiteral("jpegtran"), {QStringLiteral("-progressive"), source});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    return r.out;
}

// An 8 x 8 CMYK picture as a progressive stream of five scans (the DC coefficients, then each
// component's others): four full components, whose coefficients a progressive decode holds for the
// whole picture.
QByteArray progressiveCmyk() {
    return progressiveStream(8, 4, JCS_CMYK,
                             {{4, {0, 1, 2, 3}, 0, 0, 0, 0},
                              {1, {0}, 1, 63, 0, 0},
                              {1, {1}, 1, 63, 0, 0},
                              {1, {2}, 1, 63, 0, 0},
                              {1, {3}, 1, 63, 0, 0}});
}

// A picture that could be read only by guessing or by decoding for minutes is one that cannot be read.
TEST(JpegDecoder, DamagedStreamsFailWithoutEndingTheProgram) {
    const QString source = imagePath(QStringLiteral("ladybird.jpg"));
    const QByteArray good = fileBytes(source);
    QByteArray noFrame = good;
    noFrame[2] = char(0xFF);
    noFrame[3] = char(0xD9); // end of image right after the start
    QByteArray badHuffman = good;
    for (qsizetype i = good.size() / 2; i < good.size() / 2 + 64; ++i)
        badHuffman[i] = char(0xFF);
    // A progressive picture whose last (refinement) scan comes again and again: each is one more
    // pass over the whole picture.
    QByteArray repeated = progressive(source);
    const qsizetype lastScan = repeated.lastIndexOf("\xFF\xDA");
    const QByteArray scan = repeated.mid(lastScan, repeated.size() - 2 - lastScan);
    for (int i = 0; i < 200; ++i)
        repeated.insert(repeated.size() - 2, scan);
    // A damaged file of 700 bytes whose header claims a giant picture: its data soon meets the end.
    const QByteArray claims = good.left(698) + "\xFF\xD9";

    const struct {
        const char* what;
        QByteArray bytes;
        const char* reason = nullptr; // the reason given, where it matters
    } rows[] = {
        {"3 bytes", good.left(3)},
        {"300 bytes", good.left(300)},
        {"half the file", good.left(good.size() / 2)},
        {"no frame", noFrame},
        {"empty frame header", QByteArray("\xFF\xD8\xFF\xC0\x00\x02", 6)},
        {"damaged entropy-coded data", badHuffman},
        {"a refinement scan repeated", repeated},
        {"128 scans, each a valid step", scanByScan(63), "JPEG picture has too many scans"},
        {"16384 x 16384 claimed by 700 bytes", withFrameSize(claims, 16384, 16384), "JPEG picture too large"},
        {"60000 x 60000 claimed", withFrameSize(claims, 60000, 60000), "JPEG picture too large"},
        {"99 scans over 16384 x 16384", withFrameSize(scanByScan(48), 16384, 16384),
         "JPEG picture too large"},
        // Within the largest picture, but not for as many passes or as much working memory.
        {"100 valid steps over 12000 x 12000", withFrameSize(scanByScan(49), 12000, 12000),
         "JPEG picture has too many scans"},
        {"a progressive CMYK picture of 12600 x 12600", withFrameSize(progressiveCmyk(), 12600, 12600),
         "JPEG picture too large"},
    };
    for (const auto& row : rows) {
        for (QSize box : {QSize(), QSize(72, 49)}) {
            const imaging::JpegDecoded d = imaging::decodeJpeg(row.bytes, box);
            EXPECT_TRUE(d.image.isNull()) << row.what;
            EXPECT_FALSE(d.error.isEmpty()) << row.what;
            if (row.reason) {
                EXPECT_EQ(d.error.toStdString(), row.reason) << row.what;
            }
        }
    }
    // The progression as jpegtran writes it, and as many valid steps as the limit allows, are read.
    EXPECT_FALSE(imaging::decodeJpeg(progressive(source)).image.isNull());
    EXPECT_FALSE(imaging::decodeJpeg(scanByScan(49)).image.isNull());
}

} // namespace
