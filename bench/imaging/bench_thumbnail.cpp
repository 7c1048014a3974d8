// A folder thumbnail from a 4000 x 3000 JPEG (quality 90): TPhoto loads it with QPXThumbnail = 1,
// shrinks it to 64 x 48 and copies it out as a packed bitmap. The peer is libjpeg's djpeg decoding the
// same file at 1/8 scale, started as a process each time (start-up included), as a viewer would.
#include "dib_memory.h"
#include "ratio_reporter.h"
#include "tphoto.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

extern char** environ;

namespace {

QString bigJpeg;

void OurThumbnail(benchmark::State& state) {
    TPhoto photo;
    photo.setQPXThumbnail(1);
    for (auto _ : state) {
        photo.setFileName(bigJpeg);
        photo.ResizeImage(64, 48);
        const qintptr h = photo.CopyDib();
        if (photo.FXError() != 0 || GlobalSize(h) != 40 + 64 * 3 * 48) {
            state.SkipWithError("thumbnail failed");
            break;
        }
    }
}
BENCHMARK(OurThumbnail)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void DjpegScale8(benchmark::State& state) {
    const QByteArray program = QStandardPaths::findExecutable(QStringLiteral("djpeg")).toLocal8Bit();
    const QByteArray file = bigJpeg.toLocal8Bit();
    if (program.isEmpty()) {
        state.SkipWithError("djpeg not installed");
        return;
    }
    for (auto _ : state) {
        char* argv[] = {const_cast<char*>("djpeg"),
                        const_cast<char*>("-scale"),
                        const_cast<char*>("1/8"),
                        const_cast<char*>("-outfile"),
                        const_cast<char*>("/dev/null"),
                        const_cast<char*>(file.constData()),
                        nullptr};
        pid_t pid = 0;
        int status = 0;
        if (posix_spawn(&pid, program.constData(), nullptr, nullptr, argv, environ) != 0 ||
            waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("djpeg failed");
            break;
        }
    }
}
BENCHMARK(DjpegScale8)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QTemporaryDir dir;
    bigJpeg = dir.filePath(QStringLiteral("photo_4000x3000.jpg"));
    // Gradient with noise: detail in every block, like a photograph, so the entropy decoding has work.
    const QString convert = QFile::exists(QStringLiteral("/usr/bin/convert"))
                                ? QStringLiteral("/usr/bin/convert")
                                : QStringLiteral("convert");
    const int made = QProcess::execute(convert, {QStringLiteral("-size"), QStringLiteral("4000x3000"),
                                                 QStringLiteral("gradient:navy-orange"),
                                                 QStringLiteral("-attenuate"), QStringLiteral("0.4"),
                                                 QStringLiteral("+noise"), QStringLiteral("Gaussian"),
                                                 QStringLiteral("-quality"), QStringLiteral("90"), bigJpeg});
    if (made != 0) {
        std::fprintf(stderr, "cannot make the test picture with ImageMagick\n");
        return 1;
    }
    return runWithRatios(argc, argv, {{"OurThumbnail", "DjpegScale8"}});
}
