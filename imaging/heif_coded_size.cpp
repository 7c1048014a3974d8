// SPDX-License-Identifier: MIT
#include "heif_coded_size.h"

#include "picture_limits.h"

#include <QByteArray>
#include <QHash>

#include <optional>
#include <utility>
#include <vector>

namespace imaging {

namespace {

quint64 be(QByteArrayView data, qsizetype at, int bytes) {
    quint64 v = 0;
    for (int i = 0; i < bytes; ++i)
        v = v << 8 | uchar(data[at + i]);
    return v;
}

using Size = std::pair<quint32, quint32>;

struct Box {
    QByteArrayView type;
    QByteArrayView body;
};

// The boxes that follow one another in `data`, up to the first that does not fit.
std::vector<Box> boxesIn(QByteArrayView data) {
    std::vector<Box> boxes;
    for (qsizetype at = 0; at + 8 <= data.size();) {
        quint64 size = be(data, at, 4);
        qsizetype header = 8;
        if (size == 1 && at + 16 <= data.size()) {
            size = be(data, at + 8, 8);
            header = 16;
        } else if (size == 0) {
            size = quint64(data.size() - at);
        }
        if (size < quint64(header) || size > quint64(data.size() - at))
            break;
        boxes.push_back({data.sliced(at + 4, 4), data.sliced(at + header, qsizetype(size) - header)});
        at += qsizetype(size);
    }
    return boxes;
}

QByteArrayView bodyOf(const std::vector<Box>& boxes, QByteArrayView type) {
    for (const Box& box : boxes) {
        if (box.type == type)
            return box.body;
    }
    return {};
}

// A NAL unit's payload: its bytes without those that prevent start codes.
QByteArray rbspOf(QByteArrayView nal) {
    QByteArray bytes;
    int zeros = 0;
    for (const char byte : nal) {
        if (byte == 3 && zeros >= 2) {
            zeros = 0;
            continue;
        }
        zeros = byte == 0 ? zeros + 1 : 0;
        bytes.append(byte);
    }
    return bytes;
}

// Reads bits, the most significant of each byte first.
class BitReader {
  public:
    explicit BitReader(QByteArray bytes) : bytes_(std::move(bytes)) {}
    quint32 bits(int count) {
        quint32 v = 0;
        for (int i = 0; i < count; ++i, ++at_) {
            if (at_ >= bytes_.size() * 8) {
                ok_ = false;
                return 0;
            }
            v = v << 1 | ((uchar(bytes_[at_ / 8]) >> (7 - at_ % 8)) & 1);
        }
        return v;
    }
    void skip(int count) { bits(count); }
    // An unsigned Exp-Golomb code.
    quint32 ue() {
        int zeros = 0;
        while (ok_ && bits(1) == 0)
            if (++zeros > 31)
                ok_ = false;
        return ok_ ? quint32((1ull << zeros) - 1 + bits(zeros)) : 0;
    }
    // AV1's variable-length code, read as its decoders read it: 32 zeros give the largest value.
    quint32 uvlc() {
        int zeros = 0;
        while (ok_ && bits(1) == 0)
            if (++zeros == 32)
                return 0xFFFFFFFF;
        return ok_ ? quint32((1ull << zeros) - 1 + bits(zeros)) : 0;
    }
    bool ok() const { return ok_; }

