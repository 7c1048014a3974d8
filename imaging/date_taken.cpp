// SPDX-License-Identifier: MIT
#include "date_taken.h"

#include "exif_reader.h"
#include "image_format.h"
#include "plain_files.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>

#include <atomic>

namespace imaging {

namespace {

// What a file was when its date was read: a file that changed since is read again.
struct KeptDate {
    qint64 size = -1;
    qint64 modified = 0;
    qint64 taken = 0;
};

QMutex keptLock;
QHash<QString, KeptDate>& keptDates() {
    static QHash<QString, KeptDate> kept;
    return kept;
}
std::atomic<quint64> readCounter{0};
thread_local quint64 readsOnThisThread = 0;

std::optional<qint64> exifDate(QByteArrayView bytes, const QString& path) {
    switch (detectImageFormat(bytes, path)) {
    case ImageFormat::Jpeg:
        return tiffDateTaken(readJpegHead(bytes).exif);
    case ImageFormat::Tiff:
        return tiffDateTaken(bytes);
    case ImageFormat::WebP:
        return tiffDateTaken(webpExif(bytes));
    default:
        return std::nullopt;
    }
}

void keep(const QString& path, const QFileInfo& file, qint64 taken) {
    const QMutexLocker locked(&keptLock);
    keptDates().insert(path, {file.size(), file.lastModified().toMSecsSinceEpoch(), taken});
}

// The bytes that hold the file's EXIF data, as far as the picture policy lets a file be read.
std::optional<QByteArray> bytesWithExif(const QString& path) {
    QFile file;
    if (!openRegularFile(file, path))
        return std::nullopt;
    QByteArray head = file.read(DateHeadBytes);
    if (detectImageFormat(head, path) != ImageFormat::WebP || file.atEnd())
        return head;
    const std::optional<QByteArray> rest = readAtMost(file, PictureFileLimit - head.size());
    return rest ? head + *rest : head;
}

} // namespace

std::optional<qint64> dateTaken(const QString& path) {
    const QFileInfo file(path);
    if (!file.isFile())
        return std::nullopt;
    {
        const QMutexLocker locked(&keptLock);
        const auto kept = keptDates().constFind(path);
        if (kept != keptDates().constEnd() && kept->size == file.size() &&
            kept->modified == file.lastModified().toMSecsSinceEpoch())
            return kept->taken;
    }
    readCounter.fetch_add(1, std::memory_order_relaxed);
    ++readsOnThisThread;
    const std::optional<QByteArray> bytes = bytesWithExif(path);
    const qint64 taken =
        (bytes ? exifDate(*bytes, path) : std::nullopt).value_or(file.lastModified().toMSecsSinceEpoch());
    keep(path, file, taken);
    return taken;
}

void noteDateTaken(const QString& path, QByteArrayView bytes) {
    const QFileInfo file(path);
    keep(path, file, exifDate(bytes, path).value_or(file.lastModified().toMSecsSinceEpoch()));
}

quint64 dateReadCount() {
    return readCounter.load(std::memory_order_relaxed);
}

quint64 dateReadsOnThisThreadCount() {
    return readsOnThisThread;
}

} // namespace imaging
