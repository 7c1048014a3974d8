// SPDX-License-Identifier: MIT
#include "tga_reader.h"

#include "image_format.h"
#include "le_bytes.h"
#include "reader_refusal.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace imaging {

namespace {

// The 18-byte file header, as laid out in the file.
struct TgaHeader {
    uint8_t idLength;
    uint8_t colorMapType;
    uint8_t imageType;                 // 1, 2, 3 raw; 9, 10, 11 run-length coded
    uint8_t mapFirstLow, mapFirstHigh; // the colour-map fields are unaligned 16-bit values
    uint8_t mapLengthLow, mapLengthHigh;
    uint8_t mapEntryBits;
    uint16_t xOrigin, yOrigin;
    uint16_t width, height;
    uint8_t pixelBits;
    uint8_t descriptor; // bits 0-3 alpha bits, bit 4 right-to-left, bit 5 top-to-bottom
};
static_assert(sizeof(TgaHeader) == 18);
static_assert(offsetof(TgaHeader, colorMapType) == 1);
static_assert(offsetof(TgaHeader, imageType) == 2);
static_assert(offsetof(TgaHeader, mapFirstLow) == 3);
static_assert(offsetof(TgaHeader, mapLengthLow) == 5);
static_assert(offsetof(TgaHeader, mapEntryBits) == 7);
static_assert(offsetof(TgaHeader, xOrigin) == 8);
static_assert(offsetof(TgaHeader, yOrigin) == 10);
static_assert(offsetof(TgaHeader, width) == 12);
static_assert(offsetof(TgaHeader, height) == 14);
static_assert(offsetof(TgaHeader, pixelBits) == 16);
static_assert(offsetof(TgaHeader, descriptor) == 17);

constexpr qsizetype HeaderSize = 18;

// The reasons that are no fault of the file.
const char* const TooLarge = QT_TRANSLATE_NOOP("PictureReaders", "TGA picture too large");
const char* const OutOfMemory = QT_TRANSLATE_NOOP("PictureReaders", "out of memory");

QImage fail(QString* error, DecodeFailure* failure, const char* text) {
    refuseWith(error, failure, text,
               text == TooLarge ? DecodeFailure::TooLarge
               : std::string_view(text) == QT_TRANSLATE_NOOP("PictureReaders", "out of memory")
                   ? DecodeFailure::OutOfMemory
                   : DecodeFailure::BadData);
    return {};
}

int expand5(int v) {
    return (v << 3) | (v >> 2);
}

// Converts one stored pixel (or colour-map entry) of `bits` bits to a colour.
QRgb decodeColour(const uint8_t* p, int bits, bool withAlpha) {
    switch (bits) {
    case 8:
        return qRgb(p[0], p[0], p[0]);
    case 15:
    case 16: {
        const int v = p[0] | p[1] << 8;
        return qRgb(expand5((v >> 10) & 31), expand5((v >> 5) & 31), expand5(v & 31));
    }
    case 24:
        return qRgb(p[2], p[1], p[0]);
    default:
        return qRgba(p[2], p[1], p[0], withAlpha ? p[3] : 255);
    }
}

// The stored pixels of `bytes` bytes each, read a row at a time, raw or run-length coded. Packets
// may cross row ends: a packet's rest carries over to the next row. Plain pointer loops: this runs
// for every pixel of a picture.
class PixelStream {
  public:
    PixelStream(QByteArrayView data, bool rle, int bytes)
        : in_(reinterpret_cast<const uint8_t*>(data.data())), have_(size_t(data.size())), rle_(rle),
          pixelBytes_(size_t(bytes)) {}

    // Fills the next row of `pixels` pixels; false when the data ends first.
    bool nextRow(uint8_t* dst, size_t pixels) {
        const size_t want = pixels * pixelBytes_;
        if (!rle_) {
            if (have_ - i_ < want)
                return false;
            std::memcpy(dst, in_ + i_, want);
            i_ += want;
            return true;
        }
        size_t o = 0;
        while (o < want) {
            if (packetLeft_ == 0 && !startPacket())
                return false;
            const size_t n = std::min(packetLeft_, (want - o) / pixelBytes_);
            if (repeated_) {
                for (size_t k = 0; k < n; ++k)
                    std::memcpy(dst + o + k * pixelBytes_, in_ + i_ - pixelBytes_, pixelBytes_);
            } else {
                std::memcpy(dst + o, in_ + i_, n * pixelBytes_);
                i_ += n * pixelBytes_;
            }
            packetLeft_ -= n;
            o += n * pixelBytes_;
        }
        return true;
    }

  private:
    // Reads a packet header and checks that the file holds the packet's pixels.
    bool startPacket() {
        if (i_ >= have_)
            return false;
        const uint8_t packet = in_[i_++];
        packetLeft_ = size_t(packet & 0x7F) + 1;
        repeated_ = packet & 0x80;
        const size_t stored = repeated_ ? pixelBytes_ : packetLeft_ * pixelBytes_;
        if (have_ - i_ < stored)
            return false;
        if (repeated_)
            i_ += pixelBytes_; // the one pixel is copied from just behind the read position
        return true;
    }

