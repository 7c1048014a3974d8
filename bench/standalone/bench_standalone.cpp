// SPDX-License-Identifier: MIT
// The stand-alone export and its packages beside peers measured in the same run:
// - exporting a show of 100 slides of a 4000 x 3000 BMP at the opening quality, beside the sum of its
//   parts: libjpeg's cjpeg converting each picture with the same tables, the copies into the image
//   data, and our own LHA engine packing the folder behind the head;
// - the start of a package of 100 JPEG slides, from ./show.exe to the first slide on screen (the
//   player's report line), beside Debian's lhasa expanding the same archive plus the player's start;
// - the start of the same show as a Windows package under Wine beside the Linux package's start;
// - the size of that package beside the size of its pictures, and the Windows package's beside it;
// - the size of a package of 10 slides with a 4-minute song as its music packed as Ogg Vorbis,
//   beside the same package with the song as 16-bit PCM WAV (as packages held music before), and
//   the players' sizes beside theirs before they decoded Ogg Vorbis.
#include "bench_photos.h"
#include "bench_process.h"
#include "comp_lha.h"
#include "export_rig.h"
#include "package_start.h"
#include "peer_programs.h"
#include "ratio_reporter.h"
#include "wine_start.h"

#include "codec_backend.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <fstream>

namespace {

// 100 slides; VERASCO_BENCH_SLIDES may ask for fewer or more (a quicker run while working on it).
int BenchSlides = 100;

QTemporaryDir* work;
QString bigBmp; // 4000 x 3000
ExportRig* rig;

QString workPath(const QString& name) {
    return work->filePath(name);
}

void OurExport(benchmark::State& state) {
    rig->setSlides(bigBmp, BenchSlides);
    const QString target = workPath(QStringLiteral("export.exe"));
    for (auto _ : state) {
        const QString error = rig->write(target);
        if (!error.isEmpty()) {
            state.SkipWithError(qPrintable(error));
            break;
        }
    }
    state.counters["package_MB"] = double(QFileInfo(target).size()) / 1e6;
    QFile::remove(target);
}
BENCHMARK(OurExport)->Unit(benchmark::kMillisecond)->Iterations(1);

bool appendFile(QFile& to, const QString& from) {
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    while (!in.atEnd()) {
        const QByteArray block = in.read(64 * 1024);
        if (block.isEmpty() || to.write(block) != block.size())
            return false;
    }
    return true;
}

// The pictures converted by cjpeg with the tables of factors 30 and 34 (percent 50 and 56, that is
// qualities 75 and 72) and 4:2:0 sampling, appended to the image data one after the other.
bool convertAndCopy(const QByteArray& cjpeg, const QString& folder) {
    QFile data(folder + QStringLiteral("/images.dat"));
    if (!data.open(QIODevice::WriteOnly))
        return false;
    const QByteArray source = QFile::encodeName(bigBmp);
    const QByteArray converted = QFile::encodeName(workPath(QStringLiteral("converted.jpg")));
    for (int i = 0; i < BenchSlides; ++i) {
        char* argv[] = {const_cast<char*>("cjpeg"),
                        const_cast<char*>("-quality"),
                        const_cast<char*>("75,72"),
                        const_cast<char*>("-baseline"),
                        const_cast<char*>("-sample"),
                        const_cast<char*>("2x2"),
                        const_cast<char*>("-outfile"),
                        const_cast<char*>(converted.constData()),
                        const_cast<char*>(source.constData()),
                        nullptr};
        if (!spawnAndWait(cjpeg, argv) || !appendFile(data, QString::fromLocal8Bit(converted)))
            return false;
        QFile::remove(QString::fromLocal8Bit(converted));
    }
    return data.flush();
}

// The head, then the files packed by the archive engine as the export packs them, the player first.
bool pack(const QString& folder, const QString& target) {
    const QString programs = buildProgramsFolder();
    if (!QFile::copy(programs + QStringLiteral("/verasco2.dat"), folder + QStringLiteral("/SHOW.EXE")) ||
        !QFile::copy(programs + QStringLiteral("/verasco3.dat"), folder + QStringLiteral("/qpxrun30.dll")) ||
        !QFile::copy(programs + QStringLiteral("/verasco1.dat"), target))
        return false;
    std::ofstream out(QFile::encodeName(target).toStdString(), std::ios::binary | std::ios::app);
    verasco::archive::TCompLHA lha;
    lha.ExceptionOnFileError = true;
    std::vector<std::string> files;
    for (const char* name : {"SHOW.EXE", "qpxrun30.dll", "images.dat"})
        files.push_back(QFile::encodeName(folder + QLatin1Char('/') + QLatin1String(name)).toStdString());
    lha.StorePath = false;
    lha.CompressToStream(out, files, verasco::archive::TCompLHAMethod::colh5);
    return bool(out.flush());
}

void SumOfParts(benchmark::State& state) {
    const QByteArray cjpeg = peerProgram(QStringLiteral("cjpeg"));
    if (cjpeg.isEmpty()) {
        state.SkipWithError("cjpeg not installed");
        return;
    }
    const QString target = workPath(QStringLiteral("parts.exe"));
    for (auto _ : state) {
        QTemporaryDir folder(workPath(QStringLiteral("parts-XXXXXX")));
        if (!convertAndCopy(cjpeg, folder.path()) || !pack(folder.path(), target)) {
            state.SkipWithError("the parts failed");
            break;
        }
        QFile::remove(target);
    }
}
BENCHMARK(SumOfParts)->Unit(benchmark::kMillisecond)->Iterations(1);

// The music written as 16-bit PCM WAV at its own rate by ffmpeg, as packages held it before.
class WavCodec : public sharing::CodecBackend {
  public:
    sharing::SoundFacts probeSound(const QString&) override { return {}; }
    bool convertToMp3(const QString&, const QString&, const std::atomic<bool>&, QString*) override {
        return false;
    }
    bool convertToOgg(const QString& from, const QString& to, const std::atomic<bool>&, QString*) override {
        return QProcess::execute(QStringLiteral("ffmpeg"), {"-v", "error", "-nostdin", "-y", "-i", from,
                                                            "-c:a", "pcm_s16le", "-f", "wav", to}) == 0;
    }
    std::unique_ptr<sharing::VideoSink> openVideo(const QString&, const sharing::VideoSettings&,
                                                  QString*) override {
        return nullptr;
    }
};

// The players' sizes before the show's rules, Ogg Vorbis and the captions drawn once (release build of
// commit c75f76c, where they were as at the round's start).
constexpr double PlayerBytesBefore = 630968, WindowsPlayerBytesBefore = 961536;

// A package of 10 slides with a 4-minute song (MP3, 44.1 kHz stereo: two tones over pink noise) as
// Ogg Vorbis beside the same package with the song as PCM WAV; and the players' sizes.
void printMusicSizes(const QString& picture) {
    const QString song = workPath(QStringLiteral("song.mp3"));
    if (QProcess::execute(
            QStringLiteral("ffmpeg"),
            {"-v", "error", "-nostdin", "-y", "-f", "lavfi", "-i",
             "aevalsrc=0.3*sin(2*PI*440*t)+0.1*random(0)|0.3*sin(2*PI*554*t)+0.1*random(1):s=44100:d=240",
             "-c:a", "libmp3lame", "-b:a", "192k", song}) != 0) {
        std::fprintf(stderr, "ffmpeg could not make the song: no sizes of packages with music\n");
        return;
    }
    WavCodec wavCodec;
    ExportRig ogg, wav(&wavCodec);
    const QString oggPackage = workPath(QStringLiteral("music-ogg.exe")),
                  wavPackage = workPath(QStringLiteral("music-wav.exe"));
    ogg.setSlides(picture, 10, song);
    wav.setSlides(picture, 10, song);
    const QString why = ogg.write(oggPackage) + wav.write(wavPackage);
    if (!why.isEmpty()) {
        std::fprintf(stderr, "cannot export the show with music: %s\n", qPrintable(why));
        return;
    }
    const double after = double(QFileInfo(oggPackage).size()), before = double(QFileInfo(wavPackage).size());
    std::printf(
        "size  package of 10 slides and a 4-minute song as Ogg Vorbis %12.0f bytes  vs as PCM WAV %12.0f "
        "bytes  = %.4fx\n",
        after, before, after / before);
    const auto player = [](const char* what, const QString& name, double bytesBefore) {
        const double bytes = double(QFileInfo(buildProgramsFolder() + QLatin1Char('/') + name).size());
        if (bytes > 0)
            std::printf("size  %s %12.0f bytes  vs before the show's rules %12.0f bytes  = %.4fx\n", what,
                        bytes, bytesBefore, bytes / bytesBefore);
    };
    player("Linux player verasco2.dat", QStringLiteral("verasco2.dat"), PlayerBytesBefore);
    player("Windows player verasco2w.dat", QStringLiteral("verasco2w.dat"), WindowsPlayerBytesBefore);
}

} // namespace

