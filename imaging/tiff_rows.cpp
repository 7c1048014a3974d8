// SPDX-License-Identifier: MIT
#include "tiff_rows.h"

#include "box_reduction.h"
#include "orientation.h"
#include "reader_refusal.h"

#include <QIODevice>
#include <QtEndian>

#include <tiffio.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

namespace imaging {

namespace {

// The most a strip or a tile may take, as the file holds it and as red, green, blue and alpha, for
// the picture to be read a strip or a tile at a time.
constexpr qint64 MaxPieceBytes = 64LL * 1024 * 1024;

// The most libtiff may allocate at once for a file read here (its directories, a strip or a tile).
constexpr tmsize_t MaxTiffAllocation = 2 * MaxPieceBytes;

// What libtiff's callbacks reach.
struct TiffSource {
    QIODevice* in = nullptr;
    bool shortRead = false; // the file ended before what libtiff asked for
};

tmsize_t readSource(thandle_t handle, void* to, tmsize_t size) {
    auto* source = static_cast<TiffSource*>(handle);
    const qint64 got = source->in->read(static_cast<char*>(to), qint64(size));
    if (got != qint64(size))
        source->shortRead = true;
    return tmsize_t(got);
}

tmsize_t writeNothing(thandle_t, void*, tmsize_t) {
    return 0;
}

toff_t seekSource(thandle_t handle, toff_t offset, int whence) {
    QIODevice* in = static_cast<TiffSource*>(handle)->in;
    const qint64 base = whence == SEEK_CUR ? in->pos() : whence == SEEK_END ? in->size() : 0;
    const qint64 to = base + qint64(offset);
    return to >= 0 && in->seek(to) ? toff_t(to) : toff_t(-1);
}

int closeNothing(thandle_t) {
    return 0;
}

toff_t sourceSize(thandle_t handle) {
    return toff_t(static_cast<TiffSource*>(handle)->in->size());
}

int mapNothing(thandle_t, void**, toff_t*) {
    return 0;
}

void unmapNothing(thandle_t, void*, toff_t) {}

// libtiff's messages are not shown: a file it refuses is said to be damaged.
int passOver(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

struct TiffCloser {
    void operator()(TIFF* tif) const { TIFFClose(tif); }
};
using TiffFile = std::unique_ptr<TIFF, TiffCloser>;

TiffFile openTiff(TiffSource& source) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options)
        return nullptr;
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, MaxTiffAllocation);
    TIFFOpenOptionsSetErrorHandlerExtR(options, passOver, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, passOver, nullptr);
    TiffFile tif(TIFFClientOpenExt("picture", "rm", &source, readSource, writeNothing, seekSource,
                                   closeNothing, sourceSize, mapNothing, unmapNothing, options));
    TIFFOpenOptionsFree(options);
    return tif;
}

// The pieces a picture is read in: its strips (the whole width), or its tiles.
struct Pieces {
    int width = 0;
    int height = 0;
    qint64 stored = 0; // the bytes of one piece as the file holds it, decoded
};

std::optional<Pieces> piecesOf(TIFF* tif, QSize picture) {
    Pieces p;
    if (TIFFIsTiled(tif)) {
        uint32_t width = 0, height = 0;
        TIFFGetField(tif, TIFFTAG_TILEWIDTH, &width);
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &height);
        p = {int(std::min<uint32_t>(width, INT_MAX)), int(std::min<uint32_t>(height, INT_MAX)),
             qint64(TIFFTileSize64(tif))};
    } else {
        uint32_t rows = 0;
        TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rows);
        p = {picture.width(), int(std::min<uint32_t>(rows, uint32_t(picture.height()))),
             qint64(TIFFStripSize64(tif))};
    }
    if (p.width <= 0 || p.height <= 0 || p.stored <= 0 || p.stored > MaxPieceBytes ||
        qint64(p.width) * p.height * 4 > MaxPieceBytes)
        return std::nullopt;
    return p;
}

struct RgbaImage {
    ~RgbaImage() {
        if (begun)
            TIFFRGBAImageEnd(&img);
    }
    TIFFRGBAImage img{};
    bool begun = false;
};

