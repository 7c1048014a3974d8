// SPDX-License-Identifier: MIT
#include "qpx_conversion.h"

#include "bmp_rows.h"
#include "qpx_encoder.h"
#include "shared_flags.h"
#include "tphoto.h"

std::optional<QByteArray> BmpRowsConverter::operator()(const QString& image) {
    imaging::QpxSettings settings;
    settings.luminanceFactor = quality_.luminance;
    settings.chrominanceFactor = quality_.chrominance;
    settings.subsampling = imaging::ChromaSubsampling(quality_.subSampling);
    return imaging::encodePlainBmpFile(image, settings, buffer_);
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
