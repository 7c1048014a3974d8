// SPDX-License-Identifier: MIT
#include "png_rows.h"

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

// How many pixels a side each reduced pixel takes: as many as leave the reduced picture covering
// what the picture becomes when fitted into `box`.
int reduction(QSize picture, QSize box) {
    if (picture.isEmpty() || box.isEmpty())
        return 1;
    return std::max({1, picture.width() / box.width(), picture.height() / box.height()});
}

QSize reducedSize(QSize picture, int factor) {
    return {(picture.width() + factor - 1) / factor, (picture.height() + factor - 1) / factor};
}

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
    int factor = 1;
    bool interlaced = false;
    std::vector<uchar> row;    // one row as libpng gives it
    std::vector<quint64> sums; // per reduced pixel: red, green and blue weighted by alpha, and alpha
    QImage image;
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

// Adds a row of `count` pixels that lie at x = first, first + step, ... on row `y` of the picture.
void addRow(PngState* s, int y, int count, int first, int step) {
    const int k = s->factor;
    const qsizetype reducedRow = s->interlaced ? y / k : 0;
    quint64* const line = s->sums.data() + reducedRow * s->image.width() * Channels;
    const uchar* p = s->row.data();
    quint64* sum = line;
    int boxEnd = 0;
    for (int i = 0, x = first; i < count; ++i, x += step, p += Channels) {
        if (x >= boxEnd) {
            sum = line + qsizetype(x / k) * Channels;
            boxEnd = (x / k + 1) * k;
        }
        const quint64 alpha = p[3];
        sum[0] += p[0] * alpha;
        sum[1] += p[1] * alpha;
        sum[2] += p[2] * alpha;
        sum[3] += alpha;
    }
}

int weighted(quint64 sum, quint64 alpha) {
    return int((sum + alpha / 2) / alpha);
}

// Turns the sums of reduced row `y` into its pixels and clears them.
void writeRow(PngState* s, int y, quint64* sums) {
    const int k = s->factor;
    const quint64 tall = quint64(std::min(k, s->fullSize.height() - y * k));
    auto* out = reinterpret_cast<QRgb*>(s->image.scanLine(y));
    for (int x = 0; x < s->image.width(); ++x, sums += Channels) {
        const quint64 count = tall * quint64(std::min(k, s->fullSize.width() - x * k));
        const quint64 alpha = sums[3];
        out[x] = alpha == 0 ? 0
                            : qRgba(weighted(sums[0], alpha), weighted(sums[1], alpha),
                                    weighted(sums[2], alpha), int((alpha + count / 2) / count));
        std::fill(sums, sums + Channels, 0);
    }
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
            addRow(s, y, size.width(), firstX, stepX);
            if (!s->interlaced && ((y + 1) % s->factor == 0 || y + 1 == s->fullSize.height()))
                writeRow(s, y / s->factor, s->sums.data());
            reportProgress(s, ++done, total);
        }
    }
    if (s->interlaced)
        for (int y = 0; y < s->image.height(); ++y)
            writeRow(s, y, s->sums.data() + qsizetype(y) * s->image.width() * Channels);
}

// Returns false with s->failure set, or true with s->image filled.
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
    s->factor = reduction(s->fullSize, reduceBox);
    const QSize reduced = reducedSize(s->fullSize, s->factor);
    s->image = QImage(reduced, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (s->image.isNull()) {
        s->failure = QT_TRANSLATE_NOOP("PictureReaders", "out of memory");
        s->failureKind = DecodeFailure::OutOfMemory;
        return false;
    }
    s->row.resize(size_t(s->fullSize.width()) * Channels);
    s->sums.assign(size_t(reduced.width()) * Channels * size_t(s->interlaced ? reduced.height() : 1), 0);
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
    const int factor = reduction(picture, reduceBox);
    const QSize reduced = reducedSize(picture, factor);
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
    return std::move(s->image);
}

} // namespace imaging
