// SPDX-License-Identifier: MIT
#include "thumbnail_cache.h"

#include "plain_files.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryFile>

#include <array>
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

namespace imaging {

namespace {

const char* const EntryFolders[] = {"normal", "large", "x-large"};
constexpr qint64 MaxEntryBytes = 16 * 1024 * 1024;

// The bytes a URI path keeps as they are; every other byte is written as %XX.
bool keptInUri(uchar c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           QByteArrayView("-_.!~*'()/&+,=@$:").contains(char(c));
}

quint32 crc32(QByteArrayView bytes) {
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    quint32 c = 0xFFFFFFFFu;
    for (const char b : bytes)
        c = table[(c ^ uchar(b)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void appendBe32(QByteArray& out, quint32 v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char(v >> shift));
}

// A PNG text chunk (tEXt: Latin-1, uncompressed), the kind the cache's keys are stored in.
QByteArray textChunk(const QByteArray& key, const QByteArray& value) {
    const QByteArray body = QByteArray("tEXt") + key + '\0' + value;
    QByteArray chunk;
    appendBe32(chunk, quint32(body.size() - 4));
    chunk += body;
    appendBe32(chunk, crc32(body));
    return chunk;
}

// The PNG file of the picture with the keys right after its header chunk.
QByteArray pngWithKeys(const QImage& picture, const QList<std::pair<QByteArray, QByteArray>>& keys) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!QImageWriter(&buffer, "png").write(picture))
        return {};
    constexpr qsizetype AfterHeader = 8 + 25; // signature, IHDR
    if (png.size() <= AfterHeader)
        return {};
    QByteArray text;
    for (const auto& [key, value] : keys)
        text += textChunk(key, value);
    return png.insert(AfterHeader, text);
}

// Makes the folder and those above it that are missing, each only its owner may enter.
bool makePrivateFolders(const QString& folder) {
    if (QFileInfo(folder).isDir())
        return true;
    const QString parent = QFileInfo(folder).absolutePath();
    if (parent != folder && !makePrivateFolders(parent))
        return false;
    return ::mkdir(QFile::encodeName(folder).constData(), 0700) == 0 || errno == EEXIST;
}

std::optional<QImage> readEntry(const QString& path) {
    std::optional<QByteArray> bytes = readRegularFile(path, MaxEntryBytes);
    if (!bytes)
        return std::nullopt;
    QBuffer buffer(&*bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    const QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    // Other programs write palette and grey entries too; the keys go along with the conversion.
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

bool keysMatch(const QImage& entry, const ThumbnailCache::Key& key) {
    bool ok = false;
    if (entry.text(QStringLiteral("Thumb::URI")).toUtf8() != key.uri ||
        entry.text(QStringLiteral("Thumb::MTime")).toLongLong(&ok) != key.mtime || !ok)
        return false;
    const QString size = entry.text(QStringLiteral("Thumb::Size"));
    return size.isEmpty() || size.toLongLong() == key.size;
}

QSize recordedSize(const QImage& entry) {
    const QSize size(entry.text(QStringLiteral("Thumb::Image::Width")).toInt(),
                     entry.text(QStringLiteral("Thumb::Image::Height")).toInt());
    return size.isEmpty() ? QSize() : size;
}

} // namespace

QString ThumbnailCache::failureFolder() {
    return QStringLiteral("fail/verasco-" VERASCO_VERSION);
}

QString ThumbnailCache::defaultRoot() {
    QString base = qEnvironmentVariable("XDG_CACHE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.cache");
    return base + QStringLiteral("/thumbnails");
}

ThumbnailCache::ThumbnailCache(QString root) : root_(std::move(root)) {}

QByteArray ThumbnailCache::fileUri(const QString& absolutePath) {
    QByteArray uri("file://");
    for (const char c : QFile::encodeName(absolutePath)) {
        if (keptInUri(uchar(c)))
            uri.append(c);
        else
            uri.append('%').append(QByteArray::number(uchar(c), 16).rightJustified(2, '0').toUpper());
    }
    return uri;
}

ThumbnailCache::Key ThumbnailCache::keyFor(const QString& path) const {
    Key key;
    const QFileInfo info(path);
    if (!info.isFile())
        return key;
    // Thumbnails of the cache's own files are never made.
    const QString root = QFileInfo(root_).canonicalFilePath();
    if (!root.isEmpty() && info.canonicalFilePath().startsWith(root + QLatin1Char('/')))
        return key;
    key.uri = fileUri(QDir::cleanPath(info.absoluteFilePath()));
    key.mtime = info.lastModified().toSecsSinceEpoch();
    key.size = info.size();
    key.entryName =
        QString::fromLatin1(QCryptographicHash::hash(key.uri, QCryptographicHash::Md5).toHex() + ".png");
    key.valid = true;
    return key;
}

std::optional<ThumbnailCache::Entry>
ThumbnailCache::find(const Key& key, const std::function<bool(const Entry&)>& enough) const {
    if (!key.valid)
        return std::nullopt;
    for (const char* folder : EntryFolders) {
        const std::optional<QImage> image =
            readEntry(root_ + QLatin1Char('/') + QLatin1String(folder) + QLatin1Char('/') + key.entryName);
        if (!image || !keysMatch(*image, key))
            continue;
        Entry entry{*image, recordedSize(*image)};
        if (enough(entry))
            return entry;
    }
    return std::nullopt;
}

bool ThumbnailCache::failed(const Key& key) const {
    if (!key.valid)
        return false;
    const std::optional<QImage> image =
        readEntry(root_ + QLatin1Char('/') + failureFolder() + QLatin1Char('/') + key.entryName);
    return image && keysMatch(*image, key);
}

bool ThumbnailCache::store(const Key& key, const QImage& picture, QSize pictureSize) const {
    if (!key.valid || picture.isNull())
        return false;
    QImage entry = picture;
    if (entry.width() > NormalSize || entry.height() > NormalSize)
        entry = entry.scaled(NormalSize, NormalSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return write(root_ + QStringLiteral("/normal"), key, entry, pictureSize);
}

bool ThumbnailCache::storeFailure(const Key& key) const {
    if (!key.valid)
        return false;
    QImage empty(1, 1, QImage::Format_ARGB32);
    empty.fill(Qt::transparent);
    return write(root_ + QLatin1Char('/') + failureFolder(), key, empty, QSize());
}

bool ThumbnailCache::write(const QString& folder, const Key& key, const QImage& picture,
                           QSize pictureSize) const {
    if (!makePrivateFolders(folder))
        return false;
    QList<std::pair<QByteArray, QByteArray>> keys{{"Thumb::URI", key.uri},
                                                  {"Thumb::MTime", QByteArray::number(key.mtime)},
                                                  {"Thumb::Size", QByteArray::number(key.size)}};
    if (pictureSize.isValid()) {
        keys.append({QByteArray("Thumb::Image::Width"), QByteArray::number(pictureSize.width())});
        keys.append({QByteArray("Thumb::Image::Height"), QByteArray::number(pictureSize.height())});
    }
    keys.append({QByteArray("Software"), QByteArray("Verasco")});
    const QByteArray png = pngWithKeys(picture, keys);
    // A new file of its own (mode 0600) takes the entry's name only once it is whole, so another
    // program never reads half an entry.
    QTemporaryFile file(folder + QLatin1Char('/') + key.entryName + QStringLiteral(".XXXXXX"));
    if (png.isEmpty() || !file.open() || file.write(png) != png.size() || !file.flush())
        return false;
    file.close();
    const QString target = folder + QLatin1Char('/') + key.entryName;
    if (std::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(target).constData()) !=
        0)
        return false;
    file.setAutoRemove(false);
    return true;
}

} // namespace imaging
