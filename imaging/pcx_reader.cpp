// SPDX-License-Identifier: MIT
#include "pcx_reader.h"

#include "image_format.h"
#include "le_bytes.h"
#include "reader_refusal.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace imaging {

namespace {

// The 128-byte file header, as laid out in the file.
struct PcxHeader {
    uint8_t manufacturer; // always 0x0A
    uint8_t version;
    uint8_t encoding;     // 1 = run-length coded, 0 = raw
    uint8_t bitsPerPixel; // per plane
    uint16_t xMin, yMin, xMax, yMax;
    uint16_t hDpi, vDpi;
    uint8_t colorMap[48]; // 16 RGB entries for pictures of up to 16 colours
    uint8_t reserved;
    uint8_t planes;
    uint16_t bytesPerLine; // per plane; may be odd although the format asks for even
    uint16_t paletteInfo;
    uint16_t hScreen, vScreen;
    uint8_t filler[54];
};
static_assert(sizeof(PcxHeader) == 128);
static_assert(offsetof(PcxHeader, version) == 1);
static_assert(offsetof(PcxHeader, encoding) == 2);
static_assert(offsetof(PcxHeader, bitsPerPixel) == 3);
static_assert(offsetof(PcxHeader, xMin) == 4);
static_assert(offsetof(PcxHeader, yMin) == 6);
static_assert(offsetof(PcxHeader, xMax) == 8);
static_assert(offsetof(PcxHeader, yMax) == 10);
static_assert(offsetof(PcxHeader, hDpi) == 12);
static_assert(offsetof(PcxHeader, vDpi) == 14);
static_assert(offsetof(PcxHeader, colorMap) == 16);
static_assert(offsetof(PcxHeader, reserved) == 64);
static_assert(offsetof(PcxHeader, planes) == 65);
static_assert(offsetof(PcxHeader, bytesPerLine) == 66);
static_assert(offsetof(PcxHeader, paletteInfo) == 68);
static_assert(offsetof(PcxHeader, hScreen) == 70);
static_assert(offsetof(PcxHeader, vScreen) == 72);
static_assert(offsetof(PcxHeader, filler) == 74);

constexpr qsizetype HeaderSize = 128;
constexpr qsizetype TrailingPaletteSize = 769; // marker byte 0x0C and 256 RGB entries

PcxHeader parseHeader(QByteArrayView f) {
    PcxHeader h{};
    h.manufacturer = uint8_t(f[0]);
    h.version = uint8_t(f[1]);
    h.encoding = uint8_t(f[2]);
    h.bitsPerPixel = uint8_t(f[3]);
    h.xMin = le::read16(f, 4);
    h.yMin = le::read16(f, 6);
    h.xMax = le::read16(f, 8);
    h.yMax = le::read16(f, 10);
    h.hDpi = le::read16(f, 12);
    h.vDpi = le::read16(f, 14);
    for (int i = 0; i < 48; ++i)
        h.colorMap[i] = uint8_t(f[16 + i]);
    h.reserved = uint8_t(f[64]);
    h.planes = uint8_t(f[65]);
    h.bytesPerLine = le::read16(f, 66);
    h.paletteInfo = le::read16(f, 68);
    h.hScreen = le::read16(f, 70);
    h.vScreen = le::read16(f, 72);
    return h;
}

bool fail(QString* error, DecodeFailure* failure, const char* text,
          DecodeFailure kind = DecodeFailure::BadData) {
    refuseWith(error, failure, text, kind);
    return false;
}

bool supportedLayout(int bits, int planes) {
    if (bits == 1)
        return planes >= 1 && planes <= 4;
    if (bits == 2 || bits == 4)
        return planes == 1;
    if (bits == 8)
        return planes == 1 || planes == 3 || planes == 4;
    return false;
}

// The plane data, expanded a line at a time. Runs may cross line ends, as many writers produce them:
// a run's rest carries over to the next line. Plain pointer loops: this runs for every byte of a
// picture.
class PlaneData {
  public:
    PlaneData(QByteArrayView data, bool rle)
        : in_(reinterpret_cast<const uint8_t*>(data.data())), have_(size_t(data.size())), rle_(rle) {}

