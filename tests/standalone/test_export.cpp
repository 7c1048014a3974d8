// SPDX-License-Identifier: MIT
// The package an export writes, looked at from outside: the head's bytes first, then level-0
// members listed and tested by Debian's lhasa, and inside them the slide list and the image data
// laid out as the players of packages read them. Failures are reported and leave nothing behind.

#include "export_names.h"
#include "export_test_support.h"
#include "guarded_child.h"
#include "package_inspection.h"
#include "qpx_conversion.h"
#include "qt_application_environment.h"
#include "sanitizers.h"
#include "slide_pass.h"
#include "test_pictures.h"
#include "test_wav.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtEndian>

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment<QApplication>);

using namespace package_inspection;

const QByteArray head = fileBytes(QStringLiteral(VERASCO_BINARY_DIR "/app/verasco1.dat"));

// The package's members, extracted by lhasa into a folder.
struct Unpacked {
    QTemporaryDir folder;
    QByteArray get(const QString& name) const { return fileBytes(folder.filePath(name.toLower())); }
};

// What lhasa is given of a package: all of it; in a sanitizer build only the archive behind the head,
// since that head is megabytes of instrumented code in which lhasa's search for an archive behind a
// program stops at the wrong place.
QString forPeer(const QString& package) {
#ifdef VERASCO_TEST_SANITIZED
    const QString archive = package + QStringLiteral(".lzh");
    QFile out(archive);
    if (out.open(QIODevice::WriteOnly))
        out.write(fileBytes(package).mid(head.size()));
    return archive;
#else
    return package;
#endif
}

std::unique_ptr<Unpacked> unpack(const QString& package) {
    auto out = std::make_unique<Unpacked>();
    const Lhasa x = lhasa({QStringLiteral("-xqw=") + out->folder.path(), forPeer(package)});
    EXPECT_EQ(x.exitCode, 0) << x.output.toStdString();
    return out;
}

bool isJpeg(const QByteArray& data) {
    return data.startsWith("\xFF\xD8\xFF") && data.endsWith("\xFF\xD9");
}

