// SPDX-License-Identifier: MIT
#include "palette_file.h"

#include "le_bytes.h"

namespace imaging {

namespace {

constexpr qsizetype ChunkHeaderSize = 8; // four-character id and 32-bit little-endian size

bool idAt(QByteArrayView b, qsizetype at, const char (&id)[5]) {
    return b.sliced(at, 4) == QByteArrayView(id, 4);
}

std::optional<QList<QRgb>> parseDataChunk(QByteArrayView chunk) {
    if (chunk.size() < 4 || le::read16(chunk, 0) != RiffPaletteVersion)
        return std::nullopt;
    const int count = le::read16(chunk, 2);
    if (count < 1 || count > 256 || chunk.size() < 4 + qsizetype(count) * 4)
        return std::nullopt;
    QList<QRgb> colours;
    colours.reserve(count);
    for (int i = 0; i < count; ++i) {
        const qsizetype at = 4 + qsizetype(i) * 4;
        colours.append(qRgb(uint8_t(chunk[at]), uint8_t(chunk[at + 1]), uint8_t(chunk[at + 2])));
    }
    return colours;
}

} // namespace

std::optional<QList<QRgb>> parseRiffPalette(QByteArrayView file) {
    if (file.size() < 12 || !idAt(file, 0, "RIFF") || !idAt(file, 8, "PAL "))
        return std::nullopt;
    const quint64 riffSize = le::read32(file, 4);
    if (riffSize < 4 || riffSize > quint64(file.size() - 8))
        return std::nullopt;
    const QByteArrayView form = file.sliced(12, qsizetype(riffSize) - 4);
    qsizetype at = 0;
    while (form.size() - at >= ChunkHeaderSize) {
        const quint64 size = le::read32(form, at + 4);
        if (size > quint64(form.size() - at - ChunkHeaderSize))
            return std::nullopt;
        const QByteArrayView body = form.sliced(at + ChunkHeaderSize, qsizetype(size));
        if (idAt(form, at, "data"))
            return parseDataChunk(body);
        at += ChunkHeaderSize + qsizetype(size) + qsizetype(size & 1); // chunks are padded to even length
    }
    return std::nullopt;
}

QByteArray writeRiffPalette(const QList<QRgb>& colours) {
    const auto count = uint16_t(qBound(qsizetype(0), colours.size(), qsizetype(256)));
    const uint32_t dataSize = 4 + 4u * count;
    QByteArray out;
    out.append("RIFF", 4);
    le::append32(out, 4 + ChunkHeaderSize + dataSize);
    out.append("PAL ", 4);
    out.append("data", 4);
    le::append32(out, dataSize);
    le::append16(out, RiffPaletteVersion);
    le::append16(out, count);
    for (int i = 0; i < count; ++i) {
        out.append(char(qRed(colours[i])));
        out.append(char(qGreen(colours[i])));
        out.append(char(qBlue(colours[i])));
        out.append(char(0));
    }
    return out;
}

} // namespace imaging
