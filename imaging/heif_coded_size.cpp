// SPDX-License-Identifier: MIT
#include "heif_coded_size.h"

#include "picture_limits.h"

#include <QByteArray>
#include <QHash>

#include <optional>
#include <vector>

namespace imaging {

namespace {

quint64 be(QByteArrayView data, qsizetype at, int bytes) {
    quint64 v = 0;
    for (int i = 0; i < bytes; ++i)
        v = v << 8 | uchar(data[at + i]);
    return v;
}

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

// Reads the bits of a NAL unit's payload, the bytes that prevent start codes taken out.
class BitReader {
  public:
    explicit BitReader(QByteArrayView nal) {
        int zeros = 0;
        for (const char byte : nal) {
            if (byte == 3 && zeros >= 2) {
                zeros = 0;
                continue;
            }
            zeros = byte == 0 ? zeros + 1 : 0;
            bytes_.append(byte);
        }
    }
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
    bool ok() const { return ok_; }

  private:
    QByteArray bytes_;
    qsizetype at_ = 0;
    bool ok_ = true;
};

// The picture size of an HEVC sequence parameter set (before its conformance window).
std::optional<std::pair<quint32, quint32>> spsSize(QByteArrayView nal) {
    BitReader b(nal);
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
std::optional<std::pair<quint32, quint32>> hvccSize(QByteArrayView hvcc) {
    constexpr qsizetype ArraysAt = 22;
    if (hvcc.size() <= ArraysAt)
        return std::nullopt;
    std::optional<std::pair<quint32, quint32>> largest;
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

} // namespace

bool heifCodedSizesWithinDeclared(QByteArrayView file) {
    const QByteArrayView meta = bodyOf(boxesIn(file), "meta");
    if (meta.size() < 4)
        return true;
    const std::vector<Box> iprp = boxesIn(bodyOf(boxesIn(meta.sliced(4)), "iprp"));
    const std::vector<Box> properties = boxesIn(bodyOf(iprp, "ipco"));
    constexpr int CodingBlock = 64;
    for (const std::vector<int>& indexes : associations(bodyOf(iprp, "ipma"))) {
        QByteArrayView ispe, hvcc;
        for (const int index : indexes) {
            if (index < 1 || index > int(properties.size()))
                continue;
            const Box& property = properties[size_t(index - 1)];
            if (property.type == "ispe" && property.body.size() >= 12)
                ispe = property.body;
            else if (property.type == "hvcC")
                hvcc = property.body;
        }
        const auto coded = hvcc.isEmpty() ? std::nullopt : hvccSize(hvcc);
        if (!coded || coded->first == 0 || coded->second == 0)
            continue;
        if (!fitsPicturePolicy(coded->first, coded->second))
            return false;
        if (!ispe.isEmpty() &&
            (coded->first > be(ispe, 4, 4) + CodingBlock || coded->second > be(ispe, 8, 4) + CodingBlock))
            return false;
    }
    return true;
}

} // namespace imaging
