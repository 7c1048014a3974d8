// SPDX-License-Identifier: MIT
#include "heif_reader.h"

#include "exif_reader.h"
#include "image_format.h"
#include "orientation.h"

#include <libheif/heif.h>

#include <cstring>
#include <memory>
#include <mutex>

namespace imaging {

namespace {

void initialiseOnce() {
    static std::once_flag once;
    std::call_once(once, [] { heif_init(nullptr); });
}

struct ContextFree {
    void operator()(heif_context* c) const { heif_context_free(c); }
};
struct HandleRelease {
    void operator()(heif_image_handle* h) const { heif_image_handle_release(h); }
};
struct ImageRelease {
    void operator()(heif_image* i) const { heif_image_release(i); }
};
struct OptionsFree {
    void operator()(heif_decoding_options* o) const { heif_decoding_options_free(o); }
};

int exifOrientation(heif_image_handle* handle) {
    heif_item_id id = 0;
    if (heif_image_handle_get_list_of_metadata_block_IDs(handle, "Exif", &id, 1) < 1)
        return 1;
    const size_t size = heif_image_handle_get_metadata_size(handle, id);
    if (size == 0 || size > 1024 * 1024)
        return 1;
    QByteArray block(qsizetype(size), '\0');
    if (heif_image_handle_get_metadata(handle, id, block.data()).code != heif_error_Ok)
        return 1;
    return tiffOrientation(heifExifTiff(block));
}

QImage copyPixels(const heif_image* image, bool alpha) {
    int stride = 0;
    const uint8_t* pixels = heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride);
    const int width = heif_image_get_width(image, heif_channel_interleaved);
    const int height = heif_image_get_height(image, heif_channel_interleaved);
    if (!pixels || width <= 0 || height <= 0)
        return {};
    QImage picture(width, height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (picture.isNull())
        return {};
    const int step = alpha ? 4 : 3;
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = pixels + qsizetype(y) * stride;
        auto* out = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x, in += step)
            out[x] = qRgba(in[0], in[1], in[2], alpha ? in[3] : 255);
    }
    return picture;
}

} // namespace

bool heifDecodesHevc() {
    initialiseOnce();
    return heif_have_decoder_for_format(heif_compression_HEVC) != 0;
}

bool heifDecodesAv1() {
    initialiseOnce();
    return heif_have_decoder_for_format(heif_compression_AV1) != 0;
}

QImage readHeif(QByteArrayView bytes, QString* error) {
    initialiseOnce();
    const auto failed = [error](const heif_error& e) {
        *error = QString::fromUtf8(e.message);
        return QImage();
    };
    std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
    heif_error e = heif_context_read_from_memory_without_copy(context.get(), bytes.data(),
                                                              size_t(bytes.size()), nullptr);
    if (e.code != heif_error_Ok)
        return failed(e);
    heif_image_handle* rawHandle = nullptr;
    e = heif_context_get_primary_image_handle(context.get(), &rawHandle);
    if (e.code != heif_error_Ok)
        return failed(e);
    std::unique_ptr<heif_image_handle, HandleRelease> handle(rawHandle);
    const int width = heif_image_handle_get_width(handle.get());
    const int height = heif_image_handle_get_height(handle.get());
    if (width <= 0 || height <= 0 || qint64(width) * height > MaxImagePixels) {
        *error = QStringLiteral("HEIF picture too large");
        return {};
    }
    const bool alpha = heif_image_handle_has_alpha_channel(handle.get()) != 0;
    // libheif applies the file's own turns and mirrors unless told otherwise.
    std::unique_ptr<heif_decoding_options, OptionsFree> options(heif_decoding_options_alloc());
    heif_image* rawImage = nullptr;
    e = heif_decode_image(handle.get(), &rawImage, heif_colorspace_RGB,
                          alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get());
    if (e.code != heif_error_Ok)
        return failed(e);
    std::unique_ptr<heif_image, ImageRelease> image(rawImage);
    QImage picture = copyPixels(image.get(), alpha);
    if (picture.isNull()) {
        *error = QStringLiteral("cannot decode HEIF picture");
        return {};
    }
    return heifTransformsItself(bytes) ? picture : orientedImage(picture, exifOrientation(handle.get()));
}

} // namespace imaging
