#include "image_format.h"

#include "le_bytes.h"

#include <QFileInfo>

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
    const uint32_t size = readLe32(head, 0);
    if (size != 40 && size != 108 && size != 124)
        return false;
    const uint16_t planes = readLe16(head, 12);
    const uint16_t bits = readLe16(head, 14);
    return planes == 1 && (bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32);
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
