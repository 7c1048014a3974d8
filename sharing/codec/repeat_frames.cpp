// SPDX-License-Identifier: MIT
#include "repeat_frames.h"

#include <vector>

namespace sharing::codec {

namespace {

// Bits of an RBSP, most significant first, with Exp-Golomb codes. Reading past the end gives zeros.
class BitReader {
  public:
    explicit BitReader(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    unsigned bit() {
        const std::size_t byte = at_ / 8;
        const unsigned value = byte < bytes_.size() ? (bytes_[byte] >> (7 - at_ % 8)) & 1 : 0;
        ++at_;
        return value;
    }
    unsigned bits(int n) {
        unsigned value = 0;
        while (n-- > 0)
            value = (value << 1) | bit();
        return value;
    }
    unsigned ue() {
        int zeros = 0;
        while (bit() == 0 && zeros < 32)
            ++zeros;
        return zeros >= 32 ? 0 : ((1u << zeros) - 1) + bits(zeros);
    }
    int se() {
        const unsigned k = ue();
        return (k & 1) ? int((k + 1) / 2) : -int(k / 2);
    }
    bool overrun() const { return at_ > bytes_.size() * 8; }
    std::size_t at() const { return at_; }
    // Where the RBSP's stop bit lies: the last bit set.
    std::size_t stopBit() const {
        std::size_t end = bytes_.size();
        while (end > 0 && bytes_[end - 1] == 0)
            --end;
        if (end == 0)
            return 0;
        int low = 0;
        while (((bytes_[end - 1] >> low) & 1) == 0)
            ++low;
        return end * 8 - 1 - std::size_t(low);
    }

  private:
    std::vector<uint8_t> bytes_;
    std::size_t at_ = 0;
};

class BitWriter {
  public:
    void bit(unsigned value) {
        current_ = uint8_t((current_ << 1) | (value & 1));
        if (++filled_ == 8) {
            bytes_.push_back(current_);
            current_ = 0;
            filled_ = 0;
        }
    }
    void bits(std::uint64_t value, int n) {
        while (n-- > 0)
            bit(unsigned(value >> n) & 1);
    }
    void ue(std::uint64_t value) {
        const std::uint64_t code = value + 1;
        int length = 0;
        while ((code >> length) > 1)
            ++length;
        bits(0, length);
        bits(code, length + 1);
    }
    void se(std::int64_t value) { ue(value > 0 ? std::uint64_t(2 * value - 1) : std::uint64_t(-2 * value)); }
    // rbsp_trailing_bits: a one, then zeros to the byte's end.
    std::vector<uint8_t> finish() {
        bit(1);
        while (filled_ != 0)
            bit(0);
        return bytes_;
    }

