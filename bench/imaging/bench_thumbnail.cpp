// SPDX-License-Identifier: MIT
// A folder thumbnail from a 4000 x 3000 JPEG (quality 90): TPhoto loads it with QPXThumbnail = 1,
// shrinks it to 64 x 48 and copies it out as a packed bitmap. The peer is libjpeg's djpeg decoding the
// same file at 1/8 scale, started as a process each time (start-up included), as a viewer would.
// And a thumbnail of the same picture as a HEIC file with a thumbnail of its own (heif-enc -t 320),
// beside the whole picture decoded from that file.
#include "bench_photos.h"
#include "bench_process.h"
#include "dib_memory.h"
#include "heif_reader.h"
#include "image_loader.h"
#include "peer_programs.h"
#include "ratio_reporter.h"
#include "tphoto.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

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
    const Djpeg djpeg("1/8");
    if (!djpeg.installed()) {
        state.SkipWithError("djpeg not installed");
        return;
    }
    for (auto _ : state) {
        if (!djpeg.decode(bigJpeg)) {
            state.SkipWithError("djpeg failed");
            break;
        }
    }
}
BENCHMARK(DjpegScale8)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

QString heic;

void heifDecode(benchmark::State& state, QSize box) {
    if (heic.isEmpty()) {
        state.SkipWithError("heif-enc (libheif-examples) or an HEVC decoder is missing");
        return;
    }
    for (auto _ : state) {
        if (imaging::loadImageFile(heic, box).image.isNull()) {
            state.SkipWithError("the HEIC file did not decode");
            break;
        }
    }
}
void HeicThumbnail(benchmark::State& state) {
    heifDecode(state, imaging::ThumbnailBox);
}
BENCHMARK(HeicThumbnail)->Unit(benchmark::kMillisecond)->MinTime(2.0);
void HeicWholePicture(benchmark::State& state) {
    heifDecode(state, QSize());
}
BENCHMARK(HeicWholePicture)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The photograph as a HEIC file with a 320-pixel thumbnail; empty when it cannot be made or read.
QString makeHeic(const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("photo_4000x3000.heic"));
    QProcess encoder;
    encoder.start(QStringLiteral("heif-enc"),
                  {QStringLiteral("-t"), QStringLiteral("320"), bigJpeg, QStringLiteral("-o"), path});
    if (!encoder.waitForFinished(600000) || encoder.exitCode() != 0 || !imaging::heifDecodesHevc())
        return {};
    return path;
}

} // namespace

int main(int argc, char** argv) {
    preferOffscreenPlatform();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    bigJpeg = dir.filePath(QStringLiteral("photo_4000x3000.jpg"));
    const bool made = makeLargePhoto(bigJpeg, QStringLiteral("navy-orange"));
    if (!made) {
        std::fprintf(stderr, "cannot make the test picture with ImageMagick\n");
        return 1;
    }
    heic = makeHeic(dir);
    return runWithRatios(argc, argv,
                         {{"OurThumbnail", "DjpegScale8"}, {"HeicThumbnail", "HeicWholePicture"}});
}
