// SPDX-License-Identifier: MIT
// Packages for Windows, where they run: a show exported for Windows, its members, slide list and
// picture data looked at from outside as for a Linux package, and the package run under Wine on an
// X server of its own with the player's report switch: every slide on screen with its picture,
// caption and sound, the end of the show, and nothing left behind; a package cut short named and not
// played. Its size beside the Linux package of the same show, which it may pass by a fifth at most.

#include "dialogs.h"
#include "export_test_support.h"
#include "gui_test_support.h"
#include "heard_sound.h"
#include "made_streams.h"
#include "package_inspection.h"
#include "pe_image.h"
#include "qt_application_environment.h"
#include "test_wav.h"
#include "test_x_server.h"
#include "wine_support.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

#include <X11/keysym.h>

#include <map>

using namespace package_inspection;

namespace {

testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment<QApplication>);

const QString App = QStringLiteral(VERASCO_BINARY_DIR "/app/");
const QString Samples = QStringLiteral(VERASCO_SOURCE_DIR "/packaging/samples/");

struct WineRun {
    int exitCode = -1;
    std::vector<std::map<QString, QString>> slides; // the report's lines, field by field
    QString err;
};

// Runs `package` with the report switch under Wine, on a new X server, from `folder`.
WineRun runUnderWine(const QString& package, const QString& folder) {
    QProcess process;
    QProcessEnvironment env = wineEnvironment();
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral("xvfb-run"),
                  {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1024x768x24"),
                   wine(), package, QStringLiteral("--report")});
    WineRun run;
    if (!process.waitForFinished(300000)) {
        process.kill();
        process.waitForFinished();
        run.err = QStringLiteral("did not end");
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    for (const QString& line :
         QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
        std::map<QString, QString> fields;
        for (const QString& field : line.split('\t')) {
            const qsizetype eq = field.indexOf('=');
            if (eq > 0)
                fields[field.left(eq)] = field.mid(eq + 1);
        }
        if (fields.count(QStringLiteral("slide")))
            run.slides.push_back(fields);
    }
    return run;
}

