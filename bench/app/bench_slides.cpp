// Building a slide's thumbnail from a 4000 x 3000 JPEG, and reading shows of 100 and 500 of them, against
// libjpeg's djpeg decoding the same file at 1/8 scale (process start included); and the resident
// memory of a show of 500 slides.

#include "app_windows.h"
#include "main_window.h"
#include "ovc_table.h"
#include "peer_programs.h"
#include "ratio_reporter.h"
#include "shared_flags.h"
#include "show_document.h"
#include "show_file.h"
#include "show_file_commands.h"
#include "show_slides.h"
#include "thumbnails.h"
#include "tphoto.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <fstream>
#include <string>

namespace {
QTemporaryDir* workDir = nullptr;
QString bigJpeg;

// A photograph-like picture: smooth gradients with fine noise, so the JPEG has real detail.
QString makeJpeg(const QString& name, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator random(42);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int noise = int(random.bounded(32));
            line[x] = qRgb((x * 255 / size.width() + noise) & 255, (y * 255 / size.height() + noise) & 255,
                           ((x + y) / 16 + noise) & 255);
        }
    }
    const QString path = workDir->filePath(name);
    image.save(path, "JPEG", 90);
    return path;
}

long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

void BuildSlideThumbnail4000x3000(benchmark::State& state) {
    ShowDocument show;
    SharedFlags flags;
    TPhoto photo;
    QImage work;
    ThumbnailBuilder builder(
        photo, work, [] { return 32; }, QString());
    TOvcTable grid;
    QLabel label;
    ShowSlides slides(show, builder, grid, label, flags);
    for (auto _ : state) {
        show.SlideCount = 0;
        if (!slides.AppendImageSlide(bigJpeg)) {
            state.SkipWithError("the picture did not load");
            return;
        }
    }
}

void DjpegScaleOneEighth(benchmark::State& state) {
    for (auto _ : state) {
        if (QProcess::execute("djpeg", {"-scale", "1/8", "-outfile", "/dev/null", bigJpeg}) != 0) {
            state.SkipWithError("djpeg failed");
            return;
        }
    }
}
BENCHMARK(BuildSlideThumbnail4000x3000)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(DjpegScaleOneEighth)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Shows of 100 and 500 slides of 4000 x 3000 pictures read into the real main window, against
// djpeg decoding the same pictures one after another, one process each.
QString showOf100;
QString showOf500;

void readShow(benchmark::State& state, const QString& path) {
    std::unique_ptr<AppWindows> windows(createAppWindows());
    for (auto _ : state) {
        if (!windows->MainFormverasco->showFiles().ReadShowFile(path).ok()) {
            state.SkipWithError("the show did not read");
            return;
        }
    }
}

void djpegTimes(benchmark::State& state, int times) {
    const QByteArray program = peerProgram(QStringLiteral("djpeg"));
    const QByteArray file = QFile::encodeName(bigJpeg);
    char* argv[] = {const_cast<char*>("djpeg"),
                    const_cast<char*>("-scale"),
                    const_cast<char*>("1/8"),
                    const_cast<char*>("-outfile"),
                    const_cast<char*>("/dev/null"),
                    const_cast<char*>(file.constData()),
                    nullptr};
    for (auto _ : state)
        for (int i = 0; i < times; ++i)
            if (program.isEmpty() || !spawnAndWait(program, argv)) {
                state.SkipWithError("djpeg failed");
                return;
            }
}

void ReadShowOf100Slides(benchmark::State& state) {
    readShow(state, showOf100);
}
void DjpegScaleOneEighth100Times(benchmark::State& state) {
    djpegTimes(state, 100);
}
void ReadShowOf500Slides(benchmark::State& state) {
    readShow(state, showOf500);
}
void DjpegScaleOneEighth500Times(benchmark::State& state) {
    djpegTimes(state, 500);
}
BENCHMARK(ReadShowOf100Slides)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(DjpegScaleOneEighth100Times)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ReadShowOf500Slides)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(DjpegScaleOneEighth500Times)->Unit(benchmark::kMillisecond)->Iterations(1);

QString writeShowOf(int slides) {
    ShowDocument show;
    for (int i = 0; i < slides; ++i)
        show.slide(i).ImageFile.assign(QFile::encodeName(bigJpeg).toStdString());
    show.SlideCount = slides;
    const QString path = workDir->filePath(QStringLiteral("show%1.vrs").arg(slides));
    ShowFile::write(path, show);
    return path;
}

// Five hundred slides of 640 x 480 pictures in the real main window.
void reportShowMemory() {
    const long before = residentKilobytes();
    std::unique_ptr<AppWindows> windows(createAppWindows());
    const QString picture = makeJpeg("slide.jpg", {640, 480});
    QStringList paths;
    for (int i = 0; i < 500; ++i) {
        const QString copy = workDir->filePath(QStringLiteral("slide%1.jpg").arg(i));
        QFile::copy(picture, copy);
        paths.append(copy);
    }
    windows->MainFormverasco->DropFiles(paths);
    const long after = residentKilobytes();
    std::printf("memory show of %d slides: resident %.1f MB (process before the windows: %.1f MB), "
                "target 80 MB = %.2fx of the target\n",
                windows->MainFormverasco->document().SlideCount, after / 1024.0, before / 1024.0,
                after / 1024.0 / 80.0);
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QTemporaryDir dir;
    workDir = &dir;
    bigJpeg = makeJpeg("big.jpg", {4000, 3000});
    showOf100 = writeShowOf(100);
    showOf500 = writeShowOf(500);
    reportShowMemory();
    return runWithRatios(argc, argv,
                         {{"BuildSlideThumbnail4000x3000", "DjpegScaleOneEighth"},
                          {"ReadShowOf100Slides", "DjpegScaleOneEighth100Times"},
                          {"ReadShowOf500Slides", "DjpegScaleOneEighth500Times"}});
}
