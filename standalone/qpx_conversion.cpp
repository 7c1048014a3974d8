// SPDX-License-Identifier: MIT
#include "qpx_conversion.h"

#include "bmp_rows.h"
#include "image_loader.h"
#include "qpx_encoder.h"
#include "shared_flags.h"
#include "tphoto.h"

namespace {
imaging::QpxSettings settingsFor(const QualityPreset& quality) {
    imaging::QpxSettings settings;
    settings.luminanceFactor = quality.luminance;
    settings.chrominanceFactor = quality.chrominance;
    settings.subsampling = imaging::ChromaSubsampling(quality.subSampling);
    return settings;
}
} // namespace

std::optional<QByteArray> BmpRowsConverter::operator()(const QString& image) {
    return imaging::encodePlainBmpFile(image, settingsFor(quality_), buffer_);
}

std::optional<QByteArray> PictureQpxConverter::operator()(const QString& image) {
    if (std::optional<QByteArray> bytes = rows_(image))
        return bytes;
    // The picture the control saves: decoded whole, as it reads it again before saving a reduced one.
    const imaging::LoadedImage loaded = imaging::loadImageFile(image, QSize());
    if (loaded.image.isNull())
        return std::nullopt;
    QByteArray bytes = imaging::encodeQpx(loaded.image, settingsFor(quality_));
    if (bytes.isEmpty())
        return std::nullopt;
    return bytes;
}

bool PhotoQpxConverter::operator()(const QString& image, const QString& target, QString& reason) {
    // The control works synchronously: each call returns after its last progress report of 100 %,
    // which clears LoadInProgress again through the preview window's progress handler.
    photo_.setProgressEnabled(true);
    flags_.LoadInProgress = false;
    photo_.setFileName(image);
    if (photo_.FXError() != TPhoto::NoError) {
        reason = photo_.errorText();
        photo_.setProgressEnabled(false);
        return false;
    }
    photo_.Redisplay();
    photo_.setSaveJPGLumFactor(quality_.luminance);
    photo_.setSaveJPGChromFactor(quality_.chrominance);
    photo_.setSaveJPGSubSampling(quality_.subSampling);
    photo_.setSaveFileName(target);
    flags_.LoadInProgress = false;
    photo_.SaveImage();
    photo_.setProgressEnabled(false);
    if (photo_.FXError() != TPhoto::NoError) {
        reason = photo_.errorText();
        return false;
    }
    return true;
}