// A sound that is read-only (copied from a CD) is packed like any other.
TEST_F(ExportTest, PacksHeadPlayerRunTimeSlideListImageDataAndSounds) {
    const QString song = file(QStringLiteral("Song.wav"), "RIFF-sound");
    QFile::setPermissions(song, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const QString jpg = photo(QStringLiteral("sunrise.jpg"));
    addSlide(picture(QStringLiteral("a.bmp")), song, [](TSlideRecord& r) { r.Text.assign("First caption"); });
    addSlide(jpg);
    addSlide(QStringLiteral("BLANK"), QStringLiteral("/gone/missing.wav"));
    addSlide(picture(QStringLiteral("UPPER.BMP"), {40, 30}));
    addSlide(jpg);
    addSlide(QString());
    addSlide(picture(QStringLiteral("my.pictures/c.bmp")));
    addSlide(picture(QStringLiteral("d.png")));
    options.loop = false;

    const QString package = target(QStringLiteral("show.exe"));
    const auto error = exporter().write(package, qualityPreset(11));
    ASSERT_FALSE(error) << error->text.toStdString() << " " << error->line2.toStdString();
    EXPECT_TRUE(temporaryEntries().isEmpty()) << temporaryEntries().join(' ').toStdString();

    const QByteArray bytes = fileBytes(package);
    EXPECT_TRUE(bytes.startsWith(head)) << "the head's bytes come first";
    EXPECT_TRUE(QFileInfo(package).permissions() & QFile::ExeOwner);
    const Walk walk = walkMembers(bytes, head.size());
    EXPECT_TRUE(walk.problem.isEmpty()) << walk.problem.toStdString() << " (no end marker)";
    QStringList names;
    for (const Member& m : walk.members) {
        names << m.name;
        EXPECT_EQ(m.level, 0) << m.name.toStdString();
        EXPECT_TRUE(m.method == QLatin1String("-lh5-") || m.method == QLatin1String("-lh0-"));
    }
    QStringList expected{"IMAGES.DAT", "IMAGES.SLD", "QPXRUN30.DLL", "SHOW.EXE", "SONG.WAV"};
    QStringList sorted = names;
    sorted.sort();
    EXPECT_EQ(sorted, expected);
    EXPECT_EQ(names.value(0), QStringLiteral("SHOW.EXE")) << "the player comes first";
    EXPECT_EQ(lhasaNames(forPeer(package)).join(' '), names.join(' ').toLower())
        << "lhasa reads the same members";
    EXPECT_EQ(lhasa({QStringLiteral("t"), forPeer(package)}).exitCode, 0);

    const auto unpacked = unpack(package);
    EXPECT_EQ(unpacked->get("SHOW.EXE"), fileBytes(programs + "/verasco2.dat"));
    EXPECT_EQ(unpacked->get("QPXRUN30.DLL"), fileBytes(programs + "/verasco3.dat"));
    EXPECT_EQ(unpacked->get("SONG.WAV"), QByteArray("RIFF-sound"));
    const SlideListFields list = readSlideList(unpacked->get("IMAGES.SLD"));
    const QByteArray data = unpacked->get("IMAGES.DAT");
    EXPECT_EQ(list.signature, QByteArray("MORVANT rev1.01"));
    EXPECT_EQ(list.field1, QByteArray("loop=0 speed=10 controls=0").leftJustified(64, ' '));
    EXPECT_EQ(list.field2, QByteArray(64, ' '));
    EXPECT_EQ(list.count, 8);
    EXPECT_EQ(list.recordSize, 824);
    ASSERT_EQ(list.records.size(), 8u);

    EXPECT_TRUE(isJpeg(slideData(list, data, 0))) << "a BMP is converted to QPX";
    EXPECT_EQ(list.records[0].audio, QByteArray("Song.wav")) << "the bare name, as the show spelled it";
    EXPECT_EQ(list.records[0].text, QByteArray("First caption"));
    EXPECT_EQ(slideData(list, data, 1), fileBytes(jpg)) << "a JPEG is packed byte for byte";
    EXPECT_EQ(slideData(list, data, 2), QByteArray()) << "a blank slide adds nothing";
    EXPECT_EQ(list.records[2].image, list.records[3].image);
    EXPECT_EQ(list.records[2].audio, QByteArray("/gone/missing.wav")) << "a missing sound keeps its path";
    EXPECT_TRUE(isJpeg(slideData(list, data, 3))) << "the extension in any case";
    EXPECT_EQ(slideData(list, data, 4), fileBytes(jpg)) << "the same picture again is stored again";
    EXPECT_NE(list.records[4].image, list.records[1].image);
    EXPECT_EQ(slideData(list, data, 5), QByteArray()) << "a slide without picture adds nothing";
    EXPECT_TRUE(isJpeg(slideData(list, data, 6))) << "a dot in a folder's name is no extension";
    EXPECT_TRUE(isJpeg(slideData(list, data, 7)));
    EXPECT_EQ(list.records[0].image, QByteArray("0"));
    for (const SlideRecordFields& r : list.records) {
        EXPECT_EQ(r.delay, show.defaultDelay());
        EXPECT_EQ(r.font, QByteArray("MS Sans Serif"));
    }
}

bool runs(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// Pictures turned by their orientation tag are converted upright, today's formats among them; a JPEG
// is packed as it is, tag and all, for the package's player to turn.
TEST_F(ExportTest, TurnedPicturesAreConvertedUprightAndJpegsKeepTheirTag) {
    const auto tag = test_pictures::tagOrientation;
    const QString jpg = picture(QStringLiteral("turned.jpg"), {60, 40});
    if (!tag(jpg, 6))
        GTEST_SKIP() << "exiftool (libimage-exiftool-perl) is not installed";
    const QString tif = picture(QStringLiteral("turned.tif"), {60, 40});
    const QString webp = pictures + QStringLiteral("/turned.webp");
    const QString heic = pictures + QStringLiteral("/turned.heic");
    ASSERT_TRUE(tag(tif, 6));
    ASSERT_TRUE(runs(QStringLiteral("convert"), {tif, webp}) && tag(webp, 8));
    const bool haveHeic = runs(QStringLiteral("heif-enc"), {jpg, QStringLiteral("-o"), heic});
    for (const QString& path : {jpg, tif, webp})
        addSlide(path);
    if (haveHeic)
        addSlide(heic);
    const QString package = target(QStringLiteral("turned.exe"));
    ASSERT_FALSE(exporter().write(package, qualityPreset(11)));
    const auto unpacked = unpack(package);
    const SlideListFields list = readSlideList(unpacked->get("IMAGES.SLD"));
    const QByteArray data = unpacked->get("IMAGES.DAT");
    EXPECT_EQ(slideData(list, data, 0), fileBytes(jpg)) << "a JPEG is packed byte for byte";
    for (int slide = 1; slide < show.SlideCount; ++slide) {
        const QByteArray converted = slideData(list, data, slide);
        EXPECT_TRUE(isJpeg(converted)) << slide;
        EXPECT_EQ(QImage::fromData(converted).size(), QSize(40, 60)) << slide;
    }
}

TEST_F(ExportTest, AnAllBlankShowHasEmptyImageDataAndOffsetsOfZero) {
    addSlide(QStringLiteral("BLANK"));
    addSlide(QStringLiteral("blank"));
    addSlide(QString());
    const QString package = target(QStringLiteral("blank.exe"));
    ASSERT_FALSE(exporter().write(package, qualityPreset(11)));
    const auto unpacked = unpack(package);
    EXPECT_EQ(unpacked->get("IMAGES.DAT"), QByteArray());
    const SlideListFields list = readSlideList(unpacked->get("IMAGES.SLD"));
    ASSERT_EQ(list.records.size(), 3u);
    for (const SlideRecordFields& r : list.records)
        EXPECT_EQ(r.image, QByteArray("0"));
}

// The bytes a show saved on Windows holds for a path: its code page, here Latin-1 and the euro sign.
QByteArray windows1252(const QString& text) {
    QByteArray bytes;
    for (QChar c : text)
        bytes += c == QChar(0x20AC) ? '\x80' : char(c.unicode());
    return bytes;
}

// Paths are read as the show keeps them, so a show saved on Windows packs the files the editor shows.
TEST_F(ExportTest, PathsInWindowsBytesPackTheFilesTheyName) {
    const QString jpg = photo(QStringLiteral("Caf\u00E9 \u20AC5.jpg"));
    const QString bmp = picture(QStringLiteral("\u00D1and\u00FA.bmp"));
    const QString song = file(QStringLiteral("Chanson \u00E0 boire.wav"), "RIFF-song");
    for (const QString& image : {jpg, bmp}) {
        addSlide(QString(), QString(), [&](TSlideRecord& r) {
            r.ImageFile.assign(windows1252(image).toStdString());
            r.AudioFile.assign(windows1252(song).toStdString());
        });
    }
    const QString package = target(QStringLiteral("show.exe"));
    const auto error = exporter().write(package, qualityPreset(11));
    ASSERT_FALSE(error) << error->text.toStdString() << " " << error->line2.toStdString();
    const auto unpacked = unpack(package);
    const SlideListFields list = readSlideList(unpacked->get("IMAGES.SLD"));
    const QByteArray data = unpacked->get("IMAGES.DAT");
    ASSERT_EQ(list.records.size(), 2u);
    EXPECT_EQ(slideData(list, data, 0), fileBytes(jpg));
    EXPECT_TRUE(isJpeg(slideData(list, data, 1))) << "the bitmap is found and converted";
    for (const SlideRecordFields& r : list.records)
        EXPECT_EQ(QString::fromUtf8(r.audio), QFileInfo(song).fileName()) << "the sound is packed";
}

struct QualityCase {
    int slider;
    int lumTable0, chromTable0; // first entries of the quantisation tables
    QByteArray sampling;        // of the luminance component: horizontal << 4 | vertical
};

// The first entries of the two quantisation tables and the luminance sampling of a JPEG stream.
std::tuple<int, int, QByteArray> jpegQuality(const QByteArray& f) {
    int lum = -1, chrom = -1;
    QByteArray sampling;
    for (qsizetype at = 2; at + 4 <= f.size() && uchar(f[at]) == 0xFF;) {
        const int marker = uchar(f[at + 1]);
        const int length = uchar(f[at + 2]) << 8 | uchar(f[at + 3]);
        const QByteArray body = f.mid(at + 4, length - 2);
        if (marker == 0xDB)
            for (qsizetype i = 0; i + 65 <= body.size(); i += 65)
                ((body[i] & 15) == 0 ? lum : chrom) = uchar(body[i + 1]);
        if (marker == 0xC0)
            sampling = body.mid(7, 1);
        if (marker == 0xDA)
            break;
        at += 2 + length;
    }
    return {lum, chrom, sampling};
}

// Every other picture to convert is converted on a second thread while the one before is converted
// on the first: the data is the bytes the control writes, in slide order, whichever thread made them
// and whether the picture is a plain bitmap or decoded whole; none goes through the control, which
// would encode it on the window thread.
TEST_F(ExportTest, PicturesConvertedOnTwoThreadsKeepTheirBytesAndOrder) {
    const QString bmp = picture(QStringLiteral("a.bmp"), {300, 200});
    const QString other = picture(QStringLiteral("c.bmp"), {64, 40});
    const QString png = picture(QStringLiteral("b.png"), {120, 90});
    for (const QString& image : {bmp, bmp, png, QStringLiteral("BLANK"), png, bmp, other, other, png})
        addSlide(image);
    const QString package = target(QStringLiteral("show.exe"));
    ASSERT_FALSE(exporter().write(package, qualityPreset(15)));
    const auto unpacked = unpack(package);
    const SlideListFields list = readSlideList(unpacked->get("IMAGES.SLD"));
    const QByteArray data = unpacked->get("IMAGES.DAT");
    ASSERT_EQ(list.records.size(), 9u);
    for (auto [a, b] : {std::pair{0, 1}, {2, 4}, {1, 5}, {6, 7}, {4, 8}}) {
        EXPECT_TRUE(isJpeg(slideData(list, data, a))) << a;
        EXPECT_EQ(slideData(list, data, a), slideData(list, data, b)) << a << " and " << b;
    }
    EXPECT_NE(slideData(list, data, 0), slideData(list, data, 6));
    EXPECT_NE(slideData(list, data, 0), slideData(list, data, 2));
    EXPECT_TRUE(photoControl.SaveFileName().isEmpty());
}

TEST_F(ExportTest, PicturesConvertOffTheControlToTheControlsBytes) {
    const QString plain = picture(QStringLiteral("plain.bmp"), {75, 50});
    const QByteArray plainBytes = fileBytes(plain);
    const QString cut = file(QStringLiteral("cut.bmp"), plainBytes.chopped(7));
    QImage one(1, 1, QImage::Format_RGB32);
    one.fill(qRgb(200, 100, 50));
    const QString tiny = pictures + QStringLiteral("/tiny.bmp");
    ASSERT_TRUE(one.save(tiny, "BMP"));
    const QString trailed = file(QStringLiteral("trailed.bmp"), fileBytes(tiny) + QByteArray(100, '\x11'));
    QImage paletted(30, 20, QImage::Format_Indexed8);
    paletted.setColorTable({qRgb(10, 200, 30), qRgb(250, 0, 90)});
    for (int y = 0; y < 20; ++y)
        std::fill_n(paletted.scanLine(y), 30, uchar((y / 3) & 1));
    const QString palette = pictures + QStringLiteral("/palette.bmp");
    ASSERT_TRUE(paletted.save(palette, "BMP"));
    TPhoto control;
    SharedFlags flags;
    PhotoQpxConverter convert(control, flags, qualityPreset(11));
    BmpRowsConverter rows(qualityPreset(11));
    for (const QString& image : {plain, tiny, trailed}) {
        QString reason;
        ASSERT_TRUE(convert(image, target(QStringLiteral("control.qpx")), reason)) << reason.toStdString();
        const std::optional<QByteArray> bytes = rows(image);
        ASSERT_TRUE(bytes) << image.toStdString();
        EXPECT_TRUE(*bytes == fileBytes(target(QStringLiteral("control.qpx")))) << image.toStdString();
    }
    EXPECT_FALSE(rows(palette)) << "a bitmap with a palette is decoded";
    EXPECT_FALSE(rows(cut));
    // Other pictures are decoded whole and encoded off the window thread, to the control's bytes: of
    // the shared test pictures those there are.
    QStringList others = {palette, plain, picture(QStringLiteral("made.png"), {90, 70})};
    for (const char* name :
         {"flower.jpg", "ladybird_progressive.jpg", "flower_portrait_480x640.jpg", "flower_alpha_160x120.png",
          "ladybird_lzw.tif", "flower_rle.tga", "ladybird_pal8.pcx"})
        if (const QString shared = QStringLiteral(VERASCO_TESTDATA "/images/") + QLatin1String(name);
            QFileInfo::exists(shared))
            others.append(shared);
    PictureQpxConverter whole(qualityPreset(11));
    for (const QString& image : others) {
        QString reason;
        ASSERT_TRUE(convert(image, target(QStringLiteral("control.qpx")), reason)) << reason.toStdString();
        const std::optional<QByteArray> bytes = whole(image);
        ASSERT_TRUE(bytes) << image.toStdString();
        EXPECT_TRUE(*bytes == fileBytes(target(QStringLiteral("control.qpx")))) << image.toStdString();
    }
    EXPECT_FALSE(whole(cut)) << "the control says what is wrong with it";
    QString reason;
    EXPECT_FALSE(convert(cut, target(QStringLiteral("cut.qpx")), reason));
    EXPECT_TRUE(reason.contains(QLatin1String("truncated"))) << reason.toStdString();
    EXPECT_FALSE(QFile::exists(target(QStringLiteral("cut.qpx"))));
}

// On the window thread a plain bitmap's bytes go straight into the image data: only the pictures
// the rows cannot convert pass through the conversion file and the control.
TEST_F(ExportTest, OnlyPicturesTheRowsCannotConvertGoThroughTheConversionFile) {
    const QString bmp = picture(QStringLiteral("a.bmp"), {50, 40});
    const QString png = picture(QStringLiteral("b.png"), {30, 20});
    for (const QString& image : {bmp, png, bmp})
        addSlide(image);
    TPhoto control;
    SharedFlags flags;
    QStringList throughFile;
    QTemporaryDir folder;
    SlidePassJob job;
    job.show = &show;
    job.packageFolder = folder.path();
    job.conversionFile = target(QStringLiteral("conversion.qpx"));
    job.convert = [&, photo = PhotoQpxConverter(control, flags, qualityPreset(11))](
                      const QString& image, const QString& to, QString& reason) mutable {
        throughFile << QFileInfo(image).fileName();
        return photo(image, to, reason);
    };
    job.convertBytes = BmpRowsConverter(qualityPreset(11));
    std::vector<PackageFile> files;
    ASSERT_FALSE(runSlidePass(job, files));
    EXPECT_EQ(throughFile, QStringList{QStringLiteral("b.png")});
    EXPECT_FALSE(QFile::exists(job.conversionFile));
    const SlideListFields list = readSlideList(fileBytes(folder.filePath(QStringLiteral("images.sld"))));
    const QByteArray data = fileBytes(folder.filePath(QStringLiteral("images.dat")));
    ASSERT_EQ(list.records.size(), 3u);
    EXPECT_EQ(slideData(list, data, 0), *BmpRowsConverter(qualityPreset(11))(bmp));
    EXPECT_EQ(slideData(list, data, 2), slideData(list, data, 0));
    EXPECT_TRUE(isJpeg(slideData(list, data, 1)));
}

TEST_F(ExportTest, ConvertsWithTheQualityOfTheSlider) {
    // Factor f scales the standard tables (first entries 16 and 17) by f x 100 / 60 percent.
    const QualityCase cases[] = {
        {20, 2, 3, "\x11"}, {11, 8, 10, "\x22"}, {17, 4, 5, "\x21"}, {1, 24, 26, "\x22"}};
    addSlide(picture(QStringLiteral("q.bmp"), {32, 32}));
    for (const QualityCase& c : cases) {
        const QString package = target(QStringLiteral("q%1.exe").arg(c.slider));
        ASSERT_FALSE(exporter().write(package, qualityPreset(c.slider)));
        const QByteArray data = unpack(package)->get("IMAGES.DAT");
        const auto [lum, chrom, sampling] = jpegQuality(data);
        EXPECT_EQ(lum, c.lumTable0) << "slider " << c.slider;
        EXPECT_EQ(chrom, c.chromTable0) << "slider " << c.slider;
        EXPECT_EQ(sampling, c.sampling) << "slider " << c.slider;
    }
}

struct FailureCase {
    const char* name;
    std::function<void(ExportSetup&)> arrange;
    const char* text;
    const char* inLine2;
};

TEST_F(ExportTest, FailuresAreReportedAndLeaveNoPackageNorTemporaryFiles) {
    const FailureCase cases[] = {
        {"a picture that is gone", [](ExportSetup& t) { t.addSlide(t.pictures + "/gone.jpg"); },
         "A picture could not be read.", "gone.jpg"},
        {"a picture that cannot be converted",
         [](ExportSetup& t) { t.addSlide(t.file("broken.bmp", "BM this is no bitmap")); },
         "A picture could not be converted.", "broken.bmp"},
        {"the second picture to convert, converted while the first is",
         [](ExportSetup& t) {
             t.addSlide(t.picture("good.bmp"));
             t.addSlide(t.file("broken.bmp", QByteArray("BM").leftJustified(80, '\0')));
         },
         "A picture could not be converted.", "broken.bmp"},
        {"a plain bitmap cut short, converted while the one before is",
         [](ExportSetup& t) {
             t.addSlide(t.picture("good.png"));
             const QString whole = t.picture("whole.bmp", {40, 30});
             QFile(whole).resize(QFileInfo(whole).size() - 10);
             t.addSlide(whole);
         },
         "A picture could not be converted.", "whole.bmp"},
        {"a player that is missing", [](ExportSetup& t) { t.programs = t.root.filePath("nothing"); },
         "The stand-alone show could not be written.", "verasco2.dat"},
        // Files that report size 0 and go on for hundreds of GB: nothing fills the disk with them.
        {"a picture that is an endless system file",
         [](ExportSetup& t) {
             QFile::link(QStringLiteral("/proc/self/pagemap"), t.pictures + "/pagemap.jpg");
             t.addSlide(t.pictures + "/pagemap.jpg");
         },
         "A picture could not be read.", "pagemap.jpg: the file holds more than its size says"},
        {"a sound that is an endless system file",
         [](ExportSetup& t) {
             QFile::link(QStringLiteral("/proc/self/pagemap"), t.pictures + "/pagemap.wav");
             t.addSlide(QStringLiteral("BLANK"), t.pictures + "/pagemap.wav");
         },
         "An audio file could not be packed.", "pagemap.wav: the file holds more than its size says"},
    };
    for (const FailureCase& c : cases) {
        ExportSetup t;
        t.addSlide(t.photo("first.jpg"));
        c.arrange(t);
        const QString package = t.target("show.exe");
        QFile::copy(QStringLiteral(VERASCO_SOURCE_DIR "/packaging/samples/sunrise.jpg"), package);
        const auto error = t.exporter().write(package, qualityPreset(11));
        ASSERT_TRUE(error) << c.name;
        EXPECT_EQ(error->text, QLatin1String(c.text)) << c.name;
        EXPECT_TRUE(error->line2.contains(QLatin1String(c.inLine2)))
            << c.name << ": " << error->line2.toStdString();
        EXPECT_EQ(fileBytes(package), fileBytes(t.pictures + "/first.jpg"))
            << c.name << ": the earlier file stays";
        EXPECT_TRUE(t.temporaryEntries().isEmpty())
            << c.name << ": " << t.temporaryEntries().join(' ').toStdString();
        EXPECT_EQ(QDir(t.root.path()).entryList(QDir::Files), QStringList{"show.exe"}) << c.name;
    }
}

// A picture that cannot be read, or opens but does not decode (packed as it is or converted), is
// named in a question: Yes packs a blank slide in its place (also when it was to be converted while
// the picture before it was), No stops the export without a message at the first; the show keeps its
// slides either way.
TEST_F(ExportTest, APictureThatCannotBeReadBecomesABlankSlideWhenTheUserSaysSo) {
    const QString first = picture(QStringLiteral("a.bmp"), {40, 30}), gone = pictures + "/gone.png";
    const QString last = photo(QStringLiteral("c.jpg"));
    const QString brokenJpeg = file(QStringLiteral("broken.jpg"), "\xff\xd8 this is no picture");
    const QString brokenPng = file(QStringLiteral("broken.png"), "this is no picture either");
    for (const QString& image : {first, gone, last, brokenJpeg, brokenPng})
        addSlide(image);
    for (const bool yes : {true, false}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        blankAnswer = yes;
        questions.clear();
        const QString package = target(yes ? QStringLiteral("yes.exe") : QStringLiteral("no.exe"));
        const auto error = exporter().write(package, qualityPreset(11));
        ASSERT_EQ(questions.size(), yes ? 3 : 1);
        EXPECT_TRUE(questions[0].startsWith(
            QStringLiteral("A picture could not be read. Put a blank slide in its place?|%1: ").arg(gone)))
            << questions[0].toStdString();
        for (int i = 1; i < questions.size(); ++i)
            EXPECT_TRUE(questions[i].contains(QStringLiteral("|%1: ").arg(i == 1 ? brokenJpeg : brokenPng)))
                << questions[i].toStdString();
        EXPECT_EQ(ExportNames::imagePath(show.slide(1)), gone);
        EXPECT_TRUE(temporaryEntries().isEmpty());
        if (!yes) {
            ASSERT_TRUE(error);
            EXPECT_TRUE(error->cancelled);
            EXPECT_FALSE(QFileInfo::exists(package));
            continue;
        }
        ASSERT_FALSE(error) << error->line2.toStdString();
        const auto unpacked = unpack(package);
        const SlideListFields list = readSlideList(unpacked->get("IMAGES.SLD"));
        const QByteArray data = unpacked->get("IMAGES.DAT");
        ASSERT_EQ(list.records.size(), 5u);
        EXPECT_TRUE(isJpeg(slideData(list, data, 0)));
        EXPECT_EQ(slideData(list, data, 1), QByteArray());
        EXPECT_EQ(slideData(list, data, 2), fileBytes(last));
        EXPECT_EQ(slideData(list, data, 3), QByteArray());
        EXPECT_EQ(slideData(list, data, 4), QByteArray());
    }
}

// Sounds of one bare name from two folders, or named like a file of the package, are packed under
// names of their own, which their slides name; a sound used twice is packed once.
TEST_F(ExportTest, SoundsOfOneNameArePackedUnderNamesOfTheirOwn) {
    QDir(pictures).mkpath(QStringLiteral("a"));
    QDir(pictures).mkpath(QStringLiteral("b"));
    const QString first = file(QStringLiteral("a/beep.wav"), "first beep");
    const QString second = file(QStringLiteral("b/BEEP.wav"), "second beep");
    // Stored as "IMAGES.SLD": the dotless i upper-cases to I.
    const QString listNamed = file(QStringLiteral("ımages.sld"), "a sound");
    for (const QString& sound : {first, second, first, listNamed})
        addSlide(QStringLiteral("BLANK"), sound);
    const QString package = target(QStringLiteral("show.exe"));
    const auto error = exporter().write(package, qualityPreset(11));
    ASSERT_FALSE(error) << error->text.toStdString() << " " << error->line2.toStdString();
    const auto unpacked = unpack(package);
    const SlideListFields list = readSlideList(unpacked->get("IMAGES.SLD"));
    ASSERT_EQ(list.records.size(), 4u);
    const QByteArray members[] = {"beep.wav", "BEEP-2.wav", "beep.wav", "ımages-2.sld"};
    const QByteArray contents[] = {"first beep", "second beep", "first beep", "a sound"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(list.records[i].audio, members[i]) << i;
        EXPECT_EQ(unpacked->get(QString::fromUtf8(members[i]).toUpper()), contents[i]) << i;
    }
    EXPECT_EQ(lhasaNames(forPeer(package)).size(), 7);
}

// A show with music, motion and band captions carries them after the slides' sounds: the show's
// block with each music entry naming its member, then the music as Ogg Vorbis (a file that cannot be
// decoded left out); every other member is byte for byte that of the same show without them, which
// adds nothing.
TEST_F(ExportTest, ShowDataBeyondTheRecordsFollowsTheSoundsAndLeavesTheOtherMembersAsTheyWere) {
    const QString tune = pictures + QStringLiteral("/tune.wav");
    ASSERT_TRUE(writeTestWav(tune, 500));
    addSlide(picture(QStringLiteral("a.bmp")), file(QStringLiteral("music-1.ogg"), "a slide's sound"));
    addSlide(photo(QStringLiteral("sunrise.jpg")), {}, [](TSlideRecord& r) { r.Text.assign("Sunrise"); });
    addSlide(QStringLiteral("BLANK"));
    std::vector<TSlideRecord> records;
    for (int i = 0; i < show.SlideCount; ++i)
        records.push_back(show.slide(i));
    const QJsonObject motion = QJsonDocument::fromJson(R"({"motion": {"from": [0, 0, 1, 1],
        "to": [0.25, 0.25, 0.5, 0.5]}})")
                                   .object();
    const QJsonObject data{{"music", QJsonArray{QJsonObject{{"path", file("broken.mp3", "no sound")}},
                                                QJsonObject{{"path", tune}, {"kept", true}}}},
                           {"musicFadeMs", 1500},
                           {"captions", "band"},
                           {"future", 7}};
    const QString plain = target(QStringLiteral("plain/show.exe")), rich = target(QStringLiteral("show.exe"));
    ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("plain")));
    ASSERT_FALSE(exporter().write(plain, qualityPreset(11)));
    show.load(records, data, {{}, motion});
    ASSERT_FALSE(exporter().write(rich, qualityPreset(11)));

    QStringList plainNames, richNames;
    for (const Member& m : walkMembers(fileBytes(plain), head.size()).members)
        plainNames << m.name;
    for (const Member& m : walkMembers(fileBytes(rich), head.size()).members)
        richNames << m.name;
    EXPECT_EQ(plainNames.join(' '), "SHOW.EXE QPXRUN30.DLL IMAGES.SLD IMAGES.DAT MUSIC-1.OGG");
    EXPECT_EQ(richNames, plainNames + QStringList({"IMAGES.VRX", "MUSIC-1-2.OGG"}));
    EXPECT_EQ(lhasaNames(forPeer(rich)).join(' '), richNames.join(' ').toLower());
    EXPECT_EQ(lhasa({QStringLiteral("t"), forPeer(rich)}).exitCode, 0);
    const auto before = unpack(plain), after = unpack(rich);
    for (const QString& name : plainNames)
        EXPECT_EQ(after->get(name), before->get(name)) << name.toStdString();

    const QByteArray block = after->get("IMAGES.VRX");
    ASSERT_TRUE(block.startsWith("VRSX"));
    EXPECT_EQ(qFromLittleEndian<quint32>(block.constData() + 4), quint32(block.size() - 8));
    QJsonObject written = QJsonDocument::fromJson(block.mid(8)).object();
    const QJsonArray slides{QJsonObject{}, motion, QJsonObject{}};
    EXPECT_EQ(written.take("slides"), slides);
    QJsonObject expected = data;
    expected["music"] = QJsonArray{QJsonObject{{"path", "music-1-2.ogg"}, {"kept", true}}};
    EXPECT_EQ(written, expected);
    const QByteArray music = after->get("MUSIC-1-2.OGG");
    ASSERT_GE(music.size(), 58);
    EXPECT_EQ(music.left(4), "OggS");
    EXPECT_EQ(music.mid(29, 6), "vorbis") << "the first packet: Vorbis' identification header";
    EXPECT_EQ(quint8(music[39]), 2) << "stereo";
    EXPECT_EQ(qFromLittleEndian<quint32>(music.constData() + 40), 48000u);
}

