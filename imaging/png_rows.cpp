// SPDX-License-Identifier: MIT
#include "png_rows.h"

#include "box_reduction.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QtEndian>

#include <png.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace imaging {

namespace {

constexpr int Channels = 4; // red, green, blue and alpha, as libpng gives them after its changes

// The largest reduced picture of an interlaced PNG, whose sums are all kept until its last pass
// (32 bytes a pixel: 64 MB).
constexpr qint64 MaxInterlacedReducedPixels = 2'000'000;

// Everything the reading touches after its setjmp lives here, reached through one pointer that never
// changes, so a jump back from libpng finds it intact.
struct PngState {
    ~PngState() { png_destroy_read_struct(&png, &info, nullptr); }
    png_structp png = nullptr;
    png_infop info = nullptr;
    QIODevice* in = nullptr;
    qint64 left = 0; // the bytes that may still be read
    const ProgressCallback* progress = nullptr;
    int lastPercent = -1;
    const char* failure = nullptr;
    DecodeFailure failureKind = DecodeFailure::BadData;
    QSize fullSize;
    bool interlaced = false;
    std::vector<uchar> row; // one row as libpng gives it
    BoxReduction reduction;
};

[[noreturn]] void stop(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void passOverWarning(png_structp, png_const_charp) {}

void readBytes(png_structp png, png_bytep to, size_t size) {
    auto* s = static_cast<PngState*>(png_get_io_ptr(png));
    if (qint64(size) > s->left || s->in->read(reinterpret_cast<char*>(to), qint64(size)) != qint64(size)) {
        s->failure = QT_TRANSLATE_NOOP("PictureReaders", "PNG data truncated");
        png_error(png, "truncated");
    }
    s->left -= qint64(size);
}

// Sets libpng to give every row as 8-bit red, green, blue and alpha.
void askForRgba(PngState* s) {
    png_set_expand(s->png); // palettes and gray below 8 bits to 8 bits, transparency to alpha
    png_set_scale_16(s->png);
    png_set_gray_to_rgb(s->png);
    png_set_filler(s->png, 0xff, PNG_FILLER_AFTER);
    png_read_update_info(s->png, s->info);
    if (png_get_rowbytes(s->png, s->info) != size_t(s->fullSize.width()) * Channels)
        png_error(s->png, "unexpected row layout");
}

void reportProgress(PngState* s, qint64 done, qint64 total) {
    const int percent = int(std::min<qint64>(99, done * 100 / total));
    if (*s->progress && percent != s->lastPercent) {
        s->lastPercent = percent;
        (*s->progress)(percent);
    }
}

// The columns and rows of a pass: of the whole picture when it is not interlaced.
QSize passSize(const PngState* s, int pass) {
    if (!s->interlaced)
        return s->fullSize;
    const auto width = png_uint_32(s->fullSize.width()), height = png_uint_32(s->fullSize.height());
    const QSize size(int(PNG_PASS_COLS(width, pass)), int(PNG_PASS_ROWS(height, pass)));
    return size.isEmpty() ? QSize() : size; // libpng passes over an empty pass
}

// Reads every row of every pass (one pass when the picture is not interlaced) into the sums,
// writing each reduced row once all of its pixels are in.
void readRows(PngState* s) {
    const int passes = s->interlaced ? PNG_INTERLACE_ADAM7_PASSES : 1;
    qint64 total = 0, done = 0;
    for (int pass = 0; pass < passes; ++pass)
        total += qMax(0, passSize(s, pass).height());
    for (int pass = 0; pass < passes; ++pass) {
        const QSize size = passSize(s, pass);
        const int firstX = s->interlaced ? PNG_PASS_START_COL(pass) : 0;
        const int stepX = s->interlaced ? 1 << PNG_PASS_COL_SHIFT(pass) : 1;
        for (int r = 0; r < size.height(); ++r) {
            png_read_row(s->png, s->row.data(), nullptr);
            const int y = s->interlaced ? PNG_PASS_START_ROW(pass) + (r << PNG_PASS_ROW_SHIFT(pass)) : r;
            s->reduction.add(y, s->row.data(), size.width(), firstX, stepX);
            if (!s->interlaced)
                s->reduction.finishRowsAbove(y + 1);
            reportProgress(s, ++done, total);
        }
    }
    s->reduction.finishRowsAbove(s->fullSize.height());
}

// Returns false with s->failure set, or true with the reduced picture made.
bool runRead(PngState* s, QSize reduceBox) {
    if (setjmp(png_jmpbuf(s->png))) {
        if (!s->failure)
            s->failure = QT_TRANSLATE_NOOP("PictureReaders", "corrupt PNG data");
        return false;
    }
    png_set_read_fn(s->png, s, readBytes);
    png_read_info(s->png, s->info);
    s->fullSize =
        QSize(int(png_get_image_width(s->png, s->info)), int(png_get_image_height(s->png, s->info)));
    if (!fitsPicturePolicy(s->fullSize.width(), s->fullSize.height())) {
        s->failure = QT_TRANSLATE_NOOP("PictureReaders", "picture too large");
        s->failureKind = DecodeFailure::TooLarge;
        return false;
    }
    const bool alpha = (png_get_color_type(s->png, s->info) & PNG_COLOR_MASK_ALPHA) != 0 ||
                       png_get_valid(s->png, s->info, PNG_INFO_tRNS) != 0;
    s->interlaced = png_get_interlace_type(s->png, s->info) == PNG_INTERLACE_ADAM7;
    askForRgba(s);
    const int factor = BoxReduction::factorFor(s->fullSize, reduceBox);
    // An interlaced picture's rows come in every pass: all of its reduced rows are under way at once.
    const int bandRows = s->interlaced ? BoxReduction::reducedSize(s->fullSize, factor).height() : 1;
    if (!s->reduction.start(s->fullSize, factor, alpha, false, bandRows)) {
        s->failure = QT_TRANSLATE_NOOP("PictureReaders", "out of memory");
        s->failureKind = DecodeFailure::OutOfMemory;
        return false;
    }
    s->row.resize(size_t(s->fullSize.width()) * Channels);
    readRows(s);
    png_read_end(s->png, nullptr);
    return true;
}

} // namespace

bool pngReadsInRows(QByteArrayView head, QSize reduceBox) {
    static constexpr uchar Signature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (head.size() < PngHeadBytes || std::memcmp(head.data(), Signature, sizeof Signature) != 0 ||
        std::memcmp(head.data() + 12, "IHDR", 4) != 0)
        return false;
    const auto width = qFromBigEndian<quint32>(head.data() + 16);
    const auto height = qFromBigEndian<quint32>(head.data() + 20);
    if (!fitsPicturePolicy(width, height))
        return false; // refused as it is by the general reader
    const QSize picture{int(width), int(height)};
    const int factor = BoxReduction::factorFor(picture, reduceBox);
    const QSize reduced = BoxReduction::reducedSize(picture, factor);
    const bool interlaced = head[28] != 0;
    return factor >= 2 &&
           (!interlaced || qint64(reduced.width()) * reduced.height() <= MaxInterlacedReducedPixels);
}

QImage readPngReduced(QIODevice& in, qint64 limit, QSize reduceBox, QString* error, DecodeFailure* failure,
                      QSize* fullSize, const ProgressCallback& progress) {
    auto s = std::make_unique<PngState>();
    s->in = &in;
    s->left = limit;
    s->progress = &progress;
    s->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, s.get(), stop, passOverWarning);
    s->info = s->png ? png_create_info_struct(s->png) : nullptr;
    if (!s->info) {
        s->failure = QT_TRANSLATE_NOOP("PictureReaders", "out of memory");
        s->failureKind = DecodeFailure::OutOfMemory;
    }
    const bool read = s->info && runRead(s.get(), reduceBox);
    *fullSize = s->fullSize;
    if (!read) {
        *error = QCoreApplication::translate("PictureReaders", s->failure);
        *failure = s->failureKind;
        return {};
    }
    return s->reduction.take();
}

} // namespace imaging