// Reads every piece into `reduction`, a band of pieces across the picture at a time. A row is whole
// once the band's last piece has given it.
bool readPieces(RgbaImage& rgba, const Pieces& pieces, QSize picture, BoxReduction& reduction,
                const ProgressCallback& progress) {
    std::vector<uint32_t> raster(size_t(pieces.width) * size_t(pieces.height));
    for (int y = 0; y < picture.height(); y += pieces.height) {
        const int rows = std::min(pieces.height, picture.height() - y);
        for (int x = 0; x < picture.width(); x += pieces.width) {
            const int columns = std::min(pieces.width, picture.width() - x);
            rgba.img.row_offset = y;
            rgba.img.col_offset = x;
            if (!TIFFRGBAImageGet(&rgba.img, raster.data(), uint32_t(columns), uint32_t(rows)))
                return false;
            if constexpr (Q_BYTE_ORDER == Q_BIG_ENDIAN) // libtiff gives red in each word's low byte
                for (uint32_t& pixel : raster)
                    pixel = qbswap(pixel);
            const bool last = x + columns == picture.width();
            for (int r = 0; r < rows; ++r) {
                reduction.add(y + r, reinterpret_cast<const uchar*>(raster.data() + qsizetype(r) * columns),
                              columns, x);
                if (last)
                    reduction.finishRowsAbove(y + r + 1);
            }
        }
        if (progress)
            progress(int(qint64(y + rows) * 99 / picture.height()));
    }
    return true;
}

// Reads the reduced picture of an open file whose size keeps the policy; leaves `out.taken` false
// when the file goes to the general reader.
void readReduced(TIFF* tif, TiffSource& source, QSize reduceBox, const ProgressCallback& progress,
                 TiffReduced& out) {
    const int factor = BoxReduction::factorFor(out.fullSize, orientedSize(reduceBox, out.orientation));
    const std::optional<Pieces> pieces = piecesOf(tif, out.fullSize);
    char message[1024] = {};
    if (factor < 2 || !pieces || !TIFFRGBAImageOK(tif, message))
        return;
    out.taken = true;
    RgbaImage rgba;
    const char* damaged = QT_TRANSLATE_NOOP("PictureReaders", "corrupt TIFF data");
    rgba.begun = TIFFRGBAImageBegin(&rgba.img, tif, 1, message) != 0;
    if (!rgba.begun)
        return refuseWith(&out.error, &out.failure, damaged);
    // The rows as stored, top row first: the caller turns the picture upright.
    rgba.img.orientation = ORIENTATION_TOPLEFT;
    rgba.img.req_orientation = ORIENTATION_TOPLEFT;
    BoxReduction reduction;
    // The reduced rows under way at once: those a band of tiles reaches, one for strips.
    const int bandRows = pieces->width < out.fullSize.width() ? pieces->height / factor + 2 : 1;
    if (!reduction.start(out.fullSize, factor, rgba.img.alpha != 0, true, bandRows))
        return refuseWith(&out.error, &out.failure, QT_TRANSLATE_NOOP("PictureReaders", "out of memory"),
                          DecodeFailure::OutOfMemory);
    if (!readPieces(rgba, *pieces, out.fullSize, reduction, progress))
        return refuseWith(&out.error, &out.failure,
                          source.shortRead ? QT_TRANSLATE_NOOP("PictureReaders", "TIFF data truncated")
                                           : damaged);
    out.image = reduction.take();
}

} // namespace

TiffReduced readTiffReduced(QIODevice& in, QSize reduceBox, const ProgressCallback& progress) {
    TiffReduced out;
    TiffSource source{&in};
    const TiffFile tif = openTiff(source);
    if (!tif)
        return out; // the general reader says what is wrong with it
    uint32_t width = 0, height = 0;
    uint16_t orientation = ORIENTATION_TOPLEFT;
    TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &height);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_ORIENTATION, &orientation);
    out.orientation = orientation;
    if (!fitsPicturePolicy(width, height)) {
        out.taken = true;
        refuseWith(&out.error, &out.failure, QT_TRANSLATE_NOOP("PictureReaders", "picture too large"),
                   DecodeFailure::TooLarge);
        return out;
    }
    out.fullSize = QSize(int(width), int(height));
    readReduced(tif.get(), source, reduceBox, progress, out);
    return out;
}

} // namespace imaging
