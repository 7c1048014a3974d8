// SPDX-License-Identifier: MIT
#include "exif_reader.h"

#include <QDateTime>

#include <cstdint>
#include <optional>

namespace imaging {

namespace {

constexpr uint16_t DescriptionTag = 0x010E;
constexpr uint16_t OrientationTag = 0x0112;
constexpr uint16_t ThumbnailOffsetTag = 0x0201;
constexpr uint16_t ThumbnailLengthTag = 0x0202;
constexpr uint16_t ExifDirectoryTag = 0x8769;
constexpr uint16_t DateTimeOriginalTag = 0x9003;
constexpr uint16_t OffsetTimeOriginalTag = 0x9011;
constexpr uint16_t SubSecTimeOriginalTag = 0x9291;
constexpr uint16_t AsciiType = 2;
constexpr uint16_t ShortType = 3;
constexpr uint16_t LongType = 4;
// The start of the APP1 segment that holds an XMP packet.
constexpr QByteArrayView XmpSignature("http://ns.adobe.com/xap/1.0/\0", 29);
constexpr qsizetype DirectoryEntryBytes = 12;

bool fits(QByteArrayView bytes, quint64 at, quint64 length) {
    return at <= quint64(bytes.size()) && length <= quint64(bytes.size()) - at;
}

uint32_t be16(QByteArrayView b, qsizetype at) {
    return uint32_t(uint8_t(b[at])) << 8 | uint8_t(b[at + 1]);
}

uint32_t be32(QByteArrayView b, qsizetype at) {
    return be16(b, at) << 16 | be16(b, at + 2);
}

uint32_t le16(QByteArrayView b, qsizetype at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8;
}

uint32_t le32(QByteArrayView b, qsizetype at) {
    return le16(b, at) | le16(b, at + 2) << 16;
}

// TIFF data in either byte order; every read is checked by the caller with fits().
class Tiff {
  public:
    explicit Tiff(QByteArrayView bytes) : bytes_(bytes) {
        if (bytes.size() < 8)
            return;
        if (bytes.startsWith("II*\0"))
            bigEndian_ = false;
        else if (bytes.startsWith("MM\0*"))
            bigEndian_ = true;
        else
            return;
        valid_ = true;
    }

    bool valid() const { return valid_; }
    uint32_t u16(quint64 at) const {
        return bigEndian_ ? be16(bytes_, qsizetype(at)) : le16(bytes_, qsizetype(at));
    }
    uint32_t u32(quint64 at) const {
        return bigEndian_ ? be32(bytes_, qsizetype(at)) : le32(bytes_, qsizetype(at));
    }

    // The offset of directory `index` (0 or 1), or nothing when the chain ends or breaks first.
    std::optional<quint64> directory(int index) const {
        if (!valid_)
            return std::nullopt;
        quint64 at = u32(4);
        for (int i = 0; i < index; ++i) {
            const std::optional<uint32_t> count = entryCount(at);
            if (!count)
                return std::nullopt;
            const quint64 next = at + 2 + quint64(*count) * DirectoryEntryBytes;
            if (!fits(bytes_, next, 4))
                return std::nullopt;
            at = u32(next);
            if (at == 0)
                return std::nullopt;
        }
        if (!entryCount(at))
            return std::nullopt;
        return at;
    }

    // The first value of `tag` in the directory at `at`, when its type is SHORT or LONG.
    std::optional<uint32_t> value(quint64 at, uint16_t tag) const {
        const std::optional<uint32_t> count = entryCount(at);
        if (!count)
            return std::nullopt;
        for (uint32_t i = 0; i < *count; ++i) {
            const quint64 entry = at + 2 + quint64(i) * DirectoryEntryBytes;
            if (u16(entry) != tag)
                continue;
            const uint32_t type = u16(entry + 2);
            if (type == ShortType)
                return u16(entry + 8);
            if (type == LongType)
                return u32(entry + 8);
            return std::nullopt;
        }
        return std::nullopt;
    }