    // Fills the `n` bytes of the next line; false when the data ends first.
    bool nextLine(uint8_t* dst, size_t n) {
        if (!rle_) {
            if (have_ - i_ < n)
                return false;
            std::memcpy(dst, in_ + i_, n);
            i_ += n;
            return true;
        }
        size_t o = 0;
        while (o < n) {
            if (runLeft_ == 0 && !startRun())
                return false;
            const size_t count = std::min(runLeft_, n - o);
            std::memset(dst + o, runByte_, count);
            runLeft_ -= count;
            o += count;
        }
        return true;
    }

  private:
    bool startRun() {
        if (i_ >= have_)
            return false;
        runByte_ = in_[i_++];
        runLeft_ = 1;
        if ((runByte_ & 0xC0) == 0xC0) {
            runLeft_ = runByte_ & 0x3F;
            if (i_ >= have_)
                return false;
            runByte_ = in_[i_++];
        }
        return true;
    }

    const uint8_t* in_;
    size_t have_;
    size_t i_ = 0;
    bool rle_;
    size_t runLeft_ = 0;
    uint8_t runByte_ = 0;
};

std::array<QRgb, 256> headerPalette(const PcxHeader& h) {
    std::array<QRgb, 256> pal{};
    for (int i = 0; i < 16; ++i)
        pal[i] = qRgb(h.colorMap[3 * i], h.colorMap[3 * i + 1], h.colorMap[3 * i + 2]);
    // Old two-colour files leave the colour map empty: they are black (0) and white (1).
    if (h.bitsPerPixel == 1 && h.planes == 1 && pal[0] == pal[1]) {
        pal[0] = qRgb(0, 0, 0);
        pal[1] = qRgb(255, 255, 255);
    }
    return pal;
}

// What the header says about the picture, checked: its size and that of its decoded plane data.
struct PcxLayout {
    PcxHeader header;
    int width = 0;
    int height = 0;
    qint64 lineBytes = 0; // all planes of one line
    qint64 total = 0;     // all lines
    bool indexed() const { return header.planes == 1 || header.bitsPerPixel < 8; }
    bool alpha() const { return header.bitsPerPixel == 8 && header.planes == 4; }
};

std::nullopt_t refuse(QString* error, DecodeFailure* failure, const char* text,
                      DecodeFailure kind = DecodeFailure::BadData) {
    fail(error, failure, text, kind);
    return std::nullopt;
}

// The layout of a PCX file, or nothing (with the reason) when it is no picture this reader handles.
std::optional<PcxLayout> readLayout(QByteArrayView file, QString* error, DecodeFailure* failure) {
    if (file.size() < HeaderSize || uint8_t(file[0]) != 0x0A)
        return refuse(error, failure, QT_TRANSLATE_NOOP("PictureReaders", "not a PCX file"));
    PcxLayout l;
    l.header = parseHeader(file);
    const PcxHeader& h = l.header;
    if (h.encoding > 1 || !supportedLayout(h.bitsPerPixel, h.planes))
        return refuse(error, failure, QT_TRANSLATE_NOOP("PictureReaders", "unsupported PCX layout"));
    if (h.xMax < h.xMin || h.yMax < h.yMin)
        return refuse(error, failure, QT_TRANSLATE_NOOP("PictureReaders", "PCX picture has no pixels"));
    l.width = h.xMax - h.xMin + 1;
    l.height = h.yMax - h.yMin + 1;
    const qint64 lineBits = qint64(l.width) * h.bitsPerPixel;
    if (qint64(h.bytesPerLine) * 8 < lineBits)
        return refuse(error, failure,
                      QT_TRANSLATE_NOOP("PictureReaders", "PCX line length too short for the width"));
    l.lineBytes = qint64(h.bytesPerLine) * h.planes;
    l.total = l.lineBytes * l.height;
    if (!fitsPicturePolicy(l.width, l.height) || !fitsDecodeBudget(l.width, l.height))
        return refuse(error, failure, QT_TRANSLATE_NOOP("PictureReaders", "PCX picture too large"),
                      DecodeFailure::TooLarge);
    return l;
}

// Sets the palette of an indexed picture and returns the plane data. An 8-bit single-plane picture
// takes its 256 colours from the end of the file (those bytes are then no plane data), or greys when
// the file has none.
QByteArrayView paletteAndData(QByteArrayView file, const PcxLayout& l, std::array<QRgb, 256>& palette) {
    const PcxHeader& h = l.header;
    if (h.bitsPerPixel == 8 && h.planes == 1) {
        const qsizetype at = file.size() - TrailingPaletteSize;
        if (at >= HeaderSize && uint8_t(file[at]) == 0x0C) {
            for (int i = 0; i < 256; ++i)
                palette[i] = qRgb(uint8_t(file[at + 1 + 3 * i]), uint8_t(file[at + 2 + 3 * i]),
                                  uint8_t(file[at + 3 + 3 * i]));
            return file.sliced(HeaderSize, at - HeaderSize);
        }
        for (int i = 0; i < 256; ++i)
            palette[i] = qRgb(i, i, i);
    } else if (l.indexed()) {
        palette = headerPalette(h);
    }
    return file.sliced(HeaderSize);
}

// The pixels of one line from its planes.
void convertLine(const PcxLayout& l, const std::array<QRgb, 256>& palette, const uint8_t* line, QRgb* out) {
    const int width = l.width;
    const int bpl = l.header.bytesPerLine;
    const int bits = l.header.bitsPerPixel;
    const int planes = l.header.planes;
    if (!l.indexed()) {
        const bool alpha = l.alpha();
        for (int x = 0; x < width; ++x) {
            const int a = alpha ? line[3 * bpl + x] : 255;
            out[x] = qRgba(line[x], line[bpl + x], line[2 * bpl + x], a);
        }
    } else if (bits == 8) {
        for (int x = 0; x < width; ++x)
            out[x] = palette[line[x]];
    } else if (bits == 1) {
        for (int x = 0; x < width; ++x) {
            int index = 0;
            for (int p = 0; p < planes; ++p)
                index |= ((line[p * bpl + x / 8] >> (7 - x % 8)) & 1) << p;
            out[x] = palette[index];
        }
    } else {
        const int perByte = 8 / bits;
        const int mask = (1 << bits) - 1;
        for (int x = 0; x < width; ++x) {
            const int shift = 8 - bits * (x % perByte + 1);
            out[x] = palette[(line[x / perByte] >> shift) & mask];
        }
    }
}

} // namespace