// Another user with a temporary folder open to all (the test's user where it is not root) puts a
// link to a file of ours in place of every file of the export's that goes from there, while the
// pictures are converted: the export keeps all its files in its private folder, and nothing is
// written through a link.
TEST_F(ExportTest, WorkingFilesStayInThePrivateFolderAndNoLinkIsFollowed) {
    const bool asRoot = geteuid() == 0;
    if (asRoot && QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        GTEST_SKIP() << "root needs setpriv to act as a second user";
    const QString tmp = root.filePath(QStringLiteral("tmp")), victim = target(QStringLiteral("victim"));
    QFile::setPermissions(root.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                           QFile::ExeGroup | QFile::ExeOther);
    ASSERT_EQ(chmod(QFile::encodeName(tmp).constData(), 01777), 0);
    file(QStringLiteral("../victim"), "ours alone");
    const auto plant = [&](const QString& link) {
        if (!asRoot)
            return QFile::link(victim, link);
        const QStringList second{
            "--reuid=nobody", "--regid=nogroup", "--clear-groups", "ln", "-s", victim, link};
        return QProcess::execute(QStringLiteral("setpriv"), second) == 0;
    };
    for (const char* name : {"a.png", "b.png", "c.png"})
        addSlide(picture(QLatin1String(name)));
    QStringList seen, strays;
    QObject::connect(&photoControl, &TPhoto::OnProgress, [&] {
        const QStringList entries = temporaryEntries();
        for (const QString& e : entries)
            if (!QFileInfo(QDir(tmp).filePath(e)).isDir() && !seen.contains(e))
                seen << e;
        for (const QString& e : seen)
            if (!entries.contains(e) && plant(QDir(tmp).filePath(e)))
                strays << e;
        if (entries.size() > 1)
            strays << entries;
    });
    const auto error = exporter().write(target(QStringLiteral("show.exe")), qualityPreset(11));
    ASSERT_FALSE(error) << error->text.toStdString() << " " << error->line2.toStdString();
    EXPECT_TRUE(strays.isEmpty()) << strays.join(' ').toStdString();
    EXPECT_EQ(fileBytes(victim), QByteArray("ours alone"));
}

// An export ended by a signal removes its work first: its private folder with what it holds, and the
// package being written beside the target; the earlier file of that name stays. (Each death test
// runs the test again in a process of its own, which finds the folder through the environment.)
TEST_F(ExportTest, AnExportEndedByASignalRemovesItsWork) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    if (qEnvironmentVariableIsEmpty("VERASCO_ENDED_EXPORT"))
        qputenv("VERASCO_ENDED_EXPORT", QFile::encodeName(target(QStringLiteral("ended"))));
    const QString work = qEnvironmentVariable("VERASCO_ENDED_EXPORT"), package = work + "/show.exe";
    QDir().mkpath(work + "/tmp");
    QFile old(package);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("older file") == 10);
    old.close();
    // Sound that does not shrink, so that packing it takes a while: long enough for the signal to
    // come while the package is written, on a machine busy with other work too.
    QByteArray noise(32 << 20, '\0');
    QRandomGenerator(5).fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
    addSlide(picture(QStringLiteral("a.png")), file(QStringLiteral("noise.wav"), noise));
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        EXPECT_EXIT(
            {
                qputenv("TMPDIR", QFile::encodeName(work + "/tmp"));
                std::thread([&work, signal] {
                    while (QDir(work)
                               .entryList({QStringLiteral(".show.exe.*.part")}, QDir::Files | QDir::Hidden)
                               .isEmpty())
                        std::this_thread::yield();
                    kill(getpid(), signal);
                }).detach();
                exporter().write(package, qualityPreset(11));
                std::_Exit(0);
            },
            testing::KilledBySignal(signal), "");
        EXPECT_TRUE(QDir(work + "/tmp").isEmpty()) << strsignal(signal);
        EXPECT_EQ(QDir(work).entryList(QDir::Files | QDir::Hidden), QStringList{"show.exe"})
            << strsignal(signal);
        EXPECT_EQ(fileBytes(package), QByteArray("older file"));
    }
}

