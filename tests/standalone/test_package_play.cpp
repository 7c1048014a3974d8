// SPDX-License-Identifier: MIT
// Packages that really play: a show of the sample pictures exported, the package run as a second
// process on the offscreen platform with the player's report switch, and what the player put on
// screen compared with the show. Also the player run on its own in folders it cannot play.

#include "export_test_support.h"
#include "image_loader.h"
#include "qt_application_environment.h"
#include "test_wav.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QProcess>

#include <map>

namespace {

testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment<QApplication>);

const QString Player = QStringLiteral(VERASCO_BINARY_DIR "/app/verasco2.dat");
const QString Samples = QStringLiteral(VERASCO_SOURCE_DIR "/packaging/samples/");

struct PlayerRun {
    int exitCode = -1;
    std::vector<std::map<QString, QString>> slides; // the report's lines, field by field
    QString err;
};

PlayerRun runProgram(const QString& program, const QStringList& arguments, const QString& folder,
                     const QString& tmp) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TMPDIR"), tmp);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QDir::tempPath()); // not the package's temporary folder
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    PlayerRun run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        run.err = QStringLiteral("did not end");
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    const QStringList lines =
        QString::fromLocal8Bit(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        std::map<QString, QString> fields;
        for (const QString& field : line.split('\t')) {
            const qsizetype eq = field.indexOf('=');
            fields[field.left(eq)] = field.mid(eq + 1);
        }
        run.slides.push_back(fields);
    }
    return run;
}

class PackagePlay : public ExportTest {
  protected:
    PackagePlay() {
        QFile::remove(programs + "/verasco2.dat");
        EXPECT_TRUE(QFile::copy(Player, programs + "/verasco2.dat"));
        QDir().mkpath(target(QStringLiteral("elsewhere")));
        QDir().mkpath(target(QStringLiteral("run-tmp")));
    }
    PlayerRun play(const QString& package) {
        return runProgram(package, {QStringLiteral("--report")}, target(QStringLiteral("elsewhere")),
                          target(QStringLiteral("run-tmp")));
    }
    QString sample(const QString& name) {
        const QString path = QDir(pictures).filePath(name);
        EXPECT_TRUE(QFile::copy(Samples + name, path)) << name.toStdString();
        return path;
    }
};

TEST_F(PackagePlay, TheExportedShowPlaysEverySlideWithItsPictureCaptionFontAndSound) {
    const QString tune = QDir(pictures).filePath(QStringLiteral("Tune.wav"));
    ASSERT_TRUE(writeTestWav(tune, 200));
    // A bitmap whose file name has no extension, in a folder that makes it a picture to the editor.
    const QString kept = QDir(pictures).filePath(QStringLiteral("scans.bmp/kept"));
    ASSERT_TRUE(QFile::rename(picture(QStringLiteral("scans.bmp/kept.bmp"), {40, 30}), kept));
    struct Slide {
        QString image, caption;
        QString decoder;
    };
    const std::vector<Slide> slides = {
        {sample("sunrise.jpg"), "Morning over the hills", "runtime"}, // packed as it is
        {sample("night.png"), "The same hills at night", "runtime"},  // converted to QPX
        {sample("shapes.bmp"), "Three shapes", "runtime"},
        {QStringLiteral("BLANK"), "A blank slide", "own"},
        {sample("tiles.pcx"), "Tiles", "runtime"},
        {sample("swirl.tga"), "A swirl of colour", "runtime"},
        {sample("leaf.tif"), "Light through a leaf", "runtime"},
        {kept, "A bitmap packed as it is", "own"},
    };
    for (const Slide& s : slides) {
        const bool second = show.SlideCount == 1;
        const bool third = show.SlideCount == 2;
        addSlide(s.image, s.image.endsWith("shapes.bmp") ? tune : QString(), [&](TSlideRecord& r) {
            r.Text.assign(s.caption.toStdString());
            r.ShowText = second ? 0 : 1;
            r.Delay = 3;
            if (third) {
                r.FontSize = 14;
                r.FontStyle = FontBold | FontItalic;
                r.FontColor = 0x0000FF;
            }
        });
    }
    const QString package = target(QStringLiteral("holiday.exe"));
    ASSERT_FALSE(exporter().write(package, qualityPreset(11)));

    PlayerRun run = play(package);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    ASSERT_EQ(run.slides.size(), slides.size()) << run.err.toStdString();
    qint64 offset = 0;
    for (std::size_t i = 0; i < slides.size(); ++i) {
        SCOPED_TRACE(slides[i].image.toStdString());
        auto line = run.slides[i];
        EXPECT_EQ(line["slide"], QString::number(i + 1));
        EXPECT_EQ(line["offset"].toLongLong(), offset) << "offsets follow each other";
        offset += line["length"].toLongLong();
        const QSize size = slides[i].image == "BLANK"
                               ? QSize(0, 0)
                               : imaging::loadImageFile(slides[i].image, {}).image.size();
        EXPECT_EQ(line["picture"], QStringLiteral("%1x%2").arg(size.width()).arg(size.height()));
        EXPECT_EQ(line["decoder"], slides[i].decoder);
        EXPECT_EQ(line["caption"], i == 1 ? QString() : slides[i].caption)
            << "a caption switched off is not shown";
        EXPECT_EQ(line["delay"], "3");
    }
    EXPECT_EQ(run.slides[0]["length"].toLongLong(), QFileInfo(slides[0].image).size()) << "byte for byte";
    EXPECT_EQ(run.slides[3]["length"], "0");
    EXPECT_EQ(run.slides[2]["audio"], "TUNE.WAV") << "the sound as unpacked beside the player";
    EXPECT_EQ(run.slides[0]["audio"], "");
    EXPECT_EQ(run.slides[2]["font"], QStringLiteral("MS Sans Serif,14,3,255"));
    for (const char* folder : {"run-tmp", "elsewhere"}) {
        const QStringList left =
            QDir(target(QLatin1String(folder)))
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        EXPECT_TRUE(left.isEmpty()) << "the package leaves nothing behind in " << folder << ": "
                                    << left.join(' ').toStdString();
    }
}

