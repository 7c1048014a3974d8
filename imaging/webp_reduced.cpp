// SPDX-License-Identifier: MIT
#include "webp_reduced.h"

#include "box_reduction.h"
#include "reader_refusal.h"

#include <webp/decode.h>

namespace imaging {

namespace {

// Reads the picture's features: false when the file is not a WebP picture that libwebp reads.
bool readFeatures(QByteArrayView bytes, WebPBitstreamFeatures* features) {
    return WebPGetFeatures(reinterpret_cast<const uint8_t*>(bytes.data()), size_t(bytes.size()), features) ==
           VP8_STATUS_OK;
}

} // namespace

bool webpReadsReduced(QByteArrayView bytes, QSize reduceBox) {
    WebPBitstreamFeatures features;
    if (!readFeatures(bytes, &features) || features.has_animation ||
        !fitsPicturePolicy(features.width, features.height))
        return false; // the general reader reads its first frame, or refuses it
    return BoxReduction::factorFor({features.width, features.height}, reduceBox) >= 2;
}

QImage readWebpReduced(QByteArrayView bytes, QSize reduceBox, QString* error, DecodeFailure* failure,
                       QSize* fullSize) {
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config) || !readFeatures(bytes, &config.input)) {
        refuseWith(error, failure, QT_TRANSLATE_NOOP("PictureReaders", "corrupt WebP data"));
        return {};
    }
    *fullSize = QSize(config.input.width, config.input.height);
    const QSize reduced = BoxReduction::reducedSize(*fullSize, BoxReduction::factorFor(*fullSize, reduceBox));
    QImage image(reduced, config.input.has_alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull()) {
        refuseWith(error, failure, QT_TRANSLATE_NOOP("PictureReaders", "out of memory"),
                   DecodeFailure::OutOfMemory);
        return {};
    }
    config.options.use_scaling = 1;
    config.options.scaled_width = reduced.width();
    config.options.scaled_height = reduced.height();
    // Each pixel as a 32-bit word of alpha, red, green and blue, as the picture's format holds it.
    config.output.colorspace = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? MODE_BGRA : MODE_ARGB;
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = image.bits();
    config.output.u.RGBA.stride = int(image.bytesPerLine());
    config.output.u.RGBA.size = size_t(image.sizeInBytes());
    const VP8StatusCode status =
        WebPDecode(reinterpret_cast<const uint8_t*>(bytes.data()), size_t(bytes.size()), &config);
    WebPFreeDecBuffer(&config.output);
    if (status == VP8_STATUS_OK)
        return image;
    if (status == VP8_STATUS_OUT_OF_MEMORY)
        refuseWith(error, failure, QT_TRANSLATE_NOOP("PictureReaders", "out of memory"),
                   DecodeFailure::OutOfMemory);
    else if (status == VP8_STATUS_NOT_ENOUGH_DATA)
        refuseWith(error, failure, QT_TRANSLATE_NOOP("PictureReaders", "WebP data truncated"));
    else
        refuseWith(error, failure, QT_TRANSLATE_NOOP("PictureReaders", "corrupt WebP data"));
    return {};
}

} // namespace imaging