// A killed export cannot remove its work: the next export removes what it left, its private folder
// and the package it was writing.
TEST_F(ExportTest, WorkLeftByAKilledExportGoesWithTheNextExport) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    if (qEnvironmentVariableIsEmpty("VERASCO_KILLED_EXPORT"))
        qputenv("VERASCO_KILLED_EXPORT", QFile::encodeName(target(QStringLiteral("killed"))));
    const QString work = qEnvironmentVariable("VERASCO_KILLED_EXPORT"), package = work + "/show.exe";
    QDir().mkpath(work + "/tmp");
    QByteArray noise(8 << 20, '\0');
    QRandomGenerator(5).fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
    addSlide(picture(QStringLiteral("a.png")), file(QStringLiteral("noise.wav"), noise));
    const auto partial = [&work] {
        return QDir(work).entryList({QStringLiteral(".show.exe.*.part")}, QDir::Files | QDir::Hidden);
    };
    EXPECT_EXIT(
        {
            qputenv("TMPDIR", QFile::encodeName(work + "/tmp"));
            std::thread([&partial] {
                while (partial().isEmpty())
                    std::this_thread::yield();
                kill(getpid(), SIGKILL);
            }).detach();
            exporter().write(package, qualityPreset(11));
            std::_Exit(0);
        },
        testing::KilledBySignal(SIGKILL), "");
    ASSERT_EQ(partial().size(), 1);
    ASSERT_EQ(QDir(work + "/tmp").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);

    qputenv("TMPDIR", QFile::encodeName(work + "/tmp"));
    ASSERT_FALSE(exporter().write(package, qualityPreset(11)));
    EXPECT_TRUE(QDir(work + "/tmp").isEmpty());
    EXPECT_EQ(QDir(work).entryList(QDir::Files | QDir::Hidden), QStringList{"show.exe"});
}

