// SPDX-License-Identifier: MIT
#include "dib_block.h"

#include "flatten.h"
#include "le_bytes.h"

namespace imaging {

namespace {

void appendHeader(QByteArray& out, const BitmapInfoHeader& h) {
    le::append32(out, h.size);
    le::append32(out, uint32_t(h.width));
    le::append32(out, uint32_t(h.height));
    le::append16(out, h.planes);
    le::append16(out, h.bitCount);
    le::append32(out, h.compression);
    le::append32(out, h.sizeImage);
    le::append32(out, uint32_t(h.xPelsPerMeter));
    le::append32(out, uint32_t(h.yPelsPerMeter));
    le::append32(out, h.colorsUsed);
    le::append32(out, h.colorsImportant);
}

} // namespace

QByteArray packDib(const QImage& image) {
    if (image.isNull())
        return {};
    const bool indexed = image.format() == QImage::Format_Indexed8;
    const QImage source = indexed ? image : flattenOnWhite(image);
    const int bits = indexed ? 8 : 24;
    const qint64 stride = dibRowStride(source.width(), bits);
    const qint64 pixelBytes = stride * source.height();
    const int colours = indexed ? DibPaletteEntries : 0;
    if (pixelBytes > INT32_MAX / 2)
        return {};

    BitmapInfoHeader h{};
    h.size = sizeof(BitmapInfoHeader);
    h.width = source.width();
    h.height = source.height();
    h.planes = 1;
    h.bitCount = uint16_t(bits);
    h.compression = 0;
    h.sizeImage = uint32_t(pixelBytes);
    h.colorsUsed = uint32_t(colours);
    h.colorsImportant = uint32_t(colours);

    QByteArray out;
    out.reserve(qsizetype(sizeof h) + colours * 4 + qsizetype(pixelBytes));
    appendHeader(out, h);
    const QList<QRgb> table = source.colorTable();
    for (int i = 0; i < colours; ++i) {
        const QRgb c = i < table.size() ? table[i] : qRgb(0, 0, 0);
        out.append(char(qBlue(c)));
        out.append(char(qGreen(c)));
        out.append(char(qRed(c)));
        out.append(char(0));
    }
    const qsizetype rowsAt = out.size();
    out.resize(rowsAt + qsizetype(pixelBytes), '\0');
    for (int y = 0; y < source.height(); ++y) {
        char* row = out.data() + rowsAt + qsizetype(stride) * (source.height() - 1 - y);
        if (indexed) {
            std::copy_n(source.constScanLine(y), source.width(), row);
            continue;
        }
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            row[3 * x] = char(qBlue(in[x]));
            row[3 * x + 1] = char(qGreen(in[x]));
            row[3 * x + 2] = char(qRed(in[x]));
        }
    }
    return out;
}

BitmapInfoHeader readBitmapInfoHeader(QByteArrayView b) {
    BitmapInfoHeader h{};
    h.size = le::read32(b, 0);
    h.width = int32_t(le::read32(b, 4));
    h.height = int32_t(le::read32(b, 8));
    h.planes = le::read16(b, 12);
    h.bitCount = le::read16(b, 14);
    h.compression = le::read32(b, 16);
    h.sizeImage = le::read32(b, 20);
    h.xPelsPerMeter = int32_t(le::read32(b, 24));
    h.yPelsPerMeter = int32_t(le::read32(b, 28));
    h.colorsUsed = le::read32(b, 32);
    h.colorsImportant = le::read32(b, 36);
    return h;
}

} // namespace imaging