// The folders Wine gives as the temporary folder, and the head's private folders in them.
QStringList privateFolders() {
    QStringList found;
    const QDir users(WinePrefix + QStringLiteral("/drive_c/users"));
    for (const QString& user : users.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        for (const QString& temp : {user + "/Temp", user + "/AppData/Local/Temp"})
            for (const QString& entry :
                 QDir(users.filePath(temp)).entryList({"verasco-show-*"}, QDir::AllEntries))
                found << temp + "/" + entry;
    return found;
}

class WindowsPackage : public ExportTest {
  protected:
    WindowsPackage() {
        for (const char* name : {"verasco1w.dat", "verasco2w.dat", "verasco3w.dat"})
            QFile::copy(App + name, programs + "/" + name);
        packagePlatform = QStringLiteral("Windows");
    }
    QString sample(const QString& name) {
        const QString path = QDir(pictures).filePath(name);
        EXPECT_TRUE(QFile::copy(Samples + name, path)) << name.toStdString();
        return path;
    }
};

// A Windows package of a show with music, motion and band captions, under Wine on the tests' X
// server: the moving slide's first frame fills the screen, its caption lies on a dark band over the
// picture's foot, and the music's stream does not keep the show from its end.
TEST_F(WindowsPackage, PicturesMoveAndCaptionsLieOnABandUnderWine) {
    if (!PackagePrograms::present(programs, PackagePlatform::Windows))
        GTEST_SKIP() << "this build has no Windows programs (MinGW-w64 was not found)";
    QString why;
    if (wine().isEmpty() || test_x_server::display(why).isEmpty())
        GTEST_SKIP() << "Wine or Xvfb is not installed: the package was not run";
    ASSERT_TRUE(wholeWinePrefix()) << "Wine did not make its Windows folders";
    QImage gradient(256, 192, QImage::Format_RGB32);
    for (int y = 0; y < gradient.height(); ++y)
        for (int x = 0; x < gradient.width(); ++x)
            gradient.setPixel(x, y, qRgb(x, y * 4 / 3, 100));
    const QString path = QDir(pictures).filePath(QStringLiteral("gradient.png"));
    ASSERT_TRUE(gradient.save(path));
    const QString tune = QDir(pictures).filePath(QStringLiteral("tune.wav"));
    ASSERT_TRUE(writeTestWav(tune, 500));
    addSlide(path, {}, [](TSlideRecord& r) {
        r.Delay = 255;
        r.ShowText = 1;
        r.FontColor = 0xFFFFFF;
        r.Text.assign("Café – on a band");
    });
    const QRectF centre(0.25, 0.25, 0.5, 0.5);
    const auto list = [](QRectF f) { return QJsonArray{f.x(), f.y(), f.width(), f.height()}; };
    show.load({show.slide(0)}, {{"captions", "band"}, {"music", QJsonArray{QJsonObject{{"path", tune}}}}},
              {QJsonObject{{"motion", QJsonObject{{"from", list(centre)}, {"to", list({0, 0, 1, 1})}}}}});
    const QString package = target(QStringLiteral("moving.exe"));
    ASSERT_FALSE(exporter().write(package, qualityPreset(11), PackagePlatform::Windows));

    QProcess process;
    QProcessEnvironment env = wineEnvironment();
    env.insert(QStringLiteral("DISPLAY"), test_x_server::display(why));
    process.setProcessEnvironment(env);
    QDir().mkpath(target(QStringLiteral("elsewhere")));
    process.setWorkingDirectory(target(QStringLiteral("elsewhere")));
    process.start(wine(), {package});
    const QImage zoomed = test_x_server::frameOnScreen(gradient, centre),
                 upper = zoomed.copy(0, 0, 1024, 600);
    QImage last;
    const auto first = [&](const QImage& screen) {
        last = screen;
        return test_x_server::difference(screen, upper) < 4.0;
    };
    EXPECT_TRUE(test_x_server::screenShows(first, 180000)) << "the first frame, not the picture fitted";
    const QRgb under = zoomed.pixel(3, 765), band = last.pixel(3, 765);
    EXPECT_NEAR(qRed(band), qRed(under) * 95 / 255, 8) << "the band's black over the picture";
    EXPECT_NEAR(qBlue(band), qBlue(under) * 95 / 255, 8);
    const test_x_server::CaptionMatch caption = test_x_server::captionAgainstViewer(last, show.slide(0));
    EXPECT_LE(caption.edges, 2) << "the caption's letters where the viewer draws them";
    EXPECT_LE(caption.lit, 0.1) << "and as many of them";
    // B blacks the screen out and "." brings the show back.
    const auto dark = [](bool black) {
        return [black](const QImage& s) { return (qGray(s.pixel(512, 300)) < 8) == black; };
    };
    for (const unsigned long key : {XK_b, XK_period}) {
        EXPECT_TRUE(test_x_server::sendKey(key));
        EXPECT_TRUE(test_x_server::screenShows(dark(key == XK_b))) << key;
    }
    EXPECT_TRUE(test_x_server::sendKey(XK_Escape));
    EXPECT_TRUE(process.waitForFinished(120000));
    EXPECT_EQ(process.exitCode(), 0);
}

// The music of a Windows package under Wine, heard through ALSA's default device made a file here:
// as loud as it was, and faded out at the show's end.
TEST_F(WindowsPackage, TheMusicIsHeardUnderWine) {
    if (!PackagePrograms::present(programs, PackagePlatform::Windows))
        GTEST_SKIP() << "this build has no Windows programs (MinGW-w64 was not found)";
    QString why;
    if (wine().isEmpty() || test_x_server::display(why).isEmpty() || !alsaInstalled())
        GTEST_SKIP() << "Wine, Xvfb or ALSA is not installed: the package was not heard";
    ASSERT_TRUE(wholeWinePrefix()) << "Wine did not make its Windows folders";
    const QString tune = QDir(pictures).filePath(QStringLiteral("tune.wav"));
    ASSERT_TRUE(writeTestWav(tune, 3000));
    for (int i = 0; i < 2; ++i)
        addSlide(QStringLiteral("BLANK"), {}, [](TSlideRecord& r) { r.Delay = 2; });
    options.loop = false;
    show.load({show.slide(0), show.slide(1)},
              {{"music", QJsonArray{QJsonObject{{"path", tune}}}}, {"musicFadeMs", 1000}});
    const QString package = target(QStringLiteral("music.exe"));
    ASSERT_FALSE(exporter().write(package, qualityPreset(11), PackagePlatform::Windows));
    const QString home = target(QStringLiteral("home")), sink = target(QStringLiteral("heard.raw"));
    QDir().mkpath(home);
    ASSERT_TRUE(makeAlsaFileSink(home, sink));
    QProcess process;
    QProcessEnvironment env = wineEnvironment();
    env.insert(QStringLiteral("DISPLAY"), test_x_server::display(why));
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + home + "/no-server");
    process.setProcessEnvironment(env);
    QDir().mkpath(target(QStringLiteral("elsewhere")));
    process.setWorkingDirectory(target(QStringLiteral("elsewhere")));
    process.start(wine(), {package});
    ASSERT_TRUE(process.waitForFinished(180000));
    EXPECT_EQ(process.exitCode(), 0);
    // Wine's own stream, in 16-bit samples at a layout of its choosing.
    const QByteArray heard = fileBytes(sink);
    const qsizetype count = heard.size() / 2;
    ASSERT_GT(count, 48000) << "at least a quarter of a second of sound";
    EXPECT_NEAR(loudest(heard, 0, count / 20), 2000, 100) << "the music as loud as it was";
    EXPECT_LT(loudest(heard, count - count / 20, count), 1000) << "faded at the end";
}