// A package that meets the file-size limit is reported with its own name and the system's reason,
// wherever the limit was met: in the private folder or beside the target.
TEST_F(ExportTest, AFileSizeLimitIsReportedForThePackageWithTheSystemsReason) {
    const QString package = target(QStringLiteral("show.exe"));
    const auto expectReported = [&](rlim_t limit) {
        ChildLimits limits;
        limits.fileSize = limit;
        EXPECT_EQ(inGuardedChild(
                      [&] {
                          const auto error = exporter().write(package, qualityPreset(11));
                          return error &&
                                 error->text == QLatin1String("The stand-alone show could not be written.") &&
                                 error->line2 == QDir::toNativeSeparators(package) + QStringLiteral(": ") +
                                                     QString::fromLocal8Bit(std::strerror(EFBIG));
                      },
                      limits),
                  "")
            << limit;
        EXPECT_TRUE(temporaryEntries().isEmpty());
        EXPECT_EQ(QDir(root.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    };
    // The image data, then the player, in the private folder.
    addSlide(photo(QStringLiteral("first.jpg")));
    // (the player's size depends on the build: with debugging information it is ten times larger).
    const rlim_t player = rlim_t(QFileInfo(programs + "/verasco2.dat").size());
    for (const rlim_t limit : {rlim_t(8 * 1024), player / 2})
        expectReported(limit);
    // The package itself, with a sound that does not shrink, larger than any file of the folder.
    QByteArray noise(3 << 20, '\0');
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
    addSlide(QStringLiteral("BLANK"), file(QStringLiteral("noise.wav"), noise));
    expectReported(
        rlim_t(std::max(QFileInfo(programs + "/verasco2.dat").size(), qint64(noise.size())) + 4096));
}

TEST_F(ExportTest, RefusesImageDataBeyondTwoGigabytesBeforeWritingAnything) {
    addSlide(photo(QStringLiteral("small.jpg")));
    QFile huge(pictures + "/huge.jpg");
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(0x7FFFFFFF)));
    huge.close();
    addSlide(huge.fileName());
    QStringList created;
    exporter();
    const auto error = exporter().write(target(QStringLiteral("show.exe")), qualityPreset(11));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->line2, QLatin1String("Their data would pass 2 GB."));
    EXPECT_TRUE(temporaryEntries().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(target(QStringLiteral("show.exe"))));
}

