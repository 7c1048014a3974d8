// SPDX-License-Identifier: MIT
// A 60-slide show of 4000 x 3000 JPEG pictures printed as small contact sheets (15 a page, 4 pages)
// into a PDF file at 300 dpi on A4, with its progress window shown as in the program, beside
// ImageMagick's montage laying out the same 60 files on 4 pages of the same grid and picture size
// into a PDF file, started as a process each time.
//
// Debian's ImageMagick policy refuses the coder named "PDF", so montage writes through its "PDFA"
// coder (the same PDF writer). Its resource limits would not hold 60 pictures of 12 megapixels, so it
// is given the usual size hint that lets libjpeg decode them reduced, as Verasco does.
#include "bench_photos.h"
#include "bench_process.h"
#include "dialogs.h"
#include "logo_mark.h"
#include "peer_programs.h"
#include "print_dialog.h"
#include "ratio_reporter.h"
#include "show_document.h"
#include "show_of_photos.h"
#include "show_print.h"
#include "tphoto.h"

#include <QApplication>
#include <QFileInfo>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace {

constexpr int Slides = 60;
QStringList pictures;
QString ourPdf, peerPdf;

// Six different photographs, each used ten times.
bool makePictures(const QTemporaryDir& dir) {
    pictures = linkPhotos(makeLargePhotos(dir.path(), 6), dir.filePath(QStringLiteral("slides")), Slides);
    return pictures.size() == Slides;
}

void OurContactSheets(benchmark::State& state) {
    ShowDocument show;
    appendPhotoSlides(show, pictures);
    dialogSeams().printSetup = [](QPrinter* printer, QWidget*) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(ourPdf);
        printer->setPageSize(QPageSize(QPageSize::A4));
        return true;
    };
    TPhoto photo, logo;
    logo.setPicture(print::drawLogoMark());
    print::PrinterChoice printer;
    printer.setup(nullptr);
    Tprintdlg dialog;
    const print::PrintContext context{nullptr, &photo, &logo, &printer, [&state](auto&, auto& text, auto&) {
                                          state.SkipWithError(text.toStdString().c_str());
                                      }};
    print::ShowPrint run(context, show, dialog, [] { return QStringLiteral("bench.vrs"); });
    print::PrintOptions options;
    options.frameNumbers = true;
    for (auto _ : state)
        run.print(options);
}
BENCHMARK(OurContactSheets)->Unit(benchmark::kMillisecond)->Iterations(3);

void MontageContactSheets(benchmark::State& state) {
    const QByteArray program = peerProgram(QStringLiteral("montage"));
    if (program.isEmpty()) {
        state.SkipWithError("montage not installed");
        return;
    }
    // The pictures of our small contact sheet on A4 at 300 dpi are at most 693 x 498 pixels.
    std::vector<QByteArray> args = {
        "montage",      "-define", "jpeg:size=693x498", "-label", "%f",    "-font", "DejaVu-Sans",
        "-pointsize",   "8",       "-density",          "300",    "-tile", "3x5",   "-geometry",
        "693x498+40+60"};
    for (const QString& path : pictures)
        args.push_back(path.toLocal8Bit());
    for (const char* a : {"-compress", "jpeg", "-quality", "94"})
        args.emplace_back(a);
    args.push_back("PDFA:" + peerPdf.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto _ : state) {
        if (!spawnAndWait(program, argv.data())) {
            state.SkipWithError("montage failed");
            break;
        }
    }
}
BENCHMARK(MontageContactSheets)->Unit(benchmark::kMillisecond)->Iterations(3);

int pdfPages(const QString& pdf) {
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    info.waitForFinished();
    const QString out = QString::fromUtf8(info.readAllStandardOutput());
    const qsizetype at = out.indexOf(QStringLiteral("Pages:"));
    return at < 0 ? -1 : out.mid(at + 6).section(QLatin1Char('\n'), 0, 0).trimmed().toInt();
}

} // namespace

int main(int argc, char** argv) {
    preferOffscreenPlatform();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    if (!makePictures(dir)) {
        std::fprintf(stderr, "cannot make the test pictures with ImageMagick\n");
        return 1;
    }
    ourPdf = dir.filePath(QStringLiteral("verasco.pdf"));
    peerPdf = dir.filePath(QStringLiteral("montage.pdf"));
    runWithRatios(argc, argv, {{"OurContactSheets", "MontageContactSheets"}});
    const qint64 ours = QFileInfo(ourPdf).size(), peer = QFileInfo(peerPdf).size();
    std::printf("pdf size OurContactSheets %lld KiB (%d pages) vs MontageContactSheets %lld KiB (%d pages) = "
                "%.2fx\n",
                ours / 1024, pdfPages(ourPdf), peer / 1024, pdfPages(peerPdf),
                peer ? double(ours) / peer : 0.0);
    return 0;
}
