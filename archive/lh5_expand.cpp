// SPDX-License-Identifier: MIT
// "-lh5-" expansion with 12-bit (symbols) and 8-bit (code lengths, distances) lookup tables.
#include "codec_io.h"
#include "huffman.h"
#include "lh5_constants.h"
#include "lha_errors.h"
#include "match_finder.h"

#include <algorithm>
#include <memory>

namespace verasco::archive {
namespace {

using namespace lh5;

[[noreturn]] void BadTable() {
    throw ELZHBadDecodeTable("Bad decode table in archive!");
}

struct Lh5Tables {
    uint8_t cLen[kNC];
    uint8_t ptLen[kNT];
    uint16_t cTable[4096];
    uint16_t ptTable[256];
    uint16_t cLeft[2 * kNC], cRight[2 * kNC];
    uint16_t ptLeft[2 * kNT], ptRight[2 * kNT];
};

class Lh5Expander {
  public:
    Lh5Expander(ByteSource& in, ByteSink& out) : bits_(in), window_(out, kDictionary) {}

    void run(uint64_t expected) {
        uint64_t remaining = expected;
        uint16_t blockLeft = 0;
        Lh5Tables& t = t_;
        while (remaining > 0) {
            if (bits_.overran())
                break;
            if (blockLeft == 0) {
                blockLeft = static_cast<uint16_t>(bits_.get(16));
                readPtLen(kNT, kTBits, 3);
                readCLen();
                readPtLen(kNP, kPBits, -1);
            }
            --blockLeft;
            bits_.fill();
            unsigned c = t.cTable[bits_.peek(12)];
            if (c >= static_cast<unsigned>(kNC)) {
                uint64_t b = bits_.raw() << 12;
                do {
                    c = (b >> 63) ? t.cRight[c] : t.cLeft[c];
                    b <<= 1;
                } while (c >= static_cast<unsigned>(kNC));
            }
            bits_.skip(t.cLen[c]);
            if (c < 256) {
                window_.literal(static_cast<uint8_t>(c));
                --remaining;
            } else {
                uint32_t length = c - 253;
                unsigned j = t.ptTable[bits_.peek(8)];
                if (j >= static_cast<unsigned>(kNP)) {
                    uint64_t b = bits_.raw() << 8;
                    do {
                        j = (b >> 63) ? t.ptRight[j] : t.ptLeft[j];
                        b <<= 1;
                    } while (j >= static_cast<unsigned>(kNP));
                }
                bits_.skip(t.ptLen[j]);
                uint32_t distance = 0;
                if (j != 0) {
                    distance = (1u << (j - 1));
                    if (j > 1) {
                        distance += bits_.peek(j - 1);
                        bits_.skip(j - 1);
                    }
                }
                if (length > remaining)
                    length = static_cast<uint32_t>(remaining);
                window_.copy(distance, length);
                remaining -= length;
            }
            window_.maybeFlush();
        }
        window_.flush();
    }

  private:
    void readPtLen(int nn, int nbit, int special) {
        Lh5Tables& t = t_;
        const int n = static_cast<int>(bits_.get(nbit));
        if (n == 0) {
            const unsigned c = bits_.get(nbit);
            if (c >= static_cast<unsigned>(nn))
                BadTable();
            std::fill(t.ptLen, t.ptLen + nn, 0);
            std::fill(std::begin(t.ptTable), std::end(t.ptTable), static_cast<uint16_t>(c));
            return;
        }
        if (n > nn)
            BadTable();
        int i = 0;
        while (i < n) {
            bits_.fill();
            unsigned c = bits_.peek(3);
            if (c == 7) {
                uint64_t b = bits_.raw() << 3;
                while (b >> 63) {
                    b <<= 1;
                    if (++c > kMaxCodeLength)
                        BadTable();
                }
            }
            bits_.skip(c < 7 ? 3 : c - 3);
            t.ptLen[i++] = static_cast<uint8_t>(c);
            if (i == special) {
                int zeros = static_cast<int>(bits_.get(2));
                if (i + zeros > nn)
                    BadTable();
                while (zeros-- > 0)
                    t.ptLen[i++] = 0;
            }
        }
        while (i < nn)
            t.ptLen[i++] = 0;
        MakeDecodeTable(nn, t.ptLen, 8, t.ptTable, t.ptLeft, t.ptRight);
    }

    void readCLen() {
        Lh5Tables& t = t_;
        const int n = static_cast<int>(bits_.get(kCBits));
        if (n == 0) {
            const unsigned c = bits_.get(kCBits);
            if (c >= static_cast<unsigned>(kNC))
                BadTable();
            std::fill(std::begin(t.cLen), std::end(t.cLen), 0);
            std::fill(std::begin(t.cTable), std::end(t.cTable), static_cast<uint16_t>(c));
            return;
        }
        if (n > kNC)
            BadTable();
        int i = 0;
        while (i < n) {
            bits_.fill();
            unsigned c = t.ptTable[bits_.peek(8)];
            if (c >= static_cast<unsigned>(kNT)) {
                uint64_t b = bits_.raw() << 8;
                do {
                    c = (b >> 63) ? t.ptRight[c] : t.ptLeft[c];
                    b <<= 1;
                } while (c >= static_cast<unsigned>(kNT));
            }
            bits_.skip(t.ptLen[c]);
            if (c <= 2) {
                int run = c == 0   ? 1
                          : c == 1 ? static_cast<int>(bits_.get(4)) + 3
                                   : static_cast<int>(bits_.get(kCBits)) + 20;
                if (i + run > kNC)
                    BadTable();
                while (run-- > 0)
                    t.cLen[i++] = 0;
            } else {
                t.cLen[i++] = static_cast<uint8_t>(c - 2);
            }
        }
        while (i < kNC)
            t.cLen[i++] = 0;
        MakeDecodeTable(kNC, t.cLen, 12, t.cTable, t.cLeft, t.cRight);
    }

    BitReader bits_;
    ExpandWindow window_;
    Lh5Tables t_{};
};

} // namespace

void ExpandLh5(ByteSource& in, ByteSink& out, uint64_t expectedSize) {
    if (expectedSize == 0)
        return;
    auto expander = std::make_unique<Lh5Expander>(in, out);
    expander->run(expectedSize);
}

} // namespace verasco::archive
