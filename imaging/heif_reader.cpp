// SPDX-License-Identifier: MIT
#include "heif_reader.h"

#include "exif_reader.h"
#include "heif_coded_size.h"
#include "image_format.h"
#include "orientation.h"
#include "picture_limits.h"

#include <QCoreApplication>

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

DecodeFailure failureOf(const heif_error& e) {
    if (e.code == heif_error_Memory_allocation_error)
        return e.subcode == heif_suberror_Security_limit_exceeded ? DecodeFailure::TooLarge
                                                                  : DecodeFailure::OutOfMemory;
    if (e.code == heif_error_Unsupported_feature && e.subcode == heif_suberror_Unsupported_codec)
        return DecodeFailure::NoCodec;
    return DecodeFailure::BadData;
}

// A coded picture within a coding block (64 pixels) of the size its item declares.
bool withinDeclared(const heif_image* image, QSize declared) {
    constexpr int CodingBlock = 64;
    const int width = heif_image_get_width(image, heif_channel_interleaved);
    const int height = heif_image_get_height(image, heif_channel_interleaved);
    return width <= declared.width() + CodingBlock && height <= declared.height() + CodingBlock;
}

// The file's own smallest thumbnail that still covers what the picture becomes fitted into `box`,
// of the picture's proportions (within a pixel); nothing without a box or such a thumbnail.
std::unique_ptr<heif_image_handle, HandleRelease> thumbnailFor(heif_image_handle* primary, QSize picture,
                                                               QSize box) {
    std::unique_ptr<heif_image_handle, HandleRelease> best;
    if (box.isEmpty())
        return best;
    const QSize needed = picture.scaled(box, Qt::KeepAspectRatio).boundedTo(picture);
    heif_item_id ids[8];
    const int count = heif_image_handle_get_list_of_thumbnail_IDs(primary, ids, 8);
    for (int i = 0; i < count; ++i) {
        heif_image_handle* raw = nullptr;
        if (heif_image_handle_get_thumbnail(primary, ids[i], &raw).code != heif_error_Ok)
            continue;
        std::unique_ptr<heif_image_handle, HandleRelease> candidate(raw);
        const QSize size(heif_image_handle_get_width(raw), heif_image_handle_get_height(raw));
        const qint64 across = qint64(size.width()) * picture.height();
        const qint64 down = qint64(size.height()) * picture.width();
        if (size.width() < needed.width() || size.height() < needed.height() ||
            qAbs(across - down) > qMax(picture.width(), picture.height()) || size.width() >= picture.width())
            continue;
        if (!best || size.width() < heif_image_handle_get_width(best.get()))
            best = std::move(candidate);
    }
    return best;
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

QImage readHeif(QByteArrayView bytes, QString* error, DecodeFailure* failure, QSize* fullSize,
                QSize reduceBox) {
    initialiseOnce();
    const auto failed = [&](const QString& reason, DecodeFailure kind) {
        *error = reason;
        if (failure)
            *failure = kind;
        return QImage();
    };
    const auto failedBy = [&](const heif_error& e) {
        return failed(QString::fromUtf8(e.message), failureOf(e));
    };
    std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
    heif_context_set_maximum_image_size_limit(context.get(), int(MaxPictureSide));
    heif_error e = heif_context_read_from_memory_without_copy(context.get(), bytes.data(),
                                                              size_t(bytes.size()), nullptr);
    if (e.code != heif_error_Ok)
        return failedBy(e);
    heif_image_handle* rawHandle = nullptr;
    e = heif_context_get_primary_image_handle(context.get(), &rawHandle);
    if (e.code != heif_error_Ok)
        return failedBy(e);
    std::unique_ptr<heif_image_handle, HandleRelease> primary(rawHandle);
    const QSize declared(heif_image_handle_get_width(primary.get()),
                         heif_image_handle_get_height(primary.get()));
    if (!fitsPicturePolicy(declared.width(), declared.height()))
        return failed(QCoreApplication::translate("PictureReaders", "HEIF picture too large"),
                      DecodeFailure::TooLarge);
    // A picture coded larger than its item declares would be decoded at its coded size.
    if (!heifCodedSizesWithinDeclared(bytes))
        return failed(
            QCoreApplication::translate("PictureReaders", "HEIF picture data larger than its declared size"),
            DecodeFailure::BadData);
    if (fullSize)
        *fullSize = declared;
    std::unique_ptr<heif_image_handle, HandleRelease> thumbnail =
        thumbnailFor(primary.get(), declared, reduceBox);
    heif_image_handle* handle = thumbnail ? thumbnail.get() : primary.get();
    const QSize size = thumbnail
                           ? QSize(heif_image_handle_get_width(handle), heif_image_handle_get_height(handle))
                           : declared;
    const bool alpha = heif_image_handle_has_alpha_channel(handle) != 0;
    // libheif applies the file's own turns and mirrors unless told otherwise.
    std::unique_ptr<heif_decoding_options, OptionsFree> options(heif_decoding_options_alloc());
    heif_image* rawImage = nullptr;
    e = heif_decode_image(handle, &rawImage, heif_colorspace_RGB,
                          alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get());
    if (e.code != heif_error_Ok)
        return failedBy(e);
    std::unique_ptr<heif_image, ImageRelease> image(rawImage);
    // The coded picture decides what is copied: one larger than the container declares whose coded
    // size could not be read ahead (data the check above leaves to libheif) is refused before it
    // takes more memory.
    if (!withinDeclared(image.get(), size))
        return failed(
            QCoreApplication::translate("PictureReaders", "HEIF picture data larger than its declared size"),
            DecodeFailure::BadData);
    QImage picture = copyPixels(image.get(), alpha);
    if (picture.isNull())
        return failed(QCoreApplication::translate("PictureReaders", "out of memory"),
                      DecodeFailure::OutOfMemory);
    return heifTransformsItself(bytes) ? picture : orientedImage(picture, exifOrientation(primary.get()));
}

} // namespace imaging