    const uint8_t* in_;
    size_t have_;
    size_t i_ = 0;
    bool rle_;
    size_t pixelBytes_;
    size_t packetLeft_ = 0;
    bool repeated_ = false;
};

TgaHeader parseHeader(QByteArrayView file) {
    TgaHeader h{};
    h.idLength = uint8_t(file[0]);
    h.colorMapType = uint8_t(file[1]);
    h.imageType = uint8_t(file[2]);
    h.mapFirstLow = uint8_t(file[3]);
    h.mapFirstHigh = uint8_t(file[4]);
    h.mapLengthLow = uint8_t(file[5]);
    h.mapLengthHigh = uint8_t(file[6]);
    h.mapEntryBits = uint8_t(file[7]);
    h.width = le::read16(file, 12);
    h.height = le::read16(file, 14);
    h.pixelBits = uint8_t(file[16]);
    h.descriptor = uint8_t(file[17]);
    return h;
}

int kindOf(const TgaHeader& h) {
    return h.imageType & 7; // 1 colour-mapped, 2 true colour, 3 grey
}

// Why this reader does not handle the picture's type, size or pixel depth; nothing when it does.
const char* unsupported(const TgaHeader& h) {
    const int kind = kindOf(h);
    if ((kind < 1 || kind > 3) || (h.imageType & ~0x0B) != 0 || h.colorMapType > 1)
        return QT_TRANSLATE_NOOP("PictureReaders", "unsupported TGA type");
    if (h.width == 0 || h.height == 0)
        return QT_TRANSLATE_NOOP("PictureReaders", "bad TGA size");
    if (!fitsPicturePolicy(h.width, h.height) || !fitsDecodeBudget(h.width, h.height))
        return TooLarge;
    const int bits = h.pixelBits;
    const bool validBits = (kind == 1 && (bits == 8 || bits == 16)) ||
                           (kind == 2 && (bits == 15 || bits == 16 || bits == 24 || bits == 32)) ||
                           (kind == 3 && bits == 8);
    return validBits ? nullptr : QT_TRANSLATE_NOOP("PictureReaders", "unsupported TGA pixel depth");
}

// Reads the colour map that starts at `at` and moves `at` past it; why it cannot, or nothing.
const char* readColourMap(QByteArrayView file, const TgaHeader& h, qsizetype& at,
                          std::vector<QRgb>& colourMap) {
    if (h.colorMapType != 1)
        return kindOf(h) == 1
                   ? QT_TRANSLATE_NOOP("PictureReaders", "TGA colour-mapped picture without a colour map")
                   : nullptr;
    const int mapFirst = h.mapFirstLow | h.mapFirstHigh << 8;
    const int mapLength = h.mapLengthLow | h.mapLengthHigh << 8;
    const int entryBits = h.mapEntryBits;
    if (entryBits != 15 && entryBits != 16 && entryBits != 24 && entryBits != 32)
        return QT_TRANSLATE_NOOP("PictureReaders", "unsupported TGA colour map");
    const int entryBytes = (entryBits + 7) / 8;
    const qint64 mapBytes = qint64(mapLength) * entryBytes;
    if (file.size() - at < mapBytes)
        return QT_TRANSLATE_NOOP("PictureReaders", "TGA colour map truncated");
    colourMap.assign(size_t(mapFirst + mapLength), qRgb(0, 0, 0));
    for (int i = 0; i < mapLength; ++i)
        colourMap[size_t(mapFirst + i)] = decodeColour(
            reinterpret_cast<const uint8_t*>(file.data() + at + qsizetype(i) * entryBytes), entryBits, true);
    at += qsizetype(mapBytes);
    return nullptr;
}

// Puts one row of stored pixels into the picture's row, in the column order the descriptor gives.
void convertRow(const TgaHeader& h, const uint8_t* src, const std::vector<QRgb>& colourMap, bool alpha,
                QRgb* out) {
    const int kind = kindOf(h);
    const int bits = h.pixelBits;
    const int bytes = (bits + 7) / 8;
    const int width = h.width;
    const bool rightToLeft = h.descriptor & 0x10;
    for (int col = 0; col < width; ++col) {
        const uint8_t* p = src + size_t(col) * size_t(bytes);
        QRgb c;
        if (kind == 1) {
            const size_t index = bytes == 1 ? p[0] : size_t(p[0] | p[1] << 8);
            c = index < colourMap.size() ? colourMap[index] : qRgb(0, 0, 0);
            if (!alpha)
                c |= 0xff000000u;
        } else {
            c = decodeColour(p, bits, alpha);
        }
        out[rightToLeft ? width - 1 - col : col] = c;
    }
}

} // namespace

QImage readTga(QByteArrayView file, QString* error, DecodeFailure* failure) {
    if (file.size() < HeaderSize)
        return fail(error, failure, QT_TRANSLATE_NOOP("PictureReaders", "TGA file too short"));
    const TgaHeader h = parseHeader(file);
    if (const char* reason = unsupported(h))
        return fail(error, failure, reason);
    qsizetype at = HeaderSize + h.idLength;
    std::vector<QRgb> colourMap;
    if (const char* reason = readColourMap(file, h, at, colourMap))
        return fail(error, failure, reason);
    if (at > file.size())
        return fail(error, failure, QT_TRANSLATE_NOOP("PictureReaders", "TGA truncated"));

    const int bytes = (h.pixelBits + 7) / 8;
    const bool alpha = kindOf(h) == 2 && h.pixelBits == 32 && (h.descriptor & 0x0F) != 0;
    QImage image(h.width, h.height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull())
        return fail(error, failure, OutOfMemory);
    PixelStream stream(file.sliced(at), (h.imageType & 8) != 0, bytes);
    std::vector<uint8_t> row(size_t(h.width) * size_t(bytes));
    const bool topDown = h.descriptor & 0x20;
    for (int y = 0; y < h.height; ++y) {
        if (!stream.nextRow(row.data(), h.width))
            return fail(error, failure, QT_TRANSLATE_NOOP("PictureReaders", "TGA data truncated"));
        convertRow(h, row.data(), colourMap, alpha,
                   reinterpret_cast<QRgb*>(image.scanLine(topDown ? y : h.height - 1 - y)));
    }
    return image;
}

} // namespace imaging
