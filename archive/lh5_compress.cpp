// SPDX-License-Identifier: MIT
// "-lh5-" compression: LZ matches over an 8 KB dictionary with one step of lazy evaluation, then
// static Huffman codes per block of at most 16 KB of buffered symbols.
#include "codec_io.h"
#include "huffman.h"
#include "lh5_constants.h"
#include "match_finder.h"

#include <algorithm>
#include <memory>

namespace verasco::archive {
namespace {

using namespace lh5;

// Search effort: enough to stay ahead of common LHA writers in size at a good speed.
constexpr MatchLimits kLimits{kDictionary, kMaxMatch, 128, 128};
// A longer previous match is taken without looking one byte further.
constexpr uint32_t kMaxLazy = 64;
// A three-byte match this far back costs more bits than three literals, as a rule.
constexpr uint32_t kTooFar = 2048;

unsigned BitCount(unsigned v) {
    return v == 0 ? 0 : 32 - static_cast<unsigned>(__builtin_clz(v));
}

class Lh5Compressor {
  public:
    Lh5Compressor(ByteSource& in, ByteSink& out) : finder_(in, kLimits), bits_(out) {}

    void run() {
        finder_.fill(1);
        if (finder_.end() == 1)
            return; // no data bytes at all
        uint64_t pos = 1, matchPos = 0;
        uint32_t matchLen = kMinMatch - 1;
        bool literalPending = false;
        for (;;) {
            finder_.fill(pos);
            const uint64_t end = finder_.end();
            if (pos >= end)
                break;
            const uint32_t prevLen = matchLen;
            const uint64_t prevPos = matchPos;
            matchLen = kMinMatch - 1;
            if (pos + kMinMatch <= end) {
                const uint64_t head = finder_.insert(pos);
                if (head != 0 && prevLen < kMaxLazy) {
                    uint64_t p = 0;
                    const uint32_t found = finder_.longest(pos, head, std::max(prevLen, kMinMatch - 1), p);
                    if (found && !(found == kMinMatch && pos - p > kTooFar)) {
                        matchLen = found;
                        matchPos = p;
                    }
                }
            }
            if (prevLen >= kMinMatch && matchLen <= prevLen) {
                // The match found one byte earlier wins.
                const uint64_t start = pos - 1;
                output(prevLen + 253, static_cast<unsigned>(start - prevPos - 1));
                const uint64_t stop = start + prevLen;
                for (uint64_t p = pos + 1; p < stop; ++p)
                    if (p + kMinMatch <= end)
                        finder_.insert(p);
                pos = stop;
                literalPending = false;
                matchLen = kMinMatch - 1;
            } else if (literalPending) {
                output(finder_.at(pos - 1), 0);
                ++pos;
            } else {
                literalPending = true;
                ++pos;
            }
        }
        if (literalPending)
            output(finder_.at(pos - 1), 0);
        sendBlock();
        bits_.flush();
    }

  private:
    void output(unsigned c, unsigned distance) {
        if ((outputMask_ >>= 1) == 0) {
            outputMask_ = 0x80;
            if (outputPos_ >= kBlockLimit) {
                sendBlock();
                outputPos_ = 0;
            }
            flagPos_ = outputPos_++;
            block_[flagPos_] = 0;
        }
        block_[outputPos_++] = static_cast<uint8_t>(c);
        ++cFreq_[c];
        if (c >= 256) {
            block_[flagPos_] |= static_cast<uint8_t>(outputMask_);
            block_[outputPos_++] = static_cast<uint8_t>(distance >> 8);
            block_[outputPos_++] = static_cast<uint8_t>(distance);
            ++pFreq_[BitCount(distance)];
        }
    }

    void countTFreq() {
        std::fill(std::begin(tFreq_), std::end(tFreq_), 0);
        int n = kNC;
        while (n > 0 && cLen_[n - 1] == 0)
            --n;
        int i = 0;
        while (i < n) {
            const int k = cLen_[i++];
            if (k == 0) {
                int count = 1;
                while (i < n && cLen_[i] == 0) {
                    ++i;
                    ++count;
                }
                if (count <= 2)
                    tFreq_[0] += count;
                else if (count <= 18)
                    ++tFreq_[1];
                else if (count == 19) {
                    ++tFreq_[0];
                    ++tFreq_[1];
                } else
                    ++tFreq_[2];
            } else {
                ++tFreq_[k + 2];
            }
        }
    }