QImage readPcx(QByteArrayView file, QString* error, DecodeFailure* failure) {
    const std::optional<PcxLayout> layout = readLayout(file, error, failure);
    if (!layout)
        return {};
    const PcxLayout& l = *layout;
    std::array<QRgb, 256> palette{};
    const QByteArrayView data = paletteAndData(file, l, palette);
    // A coded byte pair expands to at most 63 bytes: reject headers that promise more than the data holds.
    if (l.header.encoding == 1 && l.total > (data.size() / 2 + 1) * 63) {
        fail(error, failure, QT_TRANSLATE_NOOP("PictureReaders", "PCX data truncated"));
        return {};
    }
    QImage image(l.width, l.height, l.alpha() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull()) {
        fail(error, failure, QT_TRANSLATE_NOOP("PictureReaders", "out of memory"),
             DecodeFailure::OutOfMemory);
        return {};
    }
    PlaneData planes(data, l.header.encoding == 1);
    std::vector<uint8_t> line(size_t(l.lineBytes), 0);
    for (int y = 0; y < l.height; ++y) {
        if (!planes.nextLine(line.data(), line.size())) {
            fail(error, failure, QT_TRANSLATE_NOOP("PictureReaders", "PCX data truncated"));
            return {};
        }
        convertLine(l, palette, line.data(), reinterpret_cast<QRgb*>(image.scanLine(y)));
    }
    return image;
}

} // namespace imaging
