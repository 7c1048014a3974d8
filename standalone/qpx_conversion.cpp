#include "qpx_conversion.h"

#include "bmp_rows.h"
#include "qpx_encoder.h"
#include "shared_flags.h"
#include "tphoto.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace {

bool readAll(QFile& file, char* to, qint64 size) {
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

std::optional<QByteArray> BmpRowsConverter::operator()(const QString& image) {
    QFile file(image);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray head = file.read(imaging::BmpHeadBytes);
    const auto layout = imaging::directBmpLayout(head, file.size());
    if (!layout)
        return std::nullopt;
    const qint64 size = layout->fileSize();
    if (buffer_.size() < std::size_t(size))
        buffer_.resize(std::size_t(size));
    std::copy(head.begin(), head.end(), buffer_.begin());
    if (size > head.size() && !readAll(file, buffer_.data() + head.size(), size - head.size()))
        return std::nullopt;
    imaging::QpxSettings settings;
    settings.luminanceFactor = quality_.luminance;
    settings.chrominanceFactor = quality_.chrominance;
    settings.subsampling = imaging::ChromaSubsampling(quality_.subSampling);
    QByteArray bytes = imaging::encodeQpxRows(imaging::bmpPixelRows(*layout, buffer_.data()), settings);
    if (bytes.isEmpty())
        return std::nullopt;
    return bytes;
}

bool PhotoQpxConverter::operator()(const QString& image, const QString& target, QString& reason) {
    const std::optional<QByteArray> bytes = (*rows_)(image);
    if (!bytes)
        return throughControl(image, target, reason);
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size() || !file.commit()) {
        reason = QStringLiteral("cannot write %1: %2").arg(target, file.errorString());
        return false;
    }
    return true;
}

bool PhotoQpxConverter::throughControl(const QString& image, const QString& target, QString& reason) {
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