// A folder as the head leaves it for the player: the player, its run-time and the two show files.
class PlayerFolder : public ::testing::Test {
  protected:
    PlayerFolder() {
        QFile::copy(Player, folder.filePath(QStringLiteral("SHOW.EXE")));
        QFile::copy(QStringLiteral(VERASCO_BINARY_DIR "/app/verasco3.dat"),
                    folder.filePath(QStringLiteral("QPXRUN30.DLL")));
    }
    void write(const QString& name, const QByteArray& bytes) {
        QFile f(folder.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    }
    PlayerRun play() {
        return runProgram(folder.filePath(QStringLiteral("SHOW.EXE")), {QStringLiteral("--report")},
                          folder.path(), folder.path());
    }
    QTemporaryDir folder;
};

QByteArray slideList(int count, const QByteArray& records, int recordSize = 824) {
    QByteArray bytes = QByteArray("MORVANT rev1.01") + QByteArray(128, ' ');
    for (int v : {count, recordSize})
        for (int b = 0; b < 4; ++b)
            bytes += char(v >> (8 * b) & 0xFF);
    return bytes + records;
}

QByteArray record(const QByteArray& offset) {
    QByteArray r(824, '\0');
    r[2] = char(offset.size());
    r.replace(3, offset.size(), offset);
    r[514] = 1; // one second
    return r;
}

TEST_F(PlayerFolder, ADamagedOrMissingShowIsNamedAndNotPlayed) {
    struct Case {
        const char* name;
        QByteArray list; // empty: no slide list at all
        bool data;
        const char* message;
    };
    const Case cases[] = {
        {"no slide list", {}, true, "The slide list images.sld cannot be read: it is missing."},
        {"another file", QByteArray("GIF89a") + QByteArray(300, 'x'), true,
         "is damaged: it is not a slide list."},
        {"cut short", slideList(3, record("0") + record("0")), true, "announces 3 slides but holds only 2"},
        {"bad record size", slideList(1, record("0"), 800), true,
         "is damaged: its header announces 1 slides of 800"},
        {"no slides", slideList(0, {}), true, "is damaged: it holds no slides."},
        {"too many", slideList(501, record("0").repeated(501)), true, "announces 501 slides"},
        {"no image data", slideList(1, record("0")), false, "The image data images.dat cannot be read"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(folder.filePath(QStringLiteral("IMAGES.SLD")));
        QFile::remove(folder.filePath(QStringLiteral("IMAGES.DAT")));
        if (!c.list.isEmpty())
            write(QStringLiteral("IMAGES.SLD"), c.list);
        if (c.data)
            write(QStringLiteral("IMAGES.DAT"), "data");
        PlayerRun run = play();
        EXPECT_EQ(run.exitCode, 3);
        EXPECT_TRUE(run.err.contains(QLatin1String(c.message))) << run.err.toStdString();
        EXPECT_TRUE(run.slides.empty());
    }
}

TEST_F(PlayerFolder, SlidesWhoseDataRunsPastTheImageDataAreBlank) {
    QFile sunrise(Samples + "sunrise.jpg");
    ASSERT_TRUE(sunrise.open(QIODevice::ReadOnly));
    const QByteArray jpeg = sunrise.readAll();
    const QByteArray size = QByteArray::number(jpeg.size());
    write(QStringLiteral("IMAGES.SLD"),
          slideList(5, record("0") + record(size) + record("99999999") + record("-5") + record(size)));
    write(QStringLiteral("IMAGES.DAT"), jpeg + QByteArray(10, 'x'));
    PlayerRun run = play();
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    ASSERT_EQ(run.slides.size(), 5u);
    const QSize picture = QImageReader(Samples + "sunrise.jpg").size();
    EXPECT_EQ(run.slides[0]["picture"], QStringLiteral("%1x%2").arg(picture.width()).arg(picture.height()));
    EXPECT_EQ(run.slides[1]["picture"], "0x0") << "slide 2 ends where slide 3 claims to start, past the end";
    for (int i : {1, 2, 3}) {
        EXPECT_EQ(run.slides[i]["length"], "0") << i;
        EXPECT_EQ(run.slides[i]["picture"], "0x0") << i;
    }
    EXPECT_EQ(run.slides[4]["picture"], "0x0") << "ten bytes that are no picture";
    EXPECT_EQ(run.slides[4]["length"], "10");
}

} // namespace