// Gives the archive engine's messages as a catalogue would, marking each.
class MarkedArchiveMessages : public QTranslator {
  public:
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override {
        return QLatin1String(context) == QLatin1String("ArchiveEngine")
                   ? QStringLiteral("[%1]").arg(QLatin1String(source))
                   : QString();
    }
};

// Names the package's members take, and a name longer than a member's header holds: the engine's
// reason for that one comes in the program's language, with the name.
TEST_F(ExportTest, RefusesPackageNamesTheSlideListOrRunTimeNeedOrTheArchiveCannotHold) {
    MarkedArchiveMessages marked;
    ASSERT_TRUE(QCoreApplication::installTranslator(&marked));
    addSlide(QStringLiteral("BLANK"));
    const QString tooLong = QString(230, QLatin1Char('x')) + QStringLiteral(".exe");
    for (const QString& name : {QStringLiteral("images.dat"), QStringLiteral("IMAGES.SLD"),
                                QStringLiteral("images.vrx"), QStringLiteral("qpxrun30.dll"), tooLong}) {
        const auto error = exporter().write(target(name), qualityPreset(11));
        ASSERT_TRUE(error) << name.toStdString();
        EXPECT_FALSE(QFileInfo::exists(target(name))) << name.toStdString();
        if (name == tooLong) {
            EXPECT_EQ(error->line2.toStdString(),
                      (QDir::toNativeSeparators(target(name)) +
                       QStringLiteral(": [Name too long for an archive header: %1]").arg(name.toUpper()))
                          .toStdString());
        }
    }
    QCoreApplication::removeTranslator(&marked);
}

} // namespace
