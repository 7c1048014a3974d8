// SPDX-License-Identifier: MIT
#include "image_format.h"

#include "le_bytes.h"

#include <QFileInfo>

#include <algorithm>

namespace imaging {

namespace {

bool startsWith(QByteArrayView head, std::initializer_list<uint8_t> magic) {
    if (head.size() < qsizetype(magic.size()))
        return false;
    qsizetype i = 0;
    for (uint8_t m : magic)
        if (uint8_t(head[i++]) != m)
            return false;
    return true;
}

bool looksLikePcx(QByteArrayView head) {
    if (head.size() < 128 || uint8_t(head[0]) != 0x0A)
        return false;
    const uint8_t version = uint8_t(head[1]);
    const uint8_t encoding = uint8_t(head[2]);
    const uint8_t bits = uint8_t(head[3]);
    return (version <= 5 && version != 1) && encoding <= 1 &&
           (bits == 1 || bits == 2 || bits == 4 || bits == 8);
}

// A bitmap information header without the 14-byte file header in front of it, as some .dib files are.
bool looksLikeHeaderlessDib(QByteArrayView head) {
    if (head.size() < 40)
        return false;
    const uint32_t size = le::read32(head, 0);
    if (size != 40 && size != 108 && size != 124)
        return false;
    const uint16_t planes = le::read16(head, 12);
    const uint16_t bits = le::read16(head, 14);
    return planes == 1 && (bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32);
}

// An ISO base media file whose brands name a HEIF still picture (HEVC or AV1 coded).
bool looksLikeHeif(QByteArrayView head) {
    if (head.size() < 16 || head.sliced(4, 4) != QByteArrayView("ftyp"))
        return false;
    static const char* const brands[] = {"heic", "heix", "heim", "heis", "hevc", "hevx",
                                         "hevm", "hevs", "mif1", "msf1", "avif", "avis"};
    const qsizetype boxSize =
        qsizetype(uint8_t(head[0])) << 24 | uint8_t(head[1]) << 16 | uint8_t(head[2]) << 8 | uint8_t(head[3]);
    const qsizetype end = std::min(head.size(), boxSize);
    // The major brand, then the compatible brands after the minor version.
    for (qsizetype at = 8; at + 4 <= end; at += at == 8 ? 8 : 4) {
        for (const char* brand : brands)
            if (head.sliced(at, 4) == QByteArrayView(brand, 4))
                return true;
    }
    return false;
}

} // namespace

ImageFormat detectImageFormat(QByteArrayView head, const QString& path) {
    if (startsWith(head, {'B', 'M'}))
        return ImageFormat::Bmp;
    if (startsWith(head, {0xFF, 0xD8, 0xFF}))
        return ImageFormat::Jpeg;
    if (startsWith(head, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}))
        return ImageFormat::Png;
    if (startsWith(head, {'I', 'I', 42, 0}) || startsWith(head, {'M', 'M', 0, 42}))
        return ImageFormat::Tiff;
    if (startsWith(head, {'G', 'I', 'F', '8'}) && head.size() >= 6 && (head[4] == '7' || head[4] == '9') &&
        head[5] == 'a')
        return ImageFormat::Gif;
    if (head.size() >= 12 && head.startsWith("RIFF") && head.sliced(8, 4) == QByteArrayView("WEBP"))
        return ImageFormat::WebP;
    if (looksLikeHeif(head))
        return ImageFormat::Heif;
    if (looksLikePcx(head))
        return ImageFormat::Pcx;
    if (looksLikeHeaderlessDib(head))
        return ImageFormat::HeaderlessDib;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("tga"))
        return ImageFormat::Tga;
    return ImageFormat::Unknown;
}

} // namespace imaging