    void writePtLen(int n, int nbit, int special) {
        while (n > 0 && ptLen_[n - 1] == 0)
            --n;
        bits_.put(nbit, n);
        int i = 0;
        while (i < n) {
            const int k = ptLen_[i++];
            if (k <= 6)
                bits_.put(3, k);
            else
                bits_.put(k - 3, (1u << (k - 3)) - 2);
            if (i == special) {
                while (i < 6 && ptLen_[i] == 0)
                    ++i;
                bits_.put(2, (i - 3) & 3);
            }
        }
    }

    void writeCLen() {
        int n = kNC;
        while (n > 0 && cLen_[n - 1] == 0)
            --n;
        bits_.put(kCBits, n);
        int i = 0;
        while (i < n) {
            const int k = cLen_[i++];
            if (k == 0) {
                int count = 1;
                while (i < n && cLen_[i] == 0) {
                    ++i;
                    ++count;
                }
                if (count <= 2) {
                    for (int r = 0; r < count; ++r)
                        bits_.put(ptLen_[0], ptCode_[0]);
                } else if (count <= 18) {
                    bits_.put(ptLen_[1], ptCode_[1]);
                    bits_.put(4, count - 3);
                } else if (count == 19) {
                    bits_.put(ptLen_[0], ptCode_[0]);
                    bits_.put(ptLen_[1], ptCode_[1]);
                    bits_.put(4, 15);
                } else {
                    bits_.put(ptLen_[2], ptCode_[2]);
                    bits_.put(kCBits, count - 20);
                }
            } else {
                bits_.put(ptLen_[k + 2], ptCode_[k + 2]);
            }
        }
    }

    void sendBlock() {
        int root = MakeHuffmanTree(kNC, cFreq_, cLen_, cCode_);
        unsigned size = 0;
        for (int i = 0; i < kNC; ++i)
            size += cFreq_[i];
        if (size == 0)
            return;
        bits_.put(16, size);
        if (root >= kNC) {
            countTFreq();
            root = MakeHuffmanTree(kNT, tFreq_, ptLen_, ptCode_);
            if (root >= kNT) {
                writePtLen(kNT, kTBits, 3);
            } else {
                bits_.put(kTBits, 0);
                bits_.put(kTBits, root);
            }
            writeCLen();
        } else {
            bits_.put(kTBits, 0);
            bits_.put(kTBits, 0);
            bits_.put(kCBits, 0);
            bits_.put(kCBits, root);
        }
        root = MakeHuffmanTree(kNP, pFreq_, ptLen_, ptCode_);
        if (root >= kNP) {
            writePtLen(kNP, kPBits, -1);
        } else {
            bits_.put(kPBits, 0);
            bits_.put(kPBits, root);
        }
        unsigned pos = 0, flags = 0;
        for (unsigned i = 0; i < size; ++i) {
            if (i % 8 == 0)
                flags = block_[pos++];
            else
                flags <<= 1;
            if (flags & 0x80) {
                const unsigned k = block_[pos++] + 256u;
                bits_.put(cLen_[k], cCode_[k]);
                const unsigned d = (static_cast<unsigned>(block_[pos]) << 8) | block_[pos + 1];
                pos += 2;
                const unsigned cls = BitCount(d);
                bits_.put(ptLen_[cls], ptCode_[cls]);
                if (cls > 1)
                    bits_.put(cls - 1, d & ((1u << (cls - 1)) - 1));
            } else {
                const unsigned k = block_[pos++];
                bits_.put(cLen_[k], cCode_[k]);
            }
        }
        std::fill(std::begin(cFreq_), std::end(cFreq_), 0);
        std::fill(std::begin(pFreq_), std::end(pFreq_), 0);
    }

    MatchFinder finder_;
    BitWriter bits_;
    uint8_t block_[kBlockBuffer + 1] = {};
    unsigned outputPos_ = 0, outputMask_ = 0, flagPos_ = 0;
    uint32_t cFreq_[kNC] = {}, pFreq_[kNP] = {}, tFreq_[kNT] = {};
    uint8_t cLen_[kNC] = {}, ptLen_[kNT] = {};
    uint16_t cCode_[kNC] = {}, ptCode_[kNT] = {};
};

} // namespace

void CompressLh5(ByteSource& in, ByteSink& out) {
    auto compressor = std::make_unique<Lh5Compressor>(in, out);
    compressor->run();
}

} // namespace verasco::archive