int main(int argc, char** argv) {
    preferOffscreenPlatform();
    QApplication app(argc, argv);
    if (const int slides = qEnvironmentVariableIntValue("VERASCO_BENCH_SLIDES"); slides > 0)
        BenchSlides = slides;
    QTemporaryDir dir;
    work = &dir;
    bigBmp = dir.filePath(QStringLiteral("photo_4000x3000.bmp"));
    const QString showJpeg = dir.filePath(QStringLiteral("photo_1600x1200.jpg"));
    if (!makeLargePhoto(QStringLiteral("BMP3:") + bigBmp, QStringLiteral("navy-orange")) ||
        !makeShowPhoto(showJpeg)) {
        std::fprintf(stderr, "cannot make the test pictures with ImageMagick\n");
        return 1;
    }
    ExportRig exportRig;
    rig = &exportRig;
    const QString startPackage = dir.filePath(QStringLiteral("show.exe"));
    rig->setSlides(showJpeg, BenchSlides);
    const QString error = rig->write(startPackage);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "cannot export the show of JPEGs: %s\n", qPrintable(error));
        return 1;
    }
    // The Linux package's player, as the Windows package under Wine, shows its slides on an X server.
    if (!startPackageDisplay())
        std::fprintf(stderr, "Xvfb could not be started: the packages' starts cannot be measured\n");
    setStartPackage(startPackage, dir.path());
    const QString windowsPackage = dir.filePath(QStringLiteral("show-windows.exe"));
    QString why = rig->write(windowsPackage, PackagePlatform::Windows);
    if (why.isEmpty() && !setWinePackage(windowsPackage, dir.path(), why))
        std::fprintf(stderr, "no Windows package start: %s\n", qPrintable(why));
    runWithRatios(argc, argv,
                  {{"OurExport", "SumOfParts"},
                   {"PackageStart", "LhasaAndPlayerStart"},
                   {"WindowsPackageStartUnderWine", "PackageStart"}});
    endWine();
    const double package = double(QFileInfo(startPackage).size());
    const double pictures = double(QFileInfo(showJpeg).size()) * BenchSlides;
    std::printf("size  package of %d JPEG slides %12.0f bytes  vs its pictures %12.0f bytes  = %.4fx\n",
                BenchSlides, package, pictures, package / pictures);
    if (QFileInfo::exists(windowsPackage))
        std::printf("size  Windows package of %d JPEG slides %12.0f bytes  vs the Linux package %12.0f bytes "
                    " = %.4fx\n",
                    BenchSlides, double(QFileInfo(windowsPackage).size()), package,
                    double(QFileInfo(windowsPackage).size()) / package);
    printMusicSizes(showJpeg);
    return 0;
}