    // The text of `tag` in the directory at `at`, when its type is ASCII, up to its first NUL.
    QByteArrayView text(quint64 at, uint16_t tag) const {
        const std::optional<uint32_t> count = entryCount(at);
        if (!count)
            return {};
        for (uint32_t i = 0; i < *count; ++i) {
            const quint64 entry = at + 2 + quint64(i) * DirectoryEntryBytes;
            if (u16(entry) != tag || u16(entry + 2) != AsciiType)
                continue;
            const quint64 length = u32(entry + 4);
            const quint64 start = length <= 4 ? entry + 8 : u32(entry + 8);
            if (!fits(bytes_, start, length))
                return {};
            const QByteArrayView value = bytes_.sliced(qsizetype(start), qsizetype(length));
            const qsizetype nul = value.indexOf('\0');
            return nul < 0 ? value : value.first(nul);
        }
        return {};
    }

  private:
    std::optional<uint32_t> entryCount(quint64 at) const {
        if (!fits(bytes_, at, 2))
            return std::nullopt;
        const uint32_t count = u16(at);
        if (!fits(bytes_, at + 2, quint64(count) * DirectoryEntryBytes))
            return std::nullopt;
        return count;
    }

    QByteArrayView bytes_;
    bool bigEndian_ = false;
    bool valid_ = false;
};

bool isFrameHeader(uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool isStandaloneMarker(uint8_t marker) {
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8);
}

// The boxes of an ISO base media file inside [begin, end): calls visit(type, body) for each until it
// returns true; false when none did.
template <typename Visit> bool forEachBox(QByteArrayView bytes, quint64 begin, quint64 end, Visit visit) {
    quint64 at = begin;
    while (at + 8 <= end) {
        quint64 size = be32(bytes, qsizetype(at));
        quint64 header = 8;
        if (size == 1) {
            if (at + 16 > end)
                return false;
            size = quint64(be32(bytes, qsizetype(at + 8))) << 32 | be32(bytes, qsizetype(at + 12));
            header = 16;
        } else if (size == 0) {
            size = end - at;
        }
        if (size < header || size > end - at)
            return false;
        const QByteArrayView type = bytes.sliced(qsizetype(at + 4), 4);
        if (visit(type, at + header, at + size))
            return true;
        at += size;
    }
    return false;
}

} // namespace

int tiffOrientation(QByteArrayView tiff) {
    const Tiff data(tiff);
    const std::optional<quint64> first = data.directory(0);
    if (!first)
        return 1;
    const std::optional<uint32_t> orientation = data.value(*first, OrientationTag);
    return orientation && *orientation >= 1 && *orientation <= 8 ? int(*orientation) : 1;
}

std::optional<qint64> tiffDateTaken(QByteArrayView tiff) {
    const Tiff data(tiff);
    const std::optional<quint64> first = data.directory(0);
    const std::optional<uint32_t> exif = first ? data.value(*first, ExifDirectoryTag) : std::nullopt;
    if (!exif)
        return std::nullopt;
    const QString taken = QString::fromLatin1(data.text(*exif, DateTimeOriginalTag)).trimmed();
    QDateTime when = QDateTime::fromString(taken, QStringLiteral("yyyy:MM:dd HH:mm:ss"));
    if (!when.isValid())
        return std::nullopt;
    // Sub-seconds are decimal digits: "5" is half a second, "123" 123 milliseconds.
    const QByteArray fraction =
        data.text(*exif, SubSecTimeOriginalTag).trimmed().toByteArray().append("000").first(3);
    bool digits = false;
    const int milliseconds = fraction.toInt(&digits);
    if (digits)
        when = when.addMSecs(milliseconds);
    // "+01:00" or "-05:30".
    const QString offset = QString::fromLatin1(data.text(*exif, OffsetTimeOriginalTag)).trimmed();
    const QTime span = QTime::fromString(offset.mid(1), QStringLiteral("HH:mm"));
    if (offset.size() == 6 && (offset[0] == u'+' || offset[0] == u'-') && span.isValid()) {
        const int seconds = span.msecsSinceStartOfDay() / 1000 * (offset[0] == u'-' ? -1 : 1);
        when.setOffsetFromUtc(seconds);
    }
    return when.toMSecsSinceEpoch();
}

QByteArrayView tiffDescription(QByteArrayView tiff) {
    const Tiff data(tiff);
    const std::optional<quint64> first = data.directory(0);
    return first ? data.text(*first, DescriptionTag) : QByteArrayView();
}

QByteArrayView exifThumbnail(QByteArrayView tiff) {
    const Tiff data(tiff);
    const std::optional<quint64> second = data.directory(1);
    if (!second)
        return {};
    const std::optional<uint32_t> offset = data.value(*second, ThumbnailOffsetTag);
    const std::optional<uint32_t> length = data.value(*second, ThumbnailLengthTag);
    if (!offset || !length || *length == 0 || !fits(tiff, *offset, *length))
        return {};
    return tiff.sliced(qsizetype(*offset), qsizetype(*length));
}

JpegHead readJpegHead(QByteArrayView head) {
    JpegHead result;
    if (head.size() < 4 || uint8_t(head[0]) != 0xFF || uint8_t(head[1]) != 0xD8)
        return result;
    qsizetype at = 2;
    while (at + 1 < head.size()) {
        if (uint8_t(head[at]) != 0xFF)
            return result;
        while (at + 1 < head.size() && uint8_t(head[at + 1]) == 0xFF)
            ++at; // fill bytes
        if (at + 1 >= head.size())
            return result;
        const uint8_t marker = uint8_t(head[at + 1]);
        if (isStandaloneMarker(marker)) {
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA || at + 4 > head.size())
            return result;
        const qsizetype length = qsizetype(be16(head, at + 2));
        if (length < 2)
            return result;
        const QByteArrayView body = head.sliced(at + 4).first(std::min(length - 2, head.size() - at - 4));
        if (marker == 0xE1 && result.exif.isEmpty() && body.startsWith(QByteArrayView("Exif\0\0", 6)))
            result.exif = body.sliced(6);
        if (marker == 0xE1 && result.xmp.isEmpty() && body.startsWith(XmpSignature))
            result.xmp = body.sliced(XmpSignature.size());
        if (isFrameHeader(marker)) {
            if (body.size() >= 5)
                result.size = QSize(int(be16(body, 3)), int(be16(body, 1)));
            return result;
        }
        at += 2 + length;
    }
    return result;
}

QByteArrayView webpExif(QByteArrayView webp) {
    if (webp.size() < 12 || !webp.startsWith("RIFF") || webp.sliced(8, 4) != QByteArrayView("WEBP"))
        return {};
    quint64 at = 12;
    while (fits(webp, at, 8)) {
        const QByteArrayView type = webp.sliced(qsizetype(at), 4);
        const quint64 size = le32(webp, qsizetype(at + 4));
        if (!fits(webp, at + 8, size))
            return {};
        if (type == QByteArrayView("EXIF")) {
            QByteArrayView exif = webp.sliced(qsizetype(at + 8), qsizetype(size));
            // Some writers keep the JPEG segment's "Exif" prefix.
            return exif.startsWith(QByteArrayView("Exif\0\0", 6)) ? exif.sliced(6) : exif;
        }
        at += 8 + size + (size & 1);
    }
    return {};
}

QByteArrayView heifExifTiff(QByteArrayView block) {
    if (block.size() < 4)
        return {};
    const quint64 offset = be32(block, 0);
    if (!fits(block, 4 + offset, 8))
        return {};
    return block.sliced(qsizetype(4 + offset));
}

bool heifTransformsItself(QByteArrayView heif) {
    const quint64 end = quint64(heif.size());
    const auto transforms = [&heif](QByteArrayView type, quint64 body, quint64 boxEnd) {
        if (type == QByteArrayView("imir"))
            return true;
        // An angle of 0 turns nothing.
        return type == QByteArrayView("irot") && body < boxEnd && (uint8_t(heif[qsizetype(body)]) & 3) != 0;
    };
    const auto properties = [&](QByteArrayView type, quint64 body, quint64 boxEnd) {
        return type == QByteArrayView("ipco") && forEachBox(heif, body, boxEnd, transforms);
    };
    const auto itemProperties = [&](QByteArrayView type, quint64 body, quint64 boxEnd) {
        return type == QByteArrayView("iprp") && forEachBox(heif, body, boxEnd, properties);
    };
    // "meta" is a full box: a version and flags come before its children.
    return forEachBox(heif, 0, end, [&](QByteArrayView type, quint64 body, quint64 boxEnd) {
        return type == QByteArrayView("meta") && body + 4 <= boxEnd &&
               forEachBox(heif, body + 4, boxEnd, itemProperties);
    });
}

} // namespace imaging