  private:
    QByteArray bytes_;
    qsizetype at_ = 0;
    bool ok_ = true;
};

// The picture size of an HEVC sequence parameter set (before its conformance window).
std::optional<Size> spsSize(QByteArrayView nal) {
    BitReader b(rbspOf(nal));
    b.skip(16 + 4); // the NAL unit header, the video parameter set's id
    const int subLayers = int(b.bits(3));
    b.skip(1 + 96); // temporal nesting, the general profile, tier and level
    bool profile[8] = {}, level[8] = {};
    for (int i = 0; i < subLayers; ++i) {
        profile[i] = b.bits(1);
        level[i] = b.bits(1);
    }
    if (subLayers > 0)
        b.skip(2 * (8 - subLayers));
    for (int i = 0; i < subLayers; ++i)
        b.skip((profile[i] ? 88 : 0) + (level[i] ? 8 : 0));
    b.ue(); // the set's id
    if (b.ue() == 3)
        b.skip(1); // colour planes coded apart
    const quint32 width = b.ue();
    const quint32 height = b.ue();
    return b.ok() ? std::optional(std::pair(width, height)) : std::nullopt;
}

// The largest picture size of the sequence parameter sets of an hvcC property.
std::optional<Size> hvccSize(QByteArrayView hvcc) {
    constexpr qsizetype ArraysAt = 22;
    if (hvcc.size() <= ArraysAt)
        return std::nullopt;
    std::optional<Size> largest;
    qsizetype at = ArraysAt + 1;
    for (int array = 0, arrays = uchar(hvcc[ArraysAt]); array < arrays && at + 3 <= hvcc.size(); ++array) {
        const int type = uchar(hvcc[at]) & 0x3F;
        const int units = int(be(hvcc, at + 1, 2));
        at += 3;
        for (int unit = 0; unit < units && at + 2 <= hvcc.size(); ++unit) {
            const qsizetype length = qsizetype(be(hvcc, at, 2));
            if (length > hvcc.size() - at - 2)
                return largest;
            constexpr int SequenceParameterSet = 33;
            if (const auto size =
                    type == SequenceParameterSet ? spsSize(hvcc.sliced(at + 2, length)) : std::nullopt;
                size &&
                (!largest || size->first * quint64(size->second) > largest->first * quint64(largest->second)))
                largest = size;
            at += 2 + length;
        }
    }
    return largest;
}

// Skips an AV1 sequence header's timing, decoder model and operating points (a header that is not
// reduced to a still picture's).
void skipAv1OperatingPoints(BitReader& b) {
    int bufferDelayBits = 0; // none without a decoder model
    if (b.bits(1)) {         // timing information
        b.skip(32 + 32);     // the display tick, the time scale
        if (b.bits(1))       // an equal picture interval
            b.uvlc();
        if (b.bits(1)) { // decoder model information
            bufferDelayBits = int(b.bits(5)) + 1;
            b.skip(32 + 5 + 5); // the decoding tick, the lengths of the removal and presentation times
        }
    }
    const bool displayDelays = b.bits(1);
    const int points = int(b.bits(5)) + 1;
    for (int i = 0; i < points && b.ok(); ++i) {
        b.skip(12);        // the layers of the point
        if (b.bits(5) > 7) // its level
            b.skip(1);     // its tier
        if (bufferDelayBits > 0 && b.bits(1))
            b.skip(2 * bufferDelayBits + 1); // its decoder and encoder buffer delays, low delay
        if (displayDelays && b.bits(1))
            b.skip(4);
    }
}

// The largest frame size of an AV1 sequence header (an OBU's payload): every frame of its sequence
// is at most that size.
std::optional<Size> av1SequenceSize(QByteArrayView header) {
    constexpr qsizetype LongestRead = 1024; // the fields read take at most about 400 bytes
    BitReader b(header.first(qMin(header.size(), LongestRead)).toByteArray());
    b.skip(3 + 1); // the profile, a still picture
    if (b.bits(1)) // reduced to a still picture's header
        b.skip(5); // the level
    else
        skipAv1OperatingPoints(b);
    const int widthBits = int(b.bits(4)) + 1;
    const int heightBits = int(b.bits(4)) + 1;
    const quint32 width = b.bits(widthBits) + 1;
    const quint32 height = b.bits(heightBits) + 1;
    return b.ok() ? std::optional(Size(width, height)) : std::nullopt;
}

// An OBU's size field (LEB128), advancing `at` past it.
std::optional<quint64> leb128(QByteArrayView data, qsizetype& at) {
    quint64 value = 0;
    for (int i = 0; i < 8 && at < data.size(); ++i) {
        const uchar byte = uchar(data[at++]);
        value |= quint64(byte & 0x7F) << (7 * i);
        if (!(byte & 0x80))
            return value;
    }
    return std::nullopt;
}

// Each side the larger of the two sizes.
std::optional<Size> larger(std::optional<Size> a, std::optional<Size> b) {
    if (!a || !b)
        return a ? a : b;
    return Size(qMax(a->first, b->first), qMax(a->second, b->second));
}

// The largest frame size the sequence headers among AV1 OBUs give (the OBUs one after another, as an
// av1C property's configOBUs and an item's data hold them); nothing without a header it can read.
std::optional<Size> av1ObusSize(QByteArrayView obus) {
    std::optional<Size> largest;
    for (qsizetype at = 0; at < obus.size();) {
        const uchar header = uchar(obus[at]);
        qsizetype start = at + 1 + (header & 4 ? 1 : 0); // the header, its extension
        quint64 size = 0;
        if (header & 2) {
            const std::optional<quint64> field = start <= obus.size() ? leb128(obus, start) : std::nullopt;
            if (!field)
                break;
            size = *field;
        } else if (start <= obus.size()) {
            size = quint64(obus.size() - start);
        }
        if (start > obus.size() || size > quint64(obus.size() - start))
            break;
        constexpr int SequenceHeader = 1;
        if ((header >> 3 & 0xF) == SequenceHeader)
            largest = larger(largest, av1SequenceSize(obus.sliced(start, qsizetype(size))));
        at = start + qsizetype(size);
    }
    return largest;
}

// The property indexes (1-based, into ipco) of each item, from an ipma property.
QHash<quint32, std::vector<int>> associations(QByteArrayView ipma) {
    QHash<quint32, std::vector<int>> items;
    if (ipma.size() < 8)
        return items;
    const int version = uchar(ipma[0]);
    const bool wide = uchar(ipma[3]) & 1;
    qsizetype at = 8;
    for (quint64 entry = 0, entries = be(ipma, 4, 4); entry < entries; ++entry) {
        const int idBytes = version < 1 ? 2 : 4;
        if (at + idBytes + 1 > ipma.size())
            break;
        std::vector<int>& properties = items[quint32(be(ipma, at, idBytes))];
        const int count = uchar(ipma[at + idBytes]);
        at += idBytes + 1;
        for (int i = 0; i < count && at + (wide ? 2 : 1) <= ipma.size(); ++i, at += wide ? 2 : 1)
            properties.push_back(int(be(ipma, at, wide ? 2 : 1) & (wide ? 0x7FFF : 0x7F)));
    }
    return items;
}

// The first extent of an item's data, where an iloc box places it in the file itself (construction
// method 0); nothing for data elsewhere, which libheif judges.
QByteArrayView firstExtent(QByteArrayView file, QByteArrayView iloc, quint32 item) {
    if (iloc.size() < 6 || uchar(iloc[0]) > 2)
        return {};
    const int version = uchar(iloc[0]);
    const int offsetSize = uchar(iloc[4]) >> 4, lengthSize = uchar(iloc[4]) & 0xF;
    const int baseSize = uchar(iloc[5]) >> 4, indexSize = version > 0 ? uchar(iloc[5]) & 0xF : 0;
    const int idSize = version < 2 ? 2 : 4, methodSize = version > 0 ? 2 : 0;
    if (qMax(qMax(offsetSize, lengthSize), qMax(baseSize, indexSize)) > 8 || 6 + idSize > iloc.size())
        return {};
    const qsizetype extentSize = indexSize + offsetSize + lengthSize;
    qsizetype at = 6 + idSize;
    for (quint64 i = 0, items = be(iloc, 6, idSize); i < items; ++i) {
        const qsizetype extentsAt = at + idSize + methodSize + 2 + baseSize;
        if (extentsAt + 2 > iloc.size())
            return {};
        const quint64 extents = be(iloc, extentsAt, 2);
        if (be(iloc, at, idSize) == item) {
            const bool inFile = (methodSize == 0 || (be(iloc, at + idSize, 2) & 0xF) == 0) &&
                                be(iloc, at + idSize + methodSize, 2) == 0; // no data reference
            const qsizetype first = extentsAt + 2;
            if (!inFile || extents == 0 || first + extentSize > iloc.size())
                return {};
            const quint64 base = be(iloc, at + idSize + methodSize + 2, baseSize);
            const quint64 offset = be(iloc, first + indexSize, offsetSize);
            if (base > quint64(file.size()) || offset > quint64(file.size()) - base)
                return {};
            const quint64 rest = quint64(file.size()) - base - offset;
            const quint64 length = be(iloc, first + indexSize + offsetSize, lengthSize); // 0: the rest
            return file.sliced(qsizetype(base + offset),
                               qsizetype(length == 0 || length > rest ? rest : length));
        }
        if (extentSize > 0 && extents > quint64(iloc.size() - extentsAt - 2) / quint64(extentSize))
            return {};
        at = extentsAt + 2 + qsizetype(extents) * extentSize;
    }
    return {};
}

struct ItemProperties {
    QByteArrayView ispe, hvcc, av1c;
};

ItemProperties propertiesOf(const std::vector<int>& indexes, const std::vector<Box>& properties) {
    ItemProperties item;
    for (const int index : indexes) {
        if (index < 1 || index > int(properties.size()))
            continue;
        const Box& property = properties[size_t(index - 1)];
        if (property.type == "ispe" && property.body.size() >= 12)
            item.ispe = property.body;
        else if (property.type == "hvcC")
            item.hvcc = property.body;
        else if (property.type == "av1C" && property.body.size() >= 4)
            item.av1c = property.body;
    }
    return item;
}

} // namespace

bool heifCodedSizesWithinDeclared(QByteArrayView file) {
    const QByteArrayView meta = bodyOf(boxesIn(file), "meta");
    if (meta.size() < 4)
        return true;
    const std::vector<Box> metaBoxes = boxesIn(meta.sliced(4));
    const std::vector<Box> iprp = boxesIn(bodyOf(metaBoxes, "iprp"));
    const std::vector<Box> properties = boxesIn(bodyOf(iprp, "ipco"));
    const QByteArrayView iloc = bodyOf(metaBoxes, "iloc");
    const QHash<quint32, std::vector<int>> items = associations(bodyOf(iprp, "ipma"));
    // A coded picture may exceed its declared size up to a coding block: 64 pixels in HEVC, an AV1
    // superblock of up to 128.
    constexpr quint64 HevcCodingBlock = 64, Av1Superblock = 128;
    for (auto it = items.cbegin(); it != items.cend(); ++it) {
        const ItemProperties item = propertiesOf(it.value(), properties);
        // libheif gives an AV1 decoder the av1C's headers, then the item's data: either may set the size.
        const auto coded = !item.hvcc.isEmpty()   ? hvccSize(item.hvcc)
                           : !item.av1c.isEmpty() ? larger(av1ObusSize(item.av1c.sliced(4)),
                                                           av1ObusSize(firstExtent(file, iloc, it.key())))
                                                  : std::nullopt;
        if (!coded || coded->first == 0 || coded->second == 0)
            continue;
        if (!fitsPicturePolicy(coded->first, coded->second))
            return false;
        const quint64 block = item.hvcc.isEmpty() ? Av1Superblock : HevcCodingBlock;
        if (!item.ispe.isEmpty() &&
            (coded->first > be(item.ispe, 4, 4) + block || coded->second > be(item.ispe, 8, 4) + block))
            return false;
    }
    return true;
}

} // namespace imaging