  private:
    std::vector<uint8_t> bytes_;
    uint8_t current_ = 0;
    int filled_ = 0;
};

// The payloads of the NAL units between start codes, with the emulation prevention bytes removed.
std::vector<std::vector<uint8_t>> nalUnits(QByteArrayView data) {
    std::vector<std::vector<uint8_t>> units;
    std::vector<uint8_t>* unit = nullptr;
    int zeros = 0;
    for (qsizetype i = 0; i < data.size(); ++i) {
        const auto byte = uint8_t(data[i]);
        if (zeros >= 2 && byte == 1) {
            if (unit) // the zeros before a start code belong to it
                unit->resize(unit->size() - std::size_t(std::min(zeros, int(unit->size()))));
            unit = &units.emplace_back();
            zeros = 0;
            continue;
        }
        if (unit && !(zeros >= 2 && byte == 3))
            unit->push_back(byte);
        zeros = byte == 0 ? zeros + 1 : 0;
    }
    return units;
}

void skipScalingList(BitReader& r, int size) {
    int last = 8, next = 8;
    for (int j = 0; j < size; ++j) {
        if (next != 0)
            next = (last + r.se() + 256) % 256;
        last = next == 0 ? last : next;
    }
}

bool readSps(BitReader r, H264Parameters& p) {
    const unsigned profile = r.bits(8);
    r.bits(16); // constraint flags, level
    p.spsId = int(r.ue());
    if (profile == 100 || profile == 110 || profile == 122 || profile == 244 || profile == 44 ||
        profile == 83 || profile == 86 || profile == 118 || profile == 128 || profile == 138 ||
        profile == 139 || profile == 134 || profile == 135) {
        p.chromaFormat = int(r.ue());
        if (p.chromaFormat == 3 && r.bit())
            return false; // separate colour planes
        r.ue();
        r.ue();
        r.bit();
        if (r.bit())
            for (int i = 0; i < (p.chromaFormat == 3 ? 12 : 8); ++i)
                if (r.bit())
                    skipScalingList(r, i < 6 ? 16 : 64);
    }
    p.log2MaxFrameNum = int(r.ue()) + 4;
    p.pocType = int(r.ue());
    if (p.pocType == 0)
        p.log2MaxPocLsb = int(r.ue()) + 4;
    else if (p.pocType != 2)
        return false;
    r.ue(); // max_num_ref_frames
    r.bit();
    const unsigned width = r.ue() + 1;
    const unsigned height = r.ue() + 1;
    if (!r.bit())
        return false; // field pictures
    p.macroblocks = int(width * height);
    return !r.overrun();
}

bool readPps(BitReader r, H264Parameters& p) {
    p.ppsId = int(r.ue());
    if (int(r.ue()) != p.spsId)
        return false; // another parameter set
    p.cabac = r.bit();
    p.bottomFieldPocPresent = r.bit();
    if (r.ue() != 0)
        return false; // slice groups
    r.ue();
    r.ue();
    p.weightedPrediction = r.bit();
    r.bits(2);
    r.se();
    r.se();
    r.se();
    p.deblockingControl = r.bit();
    r.bit();
    p.redundantPictureCount = r.bit();
    return !r.overrun();
}

// A NAL unit with its start code, its header byte, and its RBSP with emulation prevention bytes.
QByteArray annexB(uint8_t header, const std::vector<uint8_t>& rbsp) {
    QByteArray nal("\0\0\0\1", 4);
    nal.append(char(header));
    int zeros = 0;
    for (const uint8_t byte : rbsp) {
        if (zeros >= 2 && byte <= 3) {
            nal.append(char(3));
            zeros = 0;
        }
        nal.append(char(byte));
        zeros = byte == 0 ? zeros + 1 : 0;
    }
    return nal;
}

} // namespace

std::optional<H264Parameters> readH264Parameters(QByteArrayView header) {
    H264Parameters p;
    bool sps = false, pps = false;
    for (auto& unit : nalUnits(header)) {
        if (unit.empty())
            continue;
        const int type = unit[0] & 0x1F;
        unit.erase(unit.begin());
        if (type == 7 && !sps)
            sps = readSps(BitReader(unit), p);
        else if (type == 8 && sps && !pps)
            pps = readPps(BitReader(unit), p);
    }
    if (!sps || !pps || p.macroblocks <= 0)
        return std::nullopt;
    return p;
}

QByteArray h264RepeatPicture(const H264Parameters& p, std::int64_t n) {
    BitWriter w;
    w.ue(0); // first macroblock
    w.ue(5); // P, as every slice of the picture
    w.ue(std::uint64_t(p.ppsId));
    w.bits(std::uint64_t(n) % (1ull << p.log2MaxFrameNum), p.log2MaxFrameNum);
    if (p.pocType == 0) {
        w.bits(std::uint64_t(2 * n) % (1ull << p.log2MaxPocLsb), p.log2MaxPocLsb);
        if (p.bottomFieldPocPresent)
            w.se(0);
    }
    if (p.redundantPictureCount)
        w.ue(0);
    w.bit(1); // one reference picture, whatever the picture parameters say
    w.ue(0);
    w.bit(0); // reference list as it is
    if (p.weightedPrediction) {
        w.ue(0);
        if (p.chromaFormat != 0)
            w.ue(0);
        w.bit(0);
        if (p.chromaFormat != 0)
            w.bit(0);
    }
    w.bit(0); // sliding window reference marking
    w.se(0);  // quantiser as the picture parameters say
    if (p.deblockingControl)
        w.ue(1);                        // nothing to deblock in a copy
    w.ue(std::uint64_t(p.macroblocks)); // every macroblock skipped
    return annexB(0x41, w.finish());    // a reference picture, coded slice of a non-IDR picture
}

QByteArray h264RepeatParameterSet(QByteArrayView header, H264Parameters* parameters) {
    for (auto& unit : nalUnits(header)) {
        if (unit.empty() || (unit[0] & 0x1F) != 8)
            continue;
        const uint8_t type = unit[0];
        unit.erase(unit.begin());
        BitReader r(std::move(unit));
        r.ue();
        const unsigned sps = r.ue();
        r.bit();
        parameters->ppsId = (parameters->ppsId + 1) % 256;
        parameters->cabac = false;
        BitWriter w;
        w.ue(std::uint64_t(parameters->ppsId));
        w.ue(sps);
        w.bit(0); // CAVLC
        for (const std::size_t stop = r.stopBit(); r.at() < stop;)
            w.bit(r.bit());
        return annexB(type, w.finish());
    }
    return {};
}

QByteArray vp9RepeatFrame() {
    // frame_marker 2, profile 0, show_existing_frame 1, frame_to_show_map_idx 0: a key frame
    // refreshes every reference slot, so slot 0 holds it.
    return QByteArray(1, char(0x88));
}

} // namespace sharing::codec
