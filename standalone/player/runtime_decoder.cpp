// SPDX-License-Identifier: MIT
#include "runtime_decoder.h"

#include <QDir>

namespace {

struct OwnedPicture {
    QpxRunFreeFunction release;
    QpxRunPicture picture;
};

} // namespace

bool RuntimeDecoder::load(const QString& folder) {
    // Unpacked under its stored, upper-cased name.
    QString path = QDir(folder).filePath(QLatin1String(FileName));
    for (const QString& entry : QDir(folder).entryList(QDir::Files))
        if (entry.compare(QLatin1String(FileName), Qt::CaseInsensitive) == 0)
            path = QDir(folder).filePath(entry);
    library_.setFileName(path);
    if (!library_.load()) {
        error_ = library_.errorString();
        return false;
    }
    const auto version = reinterpret_cast<QpxRunApiVersionFunction>(library_.resolve("qpxrun_api_version"));
    const auto decode = reinterpret_cast<QpxRunDecodeFunction>(library_.resolve("qpxrun_decode"));
    const auto release = reinterpret_cast<QpxRunFreeFunction>(library_.resolve("qpxrun_free"));
    if (!version || !decode || !release) {
        error_ =
            QStringLiteral("%1 is not the decoding run-time of a Verasco show").arg(QLatin1String(FileName));
        return false;
    }
    if (version() != QPXRUN_API_VERSION) {
        error_ = QStringLiteral("%1 implements interface version %2, not %3")
                     .arg(QLatin1String(FileName))
                     .arg(version())
                     .arg(QPXRUN_API_VERSION);
        return false;
    }
    decode_ = decode;
    free_ = release;
    return true;
}

QImage RuntimeDecoder::decode(QByteArrayView data, QString& why) const {
    if (!decode_) {
        why = error_;
        return {};
    }
    QpxRunPicture picture{};
    char error[200] = {};
    if (decode_(reinterpret_cast<const unsigned char*>(data.data()), std::size_t(data.size()), &picture,
                error, sizeof error) != 0) {
        why = QString::fromUtf8(error);
        return {};
    }
    // The run-time's pixels are blue, green, red and 255: Qt's 32-bit RGB on this byte order. The
    // image uses them where they are and gives them back to the run-time when it goes.
    auto* owned = new OwnedPicture{free_, picture};
    return QImage(
        picture.pixels, picture.width, picture.height, picture.stride, QImage::Format_RGB32,
        [](void* info) {
            auto* o = static_cast<OwnedPicture*>(info);
            o->release(&o->picture);
            delete o;
        },
        owned);
}
