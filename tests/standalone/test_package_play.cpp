// SPDX-License-Identifier: MIT
// Packages that really play: a show of the sample pictures exported, the package run as a second
// process on an X server of the test's own with the player's report switch, and what the player put
// on screen compared with the show; the first picture looked at on the screen and the player's keys
// pressed; what the package's programs need of the other machine, and a package played in a Debian
// 12 system without Qt. Also the player run on its own in folders it cannot play.

#include "export_test_support.h"
#include "heard_sound.h"
#include "image_loader.h"
#include "qt_application_environment.h"
#include "test_pictures.h"
#include "test_wav.h"
#include "test_x_server.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <X11/keysym.h>

#include <functional>
#include <map>
#include <unistd.h>

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
                     const QString& tmp, bool onDisplay = true) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TMPDIR"), tmp);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QDir::tempPath()); // not the package's temporary folder
    PlayerRun run;
    QString why;
    env.insert(QStringLiteral("DISPLAY"), onDisplay ? test_x_server::display(why) : QString());
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
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

using test_x_server::difference;
using test_x_server::frameOnScreen;
using test_x_server::screenShows;

bool black(const QImage& screen, QPoint at) {
    return (screen.pixel(at) & 0xFFFFFF) == 0;
}

class PackagePlay : public ExportTest {
  protected:
    PackagePlay() {
        QFile::remove(programs + "/verasco2.dat");
        EXPECT_TRUE(QFile::copy(Player, programs + "/verasco2.dat"));
        QDir().mkpath(target(QStringLiteral("elsewhere")));
        QDir().mkpath(target(QStringLiteral("run-tmp")));
    }
    void SetUp() override {
        QString why;
        if (test_x_server::display(why).isEmpty())
            GTEST_SKIP() << why.toStdString() << ": the packages were not played";
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
    const QString tune = QDir(pictures).filePath(QStringLiteral("Café.wav"));
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
    EXPECT_EQ(run.slides[2]["audio"], "CAFÉ.WAV") << "the sound as unpacked beside the player";
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

TEST_F(PackagePlay, TheFirstPictureIsOnScreenAndTheKeysStepAndQuit) {
    const QString sunrise = sample("sunrise.jpg");
    for (const QString& image : {sunrise, sample("night.png"), QStringLiteral("BLANK")})
        addSlide(image, {}, [](TSlideRecord& r) {
            r.ShowText = 0;
            r.Delay = 255;
        });
    const QString package = target(QStringLiteral("keys"));
    ASSERT_FALSE(exporter().write(package, qualityPreset(11)));
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QString why;
    env.insert(QStringLiteral("DISPLAY"), test_x_server::display(why));
    env.insert(QStringLiteral("TMPDIR"), target(QStringLiteral("run-tmp")));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(target(QStringLiteral("elsewhere")));
    process.start(package, {});
    // The photograph, smaller than the 1024 x 768 screen, in its middle as it is.
    const QImage photo = QImage(Samples + "sunrise.jpg").convertToFormat(QImage::Format_RGB32);
    const QPoint corner(512 - photo.width() / 2, 384 - photo.height() / 2);
    const auto first = [&](const QImage& screen) { return difference(screen, photo, corner) < 2.0; };
    EXPECT_TRUE(screenShows(first)) << "the first picture on screen";
    // The night picture stands upright, fitted to the screen's height: the photograph's corner is black.
    const auto second = [&](const QImage& s) {
        return black(s, corner + QPoint(4, 4)) && !black(s, {512, 384});
    };
    const auto blank = [](const QImage& s) { return black(s, {512, 384}) && black(s, {300, 300}); };
    // B and . black the screen and bring it back; a number and Enter go to that slide.
    const std::pair<unsigned long, std::function<bool(const QImage&)>> steps[] = {
        {XK_Right, second}, {XK_End, blank},    {XK_Home, first},    {XK_b, blank},
        {XK_period, first}, {XK_2, first},      {XK_Return, second}, {XK_Left, first},
        {XK_Left, blank},   {XK_Prior, second}, {XK_Next, blank}};
    for (const auto& [key, shows] : steps) {
        SCOPED_TRACE(key);
        ASSERT_TRUE(test_x_server::sendKey(key));
        EXPECT_TRUE(screenShows(shows));
    }
    ASSERT_TRUE(test_x_server::sendKey(XK_space));
    ASSERT_TRUE(test_x_server::sendKey(XK_Escape));
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_TRUE(QDir(target(QStringLiteral("run-tmp"))).isEmpty()) << "the private folder goes with the show";
}

// A package of a show whose pictures move: at its start each slide shows its first frame, larger
// than the picture itself, and its view then moves toward the last; a caption lies on a dark band
// over the picture's foot, its letters (an accented one and an en dash among them) as the viewer
// draws them.
TEST_F(PackagePlay, PicturesMoveAsTheirSlidesAskAndCaptionsLieOnABand) {
    QImage gradient(256, 192, QImage::Format_RGB32);
    for (int y = 0; y < gradient.height(); ++y)
        for (int x = 0; x < gradient.width(); ++x)
            gradient.setPixel(x, y, qRgb(x, y * 4 / 3, 100));
    const QString path = QDir(pictures).filePath(QStringLiteral("gradient.png"));
    ASSERT_TRUE(gradient.save(path));
    addSlide(path, {}, [](TSlideRecord& r) {
        r.Delay = 255;
        r.ShowText = 1;
        r.FontColor = 0xFFFFFF;
        r.Text.assign("Café – on a band");
    });
    addSlide(path, {}, [](TSlideRecord& r) {
        r.Delay = 30; // long enough that its first frame stays on screen for seconds
        r.ShowText = 0;
    });
    addSlide(QStringLiteral("BLANK"), {}, [](TSlideRecord& r) { r.Delay = 255; });
    std::vector<TSlideRecord> records;
    for (int i = 0; i < show.SlideCount; ++i)
        records.push_back(show.slide(i));
    const auto motion = [](QRectF from, QRectF to) {
        const auto list = [](QRectF f) { return QJsonArray{f.x(), f.y(), f.width(), f.height()}; };
        return QJsonObject{{"motion", QJsonObject{{"from", list(from)}, {"to", list(to)}}}};
    };
    const QRectF centre(0.25, 0.25, 0.5, 0.5), topLeft(0, 0, 0.5, 0.5), bottomRight(0.5, 0.5, 0.5, 0.5);
    show.load(records, {{"captions", "box"}},
              {motion(centre, {0, 0, 1, 1}), motion(topLeft, bottomRight), QJsonObject{}});
    const QString package = target(QStringLiteral("moving"));
    ASSERT_FALSE(exporter().write(package, qualityPreset(11)));

    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QString why;
    env.insert(QStringLiteral("DISPLAY"), test_x_server::display(why));
    env.insert(QStringLiteral("TMPDIR"), target(QStringLiteral("run-tmp")));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(target(QStringLiteral("elsewhere")));
    process.start(package, {});
    // The slide's first frame fills the screen; its caption's band darkens the picture's foot.
    const QImage zoomed = frameOnScreen(gradient, centre);
    const QImage upper = zoomed.copy(0, 0, 1024, 600);
    QImage lastScreen;
    EXPECT_TRUE(screenShows([&](const QImage& screen) {
        lastScreen = screen;
        return difference(screen, upper, {0, 0}) < 3.0;
    })) << "the first frame, not the picture fitted: "
        << difference(lastScreen, upper, {0, 0});
    const QRgb under = zoomed.pixel(3, 765), band = lastScreen.pixel(3, 765);
    EXPECT_NEAR(qRed(band), qRed(under) * 95 / 255, 8) << "the band's black over the picture";
    EXPECT_NEAR(qBlue(band), qBlue(under) * 95 / 255, 8);
    EXPECT_NEAR(qRed(lastScreen.pixel(3, 700)), qRed(zoomed.pixel(3, 700)), 8) << "above the band";
    const test_x_server::CaptionMatch caption =
        test_x_server::captionAgainstViewer(lastScreen, show.slide(0));
    EXPECT_LE(caption.edges, 2) << "the caption's letters where the viewer draws them";
    EXPECT_LE(caption.lit, 0.1) << "and as many of them";

    // The pan starts at the top left quarter and moves toward the bottom right one.
    const QImage first = frameOnScreen(gradient, topLeft), last = frameOnScreen(gradient, bottomRight);
    ASSERT_TRUE(test_x_server::sendKey(XK_Right));
    EXPECT_TRUE(screenShows([&](const QImage& s) { return difference(s, first, {0, 0}) < 3.0; }));
    EXPECT_TRUE(screenShows([&](const QImage& s) {
        return !black(s, {512, 384}) && difference(s, last, {0, 0}) < difference(s, first, {0, 0});
    })) << "past the middle of its way";
    ASSERT_TRUE(test_x_server::sendKey(XK_Escape));
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
}

// A package of a show with music plays it in one stream with the slides' sounds, through ALSA's
// default device made a file here: the music is heard as loud as it was, and fades out at the end.
TEST_F(PackagePlay, TheMusicIsHeardUnderTheShowAndFadesAtItsEnd) {
    if (!alsaInstalled())
        GTEST_SKIP() << "ALSA's library is not installed: nothing to hear the show through";
    const QString tune = QDir(pictures).filePath(QStringLiteral("tune.wav"));
    ASSERT_TRUE(writeTestWav(tune, 3000));
    for (int i = 0; i < 2; ++i)
        addSlide(QStringLiteral("BLANK"), {}, [](TSlideRecord& r) { r.Delay = 1; });
    options.loop = false;
    std::vector<TSlideRecord> records{show.slide(0), show.slide(1)};
    show.load(records, {{"music", QJsonArray{QJsonObject{{"path", tune}}}}, {"musicFadeMs", 1000}});
    const QString package = target(QStringLiteral("music"));
    ASSERT_FALSE(exporter().write(package, qualityPreset(11)));

    const QString home = target(QStringLiteral("home")), sink = target(QStringLiteral("heard.raw"));
    QDir().mkpath(home);
    ASSERT_TRUE(makeAlsaFileSink(home, sink));
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QString why;
    env.insert(QStringLiteral("DISPLAY"), test_x_server::display(why));
    env.insert(QStringLiteral("TMPDIR"), target(QStringLiteral("run-tmp")));
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + home + "/no-server");
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(target(QStringLiteral("elsewhere")));
    process.start(package, {});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const QByteArray heard = fileBytes(sink);
    const qsizetype count = heard.size() / 2;
    ASSERT_GT(count, 48000) << "at least half a second of sound";
    EXPECT_LT(count, 2 * 48000 * 60) << "at the show's pace, not as fast as it can be made";
    EXPECT_NEAR(loudest(heard, 0, 9600), 2000, 100) << "the music as loud as it was, mono on both sides";
    EXPECT_LT(loudest(heard, count - 4800, count), 1000) << "faded at the end";
}

// A minimal Debian 12 system with libX11 and without Qt, kept for every test run of the machine
// (VERASCO_TEST_CHROOT names another); made with debootstrap where it is missing. Empty, with what
// is missing in `why`, when it cannot be had.
QString debian12(QString& why) {
    const QString kept =
        qEnvironmentVariable("VERASCO_TEST_CHROOT", QStringLiteral("/var/cache/verasco-tests/debian12"));
    if (QFileInfo::exists(kept + "/usr/lib/x86_64-linux-gnu/libX11.so.6"))
        return kept;
    if (QStandardPaths::findExecutable(QStringLiteral("debootstrap")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("unshare")).isEmpty()) {
        why =
            QStringLiteral("no Debian 12 system at %1, and debootstrap (Debian's package debootstrap) is not "
                           "installed to make one")
                .arg(kept);
        return {};
    }
    // Made aside and renamed when whole, so that a run cut short leaves no half-made system.
    const QString partial = kept + ".partial";
    QDir(partial).removeRecursively();
    QDir().mkpath(QFileInfo(kept).path());
    QProcess make;
    make.start(QStringLiteral("debootstrap"),
               {QStringLiteral("--variant=minbase"), QStringLiteral("--include=libx11-6"),
                QStringLiteral("bookworm"), partial, QStringLiteral("http://deb.debian.org/debian")});
    if (!make.waitForFinished(30 * 60000) || make.exitCode() != 0 || !QDir().rename(partial, kept)) {
        why = QStringLiteral("no Debian 12 system at %1, and debootstrap could not make one (is the network "
                             "there?): %2")
                  .arg(kept, QString::fromLocal8Bit(make.readAllStandardError().right(300)));
        QDir(partial).removeRecursively();
        return {};
    }
    return kept;
}

TEST_F(PackagePlay, PlaysInADebian12SystemWithoutQt) {
#ifdef VERASCO_SANITIZE_BUILD
    GTEST_SKIP() << "the programs need the sanitizers' run-time and libjpeg.so in this build";
#endif
    if (getuid() != 0)
        GTEST_SKIP()
            << "changing the root folder (chroot) needs the administrator: the package was not played";
    QString why;
    const QString system = debian12(why);
    if (system.isEmpty())
        GTEST_SKIP() << why.toStdString();
    QDirIterator qt(system + "/usr/lib", {"libQt*"}, QDir::Files, QDirIterator::Subdirectories);
    ASSERT_FALSE(qt.hasNext()) << "the system holds " << qt.next().toStdString();
    const QString tune = QDir(pictures).filePath(QStringLiteral("Tune.wav"));
    ASSERT_TRUE(writeTestWav(tune, 200));
    for (const QString& image : {sample("sunrise.jpg"), sample("night.png")})
        addSlide(image, tune, [](TSlideRecord& r) { r.Text.assign("In Debian 12"); });
    QTemporaryDir inside(system + "/tmp/verasco-play-XXXXXX");
    const QString folder = "/tmp/" + QFileInfo(inside.path()).fileName();
    ASSERT_FALSE(exporter().write(inside.filePath(QStringLiteral("holiday")), qualityPreset(11)));
    QDir().mkpath(inside.filePath(QStringLiteral("tmp")));
    // The system's own /proc, which the package's head reads itself from, mounted for this run only.
    const QString inSystem = QStringLiteral("mount -t proc proc '%1/proc' && exec chroot '%1' /usr/bin/env "
                                            "TMPDIR=%2/tmp /bin/sh -c 'cd %2 && ./holiday --report'")
                                 .arg(system, folder);
    const PlayerRun run = runProgram(QStringLiteral("unshare"),
                                     {QStringLiteral("--mount"), QStringLiteral("--fork"),
                                      QStringLiteral("/bin/sh"), QStringLiteral("-c"), inSystem},
                                     target(QStringLiteral("elsewhere")), target(QStringLiteral("run-tmp")));
    if (run.exitCode != 0 &&
        (run.err.startsWith(QLatin1String("unshare: ")) || run.err.startsWith(QLatin1String("mount: "))))
        GTEST_SKIP() << "this machine lets no mount namespace or /proc be made: " << run.err.toStdString();
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    ASSERT_EQ(run.slides.size(), 2u) << run.err.toStdString();
    EXPECT_EQ(run.slides[0].at("picture"), "640x480");
    EXPECT_EQ(run.slides[1].at("picture"), "480x640");
    EXPECT_EQ(run.slides[0].at("decoder"), "runtime");
    EXPECT_EQ(run.slides[1].at("audio"), "TUNE.WAV");
    EXPECT_TRUE(QDir(inside.filePath(QStringLiteral("tmp"))).isEmpty())
        << "the private folder goes with the show";
}

// What the package's programs need on the other machine: no Qt, nothing beyond the C library, libX11
// for the player, and the C++ library that every Debian system has for the head.
TEST(PackagePrograms, NeedNoQtNorMoreThanTheCLibraryAndLibX11) {
#ifdef VERASCO_SANITIZE_BUILD
    GTEST_SKIP() << "the programs carry the sanitizers' run-time in this build";
#endif
    const QStringList system = {"libc.so.6", "libm.so.6", "ld-linux-x86-64.so.2"};
    const std::pair<const char*, QStringList> programs[] = {
        {"verasco1.dat", system + QStringList{"libstdc++.so.6", "libgcc_s.so.1"}},
        {"verasco2.dat", system + QStringList{"libX11.so.6"}},
        {"verasco3.dat", system},
    };
    for (const auto& [name, allowed] : programs) {
        SCOPED_TRACE(name);
        const QString path = QStringLiteral(VERASCO_BINARY_DIR "/app/") + QLatin1String(name);
        QProcess readelf;
        readelf.start(QStringLiteral("readelf"), {QStringLiteral("-d"), path});
        ASSERT_TRUE(readelf.waitForFinished());
        const QString dynamic = QString::fromLocal8Bit(readelf.readAllStandardOutput());
        static const QRegularExpression needed(QStringLiteral("\\(NEEDED\\).*\\[(.*)\\]"));
        QStringList found;
        for (auto m = needed.globalMatch(dynamic); m.hasNext();)
            found << m.next().captured(1);
        EXPECT_FALSE(found.isEmpty()) << dynamic.toStdString();
        for (const QString& library : found)
            EXPECT_TRUE(allowed.contains(library)) << library.toStdString();
        QProcess ldd;
        ldd.start(QStringLiteral("ldd"), {path});
        ASSERT_TRUE(ldd.waitForFinished());
        const QString all = QString::fromLocal8Bit(ldd.readAllStandardOutput());
        EXPECT_FALSE(all.contains(QLatin1String("Qt")) || all.contains(QLatin1String("not found")))
            << all.toStdString();
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
    PlayerRun play(bool onDisplay = true) {
        return runProgram(folder.filePath(QStringLiteral("SHOW.EXE")), {QStringLiteral("--report")},
                          folder.path(), folder.path(), onDisplay);
    }
    bool displayed() {
        QString why;
        return !test_x_server::display(why).isEmpty();
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
    if (!displayed())
        GTEST_SKIP() << "no X server for the player";
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

// A photograph packed as it is stands upright by its orientation tag; without its run-time the
// player shows blank slides and says why; without a display it says so and ends.
TEST_F(PlayerFolder, PicturesStandUprightAndAMissingRunTimeOrDisplayIsNamed) {
    const QString turned = folder.filePath(QStringLiteral("turned.jpg"));
    ASSERT_TRUE(QFile::copy(Samples + "sunrise.jpg", turned));
    const bool tagged = test_pictures::tagOrientation(turned, 6);
    const QByteArray jpeg = fileBytes(turned);
    write(QStringLiteral("IMAGES.SLD"), slideList(1, record("0")));
    write(QStringLiteral("IMAGES.DAT"), jpeg);
    const PlayerRun headless = play(false);
    EXPECT_EQ(headless.exitCode, 4);
    EXPECT_TRUE(headless.err.contains(QLatin1String("the show needs a graphical desktop")))
        << headless.err.toStdString();
    if (!displayed())
        GTEST_SKIP() << "no X server for the player";
    if (tagged) {
        const PlayerRun upright = play();
        ASSERT_EQ(upright.slides.size(), 1u) << upright.err.toStdString();
        EXPECT_EQ(upright.slides[0].at("picture"), "480x640") << "turned a quarter";
    }
    QFile::remove(folder.filePath(QStringLiteral("QPXRUN30.DLL")));
    write(QStringLiteral("QPXRUN30.DLL"), "not a library");
    const PlayerRun blank = play();
    EXPECT_EQ(blank.exitCode, 0);
    ASSERT_EQ(blank.slides.size(), 1u) << blank.err.toStdString();
    EXPECT_EQ(blank.slides[0].at("picture"), "0x0");
    EXPECT_TRUE(blank.err.contains(QLatin1String("the pictures are shown blank"))) << blank.err.toStdString();
    if (!tagged)
        GTEST_SKIP() << "exiftool (libimage-exiftool-perl) is not installed: no picture was turned";
}

TEST_F(PlayerFolder, ADamagedShowStartedFromTheDesktopIsNamedInAWindow) {
    if (!displayed())
        GTEST_SKIP() << "no X server for the player";
    write(QStringLiteral("IMAGES.SLD"), slideList(3, record("0")));
    write(QStringLiteral("IMAGES.DAT"), "data");
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QString why;
    env.insert(QStringLiteral("DISPLAY"), test_x_server::display(why));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder.path());
    process.start(folder.filePath(QStringLiteral("SHOW.EXE")), {});
    // The message stays until a key: Esc, sent until the window is there to take it.
    bool named = false;
    const QDeadlineTimer deadline(60000);
    while (!process.waitForFinished(100) && !deadline.hasExpired())
        named = test_x_server::sendKey(XK_Escape) || named;
    EXPECT_TRUE(named) << "a window of the message";
    ASSERT_EQ(process.state(), QProcess::NotRunning) << "the message did not end with Esc";
    EXPECT_EQ(process.exitCode(), 3);
    EXPECT_TRUE(process.readAllStandardError().contains("announces 3 slides but holds only 1"));
}

} // namespace
