// SPDX-License-Identifier: MIT
// Every picture reader through the one entry the program loads pictures with, on arbitrary bytes: a
// picture either fails with a reason or has the size it reports, within the picture policy.
// scripts/test gives every input a time limit (libFuzzer's -timeout) and policy_limit.h a limit on
// any one allocation, so a picture whose decode takes long or much memory (a JPEG repeating its
// scans, runs unpacking to a giant picture) is a failure. The inputs are whole files, so that the
// sample pictures start the corpus as they are: an odd length decodes reduced, bytes without a
// signature are tried as TGA. Pictures that declare more than 4096 x 4096 pixels are left out:
// decoding one honestly takes seconds under the sanitizers, and the limits on size have unit tests of
// their own.
#include "image_format.h"
#include "image_loader.h"
#include "policy_limit.h"

#include <QBuffer>
#include <QImageReader>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr qint64 MaxFuzzedPixels = 4096LL * 4096LL;

int be16(QByteArrayView b, qsizetype at) {
    return uint8_t(b[at]) << 8 | uint8_t(b[at + 1]);
}
int le16(QByteArrayView b, qsizetype at) {
    return uint8_t(b[at]) | uint8_t(b[at + 1]) << 8;
}

// The size in a JPEG stream's frame header, or 0 when there is none before the first scan.
qint64 jpegFramePixels(QByteArrayView b) {
    qsizetype at = 2;
    while (at + 9 <= b.size() && uint8_t(b[at]) == 0xFF) {
        const int marker = uint8_t(b[at + 1]);
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame)
            return qint64(be16(b, at + 5)) * be16(b, at + 7);
        if (marker == 0xDA)
            return 0;
        at += 2 + be16(b, at + 2);
    }
    return 0;
}

// How many pixels the bytes say their picture has, as far as the header tells.
qint64 declaredPixels(QByteArrayView b, imaging::ImageFormat format) {
    switch (format) {
    case imaging::ImageFormat::Jpeg:
        return jpegFramePixels(b);
    case imaging::ImageFormat::Pcx:
        return qint64(le16(b, 8) - le16(b, 4) + 1) * (le16(b, 10) - le16(b, 6) + 1);
    case imaging::ImageFormat::Tga:
        return b.size() < 16 ? 0 : qint64(le16(b, 12)) * le16(b, 14);
    default: {
        QByteArray data = QByteArray::fromRawData(b.data(), b.size());
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        const QSize size = QImageReader(&buffer).size();
        return size.isValid() ? qint64(size.width()) * size.height() : 0;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const bool reduced = size & 1;
    const QString name = QStringLiteral("picture.tga");
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (declaredPixels(bytes, imaging::detectImageFormat(bytes, name)) > MaxFuzzedPixels)
        return 0;
    const imaging::LoadedImage loaded =
        imaging::decodeImageBytes(bytes, name, reduced ? imaging::ThumbnailBox : QSize());
    if (loaded.image.isNull() == loaded.error.isEmpty())
        std::abort();
    if (!loaded.image.isNull() &&
        (loaded.fullSize.width() < loaded.image.width() || loaded.fullSize.height() < loaded.image.height() ||
         !imaging::fitsPicturePolicy(loaded.fullSize.width(), loaded.fullSize.height())))
        std::abort();
    return 0;
}
