// SPDX-License-Identifier: MIT
#include "thumbnail_cache.h"

#include "exif_reader.h"
#include "orientation.h"
#include "plain_files.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryFile>

#include <array>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <sys/stat.h>

namespace imaging {

namespace {

// The entry folders the standard names, each with the largest side of its entries.
constexpr struct {
    const char* name;
    int side;
} EntryFolders[] = {{"normal", 128}, {"large", 256}, {"x-large", 512}, {"xx-large", 1024}};
// Our failure entries are a single pixel.
constexpr int FailureEntrySide = 16;

// The largest file an entry of at most `side` pixels a side may be: its pixels unpacked at eight
// bytes (16-bit RGBA, stored) and room for its keys and other chunks.
constexpr qint64 maxEntryBytes(int side) {
    return qint64(side) * side * 8 + 64 * 1024;
}

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

quint32 be32(QByteArrayView bytes, qsizetype at) {
    return quint32(uchar(bytes[at])) << 24 | quint32(uchar(bytes[at + 1])) << 16 |
           quint32(uchar(bytes[at + 2])) << 8 | uchar(bytes[at + 3]);
}

// What an entry says of itself without its pixels being decoded: its size from its header, its text
// chunks (wherever they are, compressed or not) and the orientation of its EXIF chunk.
struct EntryFacts {
    QSize size;
    QHash<QByteArray, QByteArray> text;
    int orientation = 1;
};

// The text of a compressed chunk; keys are short, so a chunk that claims more is left out.
QByteArray inflated(QByteArrayView compressed) {
    constexpr qsizetype MaxCompressedText = 8 * 1024;
    if (compressed.size() > MaxCompressedText)
        return {};
    QByteArray withSize;
    appendBe32(withSize, 4096); // qUncompress's first guess at the text's size
    withSize.append(compressed.data(), compressed.size());
    return qUncompress(withSize);
}

void readTextChunk(QByteArrayView type, QByteArrayView data, EntryFacts& facts) {
    const qsizetype end = data.indexOf('\0');
    if (end <= 0)
        return;
    const QByteArray key = data.first(end).toByteArray();
    const QByteArrayView rest = data.sliced(end + 1);
    if (type == "tEXt") {
        facts.text.insert(key, QString::fromLatin1(rest).toUtf8());
    } else if (type == "zTXt" && !rest.isEmpty() && rest[0] == 0) {
        facts.text.insert(key, QString::fromLatin1(inflated(rest.sliced(1))).toUtf8());
    } else if (type == "iTXt" && rest.size() >= 2) {
        // Flag and method of compression, then the language and the translated key, each ended by a zero.
        const qsizetype language = rest.indexOf('\0', 2);
        const qsizetype translated = language < 0 ? -1 : rest.indexOf('\0', language + 1);
        if (translated < 0)
            return;
        const QByteArrayView value = rest.sliced(translated + 1);
        facts.text.insert(key, rest[0] ? inflated(value) : value.toByteArray());
    }
}

std::optional<EntryFacts> entryFacts(QByteArrayView png) {
    if (png.size() < 33 || !png.startsWith("\x89PNG\r\n\x1a\n") || png.sliced(12, 4) != "IHDR")
        return std::nullopt;
    EntryFacts facts;
    facts.size =
        QSize(int(qMin<quint32>(be32(png, 16), INT_MAX)), int(qMin<quint32>(be32(png, 20), INT_MAX)));
    for (qsizetype at = 8; at + 12 <= png.size();) {
        const qint64 length = be32(png, at);
        const QByteArrayView type = png.sliced(at + 4, 4);
        if (length > png.size() - at - 12 || type == "IEND")
            break;
        const QByteArrayView data = png.sliced(at + 8, qsizetype(length));
        if (type == "eXIf")
            facts.orientation = tiffOrientation(data);
        else if (type == "tEXt" || type == "zTXt" || type == "iTXt")
            readTextChunk(type, data, facts);
        at += 12 + qsizetype(length);
    }
    return facts;
}

bool keysMatch(const EntryFacts& entry, const ThumbnailCache::Key& key) {
    bool ok = false;
    if (entry.text.value("Thumb::URI") != key.uri ||
        entry.text.value("Thumb::MTime").toLongLong(&ok) != key.mtime || !ok)
        return false;
    const QByteArray size = entry.text.value("Thumb::Size");
    return size.isEmpty() || size.toLongLong() == key.size;
}

// The picture's size an entry records, where it has the entry's own proportions (within one of the
// entry's pixels); invalid otherwise.
QSize recordedSize(const EntryFacts& facts, QSize entry) {
    const QSize size(facts.text.value("Thumb::Image::Width").toInt(),
                     facts.text.value("Thumb::Image::Height").toInt());
    if (size.isEmpty() || entry.isEmpty() || size.width() < entry.width() || size.height() < entry.height())
        return {};
    const qint64 across = qint64(size.width()) * entry.height();
    const qint64 down = qint64(size.height()) * entry.width();
    return qAbs(across - down) <= qMax(size.width(), size.height()) ? size : QSize();
}

// The entry at `path`, upright, when it is a PNG file of at most `side` pixels a side whose keys
// match the file's. Its size and keys are read from its chunks first, so a file that fails either
// is never decoded.
std::optional<ThumbnailCache::Entry> readEntry(const QString& path, int side,
                                               const ThumbnailCache::Key& key) {
    std::optional<QByteArray> bytes = readRegularFile(path, maxEntryBytes(side));
    if (!bytes)
        return std::nullopt;
    const std::optional<EntryFacts> facts = entryFacts(*bytes);
    if (!facts || facts->size.isEmpty() || facts->size.width() > side || facts->size.height() > side ||
        !keysMatch(*facts, key))
        return std::nullopt;
    QBuffer buffer(&*bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    reader.setAutoTransform(false);
    const QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    // Other programs write palette and grey entries too.
    const QImage upright = orientedImage(
        image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32),
        facts->orientation);
    return ThumbnailCache::Entry{upright, recordedSize(*facts, upright.size())};
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
    for (const auto& folder : EntryFolders) {
        const std::optional<Entry> entry = readEntry(root_ + QLatin1Char('/') + QLatin1String(folder.name) +
                                                         QLatin1Char('/') + key.entryName,
                                                     folder.side, key);
        if (entry && enough(*entry))
            return entry;
    }
    return std::nullopt;
}

bool ThumbnailCache::failed(const Key& key) const {
    if (!key.valid)
        return false;
    return readEntry(root_ + QLatin1Char('/') + failureFolder() + QLatin1Char('/') + key.entryName,
                     FailureEntrySide, key)
        .has_value();
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
