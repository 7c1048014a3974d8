// SPDX-License-Identifier: MIT
#include "bmp_rows.h"

#include "image_format.h"
#include "le_bytes.h"
#include "plain_files.h"

#include <QFile>

#include <algorithm>
#include <cstdlib>

namespace imaging {

namespace {

constexpr qsizetype FileHeaderSize = 14;
constexpr uint32_t InfoHeaderSize = 40, V4HeaderSize = 108, V5HeaderSize = 124;
constexpr uint32_t Uncompressed = 0;
constexpr int MaxSide = 65500; // the largest side a JPEG stream can give

bool knownHeader(uint32_t headerSize, int bits) {
    // The longer headers carry colour masks and an alpha mask that a 32-bit picture may use; a
    // 24-bit picture ignores them.
    if (bits == 24)
        return headerSize == InfoHeaderSize || headerSize == V4HeaderSize || headerSize == V5HeaderSize;
    return bits == 32 && headerSize == InfoHeaderSize;
}

bool readFully(QFile& file, char* to, qint64 size) {
    while (size > 0) {
        const qint64 n = file.read(to, size);
        if (n <= 0)
            return false;
        to += n;
        size -= n;
    }
    return true;
}

} // namespace

std::optional<BmpRowLayout> directBmpLayout(QByteArrayView head, qint64 fileSize) {
    if (head.size() < FileHeaderSize + InfoHeaderSize || head[0] != 'B' || head[1] != 'M')
        return std::nullopt;
    const uint32_t headerSize = le::read32(head, 14);
    const int bits = le::read16(head, 28);
    if (!knownHeader(headerSize, bits) || le::read16(head, 26) != 1 || le::read32(head, 30) != Uncompressed)
        return std::nullopt;
    const int32_t width = int32_t(le::read32(head, 18));
    const int32_t storedHeight = int32_t(le::read32(head, 22));
    const qint64 height = std::llabs(qint64(storedHeight));
    if (width <= 0 || height == 0 || width > MaxSide || height > MaxSide ||
        qint64(width) * height > MaxPicturePixels)
        return std::nullopt;
    BmpRowLayout layout;
    layout.width = width;
    layout.height = int(height);
    layout.bytesPerPixel = bits / 8;
    layout.stride = (qint64(width) * bits + 31) / 32 * 4;
    layout.pixelOffset = le::read32(head, 10);
    layout.topDown = storedHeight < 0;
    if (layout.pixelOffset < FileHeaderSize + qint64(headerSize) || layout.fileSize() > fileSize)
        return std::nullopt;
    return layout;
}

PixelRows bmpPixelRows(const BmpRowLayout& layout, const char* file) {
    PixelRows rows;
    rows.width = layout.width;
    rows.height = layout.height;
    rows.layout = layout.bytesPerPixel == 3 ? PixelLayout::Bgr24 : PixelLayout::Bgrx32;
    const char* first = file + layout.pixelOffset;
    if (layout.topDown) {
        rows.top = reinterpret_cast<const uchar*>(first);
        rows.stride = layout.stride;
    } else {
        rows.top = reinterpret_cast<const uchar*>(first + layout.stride * (layout.height - 1));
        rows.stride = -layout.stride;
    }
    return rows;
}

std::optional<QByteArray> encodePlainBmpFile(const QString& path, const QpxSettings& settings,
                                             std::vector<char>& buffer) {
    QFile file;
    if (!openRegularFile(file, path))
        return std::nullopt;
    const QByteArray head = file.read(BmpHeadBytes);
    const auto layout = directBmpLayout(head, file.size());
    if (!layout)
        return std::nullopt;
    // The head may run past the rows into bytes that follow them.
    const qint64 size = std::max(layout->fileSize(), qint64(head.size()));
    if (buffer.size() < std::size_t(size))
        buffer.resize(std::size_t(size));
    std::copy(head.begin(), head.end(), buffer.begin());
    if (!readFully(file, buffer.data() + head.size(), size - head.size()))
        return std::nullopt;
    QByteArray bytes = encodeQpxRows(bmpPixelRows(*layout, buffer.data()), settings);
    if (bytes.isEmpty())
        return std::nullopt;
    return bytes;
}

} // namespace imaging