TEST_F(WindowsPackage, PlaysUnderWineWithTheMembersSlideListAndPicturesOfALinuxPackage) {
    if (!PackagePrograms::present(programs, PackagePlatform::Windows))
        GTEST_SKIP() << "this build has no Windows programs (MinGW-w64 was not found)";
    const QString tune = QDir(pictures).filePath(QStringLiteral("Café.wav"));
    ASSERT_TRUE(writeTestWav(tune, 200));
    // Beyond the picture policy, refused from their headers by the run-time: 98 scans over a claimed
    // 16384 x 16384 in a few kilobytes, and 128 scans over 64 x 64.
    const QString hostile = QDir(pictures).filePath(QStringLiteral("hostile.jpg")),
                  scans = QDir(pictures).filePath(QStringLiteral("scans.jpg"));
    for (const auto& [path, bytes] :
         {std::pair(hostile, imaging_test::withFrameSize(imaging_test::scanByScan(48), 16384, 16384)),
          std::pair(scans, imaging_test::scanByScan(63))}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    const std::vector<std::pair<QString, QString>> slides = {
        {sample("sunrise.jpg"), "Morning over the hills"}, // packed as it is
        {sample("night.png"), "The same hills at night"},  // converted to QPX
        {QStringLiteral("BLANK"), "A blank slide"},
        {sample("leaf.tif"), "Light through a leaf"},
        {hostile, "Refused"},
        {scans, "Refused"},
    };
    for (const auto& slide : slides)
        addSlide(slide.first, slide.first.endsWith("leaf.tif") ? tune : QString(), [&](TSlideRecord& r) {
            r.Text.assign(slide.second.toStdString());
            r.ShowText = 1;
            r.Delay = 2;
        });
    // The command, with the setting at Windows: a name without an extension gets ".exe".
    QString offered;
    dialogSeams().getSaveFileName = [&](QWidget*, const QString&, const QString& dir, const QString&) {
        offered = dir;
        return target(QStringLiteral("holiday"));
    };
    whenModal(&dialog, [this] { dialog.findChild<QPushButton*>(QStringLiteral("Button1"))->click(); });
    exporter().run();
    resetDialogSeams();
    EXPECT_EQ(offered, target(QStringLiteral("show.exe")));
    ASSERT_EQ(messages, QStringList{QStringLiteral("Information|Stand-alone Verasco created.|")});
    const QString package = target(QStringLiteral("holiday.exe"));

    // The members behind the Windows head, as in a Linux package.
    const QByteArray bytes = fileBytes(package);
    const QByteArray head = fileBytes(programs + "/verasco1w.dat");
    ASSERT_TRUE(bytes.startsWith(head));
    const auto start = verasco::head::PeImageEnd(reinterpret_cast<const unsigned char*>(bytes.constData()),
                                                 bytes.size(), head.size());
    ASSERT_EQ(start, std::optional<uint64_t>(head.size())) << "the members start where the head's image ends";
    const Walk walk = walkMembers(bytes, head.size());
    EXPECT_TRUE(walk.problem.isEmpty()) << walk.problem.toStdString();
    QStringList names;
    for (const Member& m : walk.members)
        names << m.name + "," + m.method + "," + QString::number(m.level);
    EXPECT_EQ(names,
              QStringList({"HOLIDAY.EXE,-lh5-,0", "QPXRUN30.DLL,-lh5-,0", "IMAGES.SLD,-lh5-,0",
                           "IMAGES.DAT,-lh5-,0", "CAFÉ.WAV,-lh5-,0", "IMAGES.VRX,-lh5-,0",
                           "CAPTION-1.PGM,-lh5-,0", "CAPTION-2.PGM,-lh5-,0", "CAPTION-3.PGM,-lh5-,0",
                           "CAPTION-4.PGM,-lh5-,0", "CAPTION-5.PGM,-lh5-,0", "CAPTION-6.PGM,-lh5-,0"}));

    // lhasa reads the members (given the archive behind the head: it looks for one only in a
    // program's first 64 KiB) and finds the show's data intact.
    QTemporaryDir out;
    const QString archive = target(QStringLiteral("members.lzh"));
    QFile lzh(archive);
    ASSERT_TRUE(lzh.open(QIODevice::WriteOnly) && lzh.write(bytes.mid(head.size())) > 0);
    lzh.close();
    const Lhasa x = lhasa({QStringLiteral("-xqw=") + out.path(), archive});
    if (x.exitCode >= 0) {
        EXPECT_EQ(x.exitCode, 0) << x.output.toStdString();
        EXPECT_EQ(fileBytes(out.filePath("holiday.exe")), fileBytes(programs + "/verasco2w.dat"));
        EXPECT_EQ(fileBytes(out.filePath("qpxrun30.dll")), fileBytes(programs + "/verasco3w.dat"));
        const SlideListFields list = readSlideList(fileBytes(out.filePath("images.sld")));
        const QByteArray data = fileBytes(out.filePath("images.dat"));
        ASSERT_EQ(list.count, 6);
        EXPECT_EQ(slideData(list, data, 0), fileBytes(Samples + "sunrise.jpg"));
        EXPECT_TRUE(slideData(list, data, 1).startsWith("\xFF\xD8\xFF")) << "QPX";
        EXPECT_TRUE(slideData(list, data, 2).isEmpty());
        EXPECT_EQ(list.records[3].audio, QStringLiteral("Café.wav").toUtf8());
    }
    QFile::remove(archive);

    // No larger than a fifth over the Linux package of the same show.
    const QString linux = target(QStringLiteral("holiday"));
    QFile::remove(programs + "/verasco2.dat");
    ASSERT_TRUE(QFile::copy(App + "verasco2.dat", programs + "/verasco2.dat"));
    ASSERT_FALSE(exporter().write(linux, qualityPreset(11), PackagePlatform::Linux));
    EXPECT_LE(bytes.size() * 5, QFileInfo(linux).size() * 6)
        << bytes.size() << " bytes for Windows, " << QFileInfo(linux).size() << " for Linux";

    if (wine().isEmpty())
        GTEST_SKIP() << "Wine (wine64, Debian's package wine64) is not installed: the package was not run";
    ASSERT_TRUE(wholeWinePrefix()) << "Wine did not make its Windows folders";
    QDir().mkpath(target(QStringLiteral("elsewhere")));
    WineRun run = runUnderWine(package, target(QStringLiteral("elsewhere")));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    ASSERT_EQ(run.slides.size(), slides.size()) << run.err.toStdString();
    const char* pictures[] = {"640x480", "480x640", "0x0", "300x300", "0x0", "0x0"};
    for (std::size_t i = 0; i < slides.size(); ++i) {
        auto line = run.slides[i];
        EXPECT_EQ(line["slide"], QString::number(i + 1));
        EXPECT_EQ(line["picture"], QLatin1String(pictures[i])) << i;
        EXPECT_EQ(line["decoder"], i == 2 || i >= 4 ? "own" : "runtime") << i;
        EXPECT_EQ(line["caption"], slides[i].second);
        EXPECT_EQ(line["delay"], "2");
    }
    EXPECT_EQ(run.slides[3]["audio"], "CAFÉ.WAV") << "the sound as unpacked beside the player";
    EXPECT_EQ(run.slides[0]["audio"], "");
    EXPECT_EQ(privateFolders(), QStringList()) << "the private folder goes with the show";
    EXPECT_TRUE(QDir(target(QStringLiteral("elsewhere"))).isEmpty());

    // A package cut short is named, not played, and unpacks nothing.
    const QString cut = target(QStringLiteral("cut.exe"));
    QFile cutFile(cut);
    ASSERT_TRUE(cutFile.open(QIODevice::WriteOnly) && cutFile.write(bytes.chopped(100)) > 0);
    cutFile.close();
    run = runUnderWine(cut, target(QStringLiteral("elsewhere")));
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(QStringLiteral("cut.exe: the package is damaged: ")) &&
                run.err.contains(QStringLiteral("(is the file cut short?)")))
        << run.err.toStdString();
    EXPECT_TRUE(run.slides.empty());
    EXPECT_EQ(privateFolders(), QStringList());
}

} // namespace
