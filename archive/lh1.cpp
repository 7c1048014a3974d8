// SPDX-License-Identifier: MIT
// "-lh1-": 4 KB dictionary, matches of 3 to 60 bytes, one adaptive Huffman tree over 314 symbols,
// distances sent as their upper 6 bits through a fixed code and their lower 6 bits as they are.
#include "codec_io.h"
#include "lha_errors.h"
#include "match_finder.h"

#include <cstring>
#include <memory>

namespace verasco::archive {
namespace {

constexpr unsigned kWindow = 4096;
constexpr unsigned kMaxMatch = 60;
constexpr unsigned kMinMatch = 3;
constexpr int kSymbols = 256 - kMinMatch + 1 + kMaxMatch; // 314
constexpr int kNodes = 2 * kSymbols - 1;                  // 627
constexpr int kRoot = kNodes - 1;
constexpr unsigned kMaxFrequency = 0x8000;

// Code lengths of the upper 6 distance bits: 1 of 3 bits, 3 of 4, 8 of 5, 12 of 6, 24 of 7, 16 of 8.
constexpr uint8_t DistanceCodeLength(unsigned upper) {
    return upper < 1 ? 3 : upper < 4 ? 4 : upper < 12 ? 5 : upper < 24 ? 6 : upper < 48 ? 7 : 8;
}

struct DistanceCode {
    uint8_t length[64];
    uint16_t code[64];
    uint8_t lookup[256]; // next 8 bits -> upper distance bits
    DistanceCode() {
        unsigned code = 0;
        for (unsigned i = 0; i < 64; ++i) {
            length[i] = DistanceCodeLength(i);
            this->code[i] = static_cast<uint16_t>(code >> (16 - length[i]));
            code += 1u << (16 - length[i]);
            const unsigned first = this->code[i] << (8 - length[i]);
            for (unsigned k = 0; k < (1u << (8 - length[i])); ++k)
                lookup[first + k] = static_cast<uint8_t>(i);
        }
    }
};

const DistanceCode& Distances() {
    static const DistanceCode table;
    return table;
}

// The adaptive Huffman tree: leaves are nodes whose son is symbol + kNodes.
class AdaptiveTree {
  public:
    AdaptiveTree() {
        for (int i = 0; i < kSymbols; ++i) {
            freq_[i] = 1;
            son_[i] = i + kNodes;
            parent_[i + kNodes] = i;
        }
        int i = 0, j = kSymbols;
        while (j <= kRoot) {
            freq_[j] = freq_[i] + freq_[i + 1];
            son_[j] = i;
            parent_[i] = parent_[i + 1] = j;
            i += 2;
            ++j;
        }
        freq_[kNodes] = 0xFFFF;
        parent_[kRoot] = 0;
    }

    int son(int node) const { return son_[node]; }
    int leafOf(int symbol) const { return parent_[symbol + kNodes]; }
    int parent(int node) const { return parent_[node]; }

    void update(int symbol) {
        if (freq_[kRoot] == kMaxFrequency)
            rebuild();
        int c = parent_[symbol + kNodes];
        do {
            const unsigned k = ++freq_[c];
            int l = c + 1;
            if (k > freq_[l]) {
                while (k > freq_[++l]) {
                }
                --l;
                freq_[c] = freq_[l];
                freq_[l] = k;
                const int i = son_[c];
                parent_[i] = l;
                if (i < kNodes)
                    parent_[i + 1] = l;
                const int j = son_[l];
                son_[l] = i;
                parent_[j] = c;
                if (j < kNodes)
                    parent_[j + 1] = c;
                son_[c] = j;
                c = l;
            }
        } while ((c = parent_[c]) != 0);
    }

  private:
    void rebuild() {
        int j = 0;
        for (int i = 0; i < kNodes; ++i) {
            if (son_[i] >= kNodes) {
                freq_[j] = (freq_[i] + 1) / 2;
                son_[j] = son_[i];
                ++j;
            }
        }
        for (int i = 0, n = kSymbols; n < kNodes; i += 2, ++n) {
            const unsigned f = freq_[i] + freq_[i + 1];
            freq_[n] = f;
            int k = n - 1;
            while (f < freq_[k])
                --k;
            ++k;
            std::memmove(&freq_[k + 1], &freq_[k], (n - k) * sizeof(freq_[0]));
            freq_[k] = f;
            std::memmove(&son_[k + 1], &son_[k], (n - k) * sizeof(son_[0]));
            son_[k] = i;
        }
        for (int i = 0; i < kNodes; ++i) {
            const int k = son_[i];
            if (k >= kNodes)
                parent_[k] = i;
            else
                parent_[k] = parent_[k + 1] = i;
        }
    }

    unsigned freq_[kNodes + 1];
    int parent_[kNodes + kSymbols];
    int son_[kNodes];
};

class Lh1Expander {
  public:
    Lh1Expander(ByteSource& in, ByteSink& out) : bits_(in), window_(out, kWindow) {}

    void run(uint64_t expected) {
        const DistanceCode& dist = Distances();
        uint64_t remaining = expected;
        while (remaining > 0 && !bits_.overran()) {
            bits_.fill();
            uint64_t b = bits_.raw();
            unsigned used = 0;
            int c = tree_.son(kRoot);
            while (c < kNodes) {
                c = tree_.son(c + static_cast<int>(b >> 63));
                b <<= 1;
                ++used;
            }
            bits_.skip(used);
            c -= kNodes;
            tree_.update(c);
            if (c < 256) {
                window_.literal(static_cast<uint8_t>(c));
                --remaining;
            } else {
                uint32_t length = static_cast<uint32_t>(c) - 253;
                const unsigned upper = dist.lookup[bits_.peek(8)];
                bits_.skip(dist.length[upper]);
                const uint32_t distance = (upper << 6) | bits_.peek(6);
                bits_.skip(6);
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
    BitReader bits_;
    ExpandWindow window_;
    AdaptiveTree tree_;
};

class Lh1Compressor {
  public:
    Lh1Compressor(ByteSource& in, ByteSink& out)
        : finder_(in, {kWindow, kMaxMatch, 64, kMaxMatch}), bits_(out) {}

    void run() {
        uint64_t pos = 1;
        for (;;) {
            finder_.fill(pos);
            const uint64_t end = finder_.end();
            if (pos >= end)
                break;
            uint32_t length = 0;
            uint64_t matchPos = 0;
            if (pos + kMinMatch <= end) {
                const uint64_t head = finder_.insert(pos);
                if (head != 0)
                    length = finder_.longest(pos, head, kMinMatch - 1, matchPos);
            }
            if (length >= kMinMatch) {
                putSymbol(static_cast<int>(length + 253));
                putDistance(static_cast<uint32_t>(pos - matchPos - 1));
                for (uint64_t p = pos + 1; p < pos + length; ++p)
                    if (p + kMinMatch <= end)
                        finder_.insert(p);
                pos += length;
            } else {
                putSymbol(finder_.at(pos));
                ++pos;
            }
        }
        bits_.flush();
    }

  private:
    void putSymbol(int symbol) {
        uint64_t code = 0;
        unsigned length = 0;
        int k = tree_.leafOf(symbol);
        do {
            code |= static_cast<uint64_t>(k & 1) << length;
            ++length;
        } while ((k = tree_.parent(k)) != kRoot);
        while (length > 0) {
            const unsigned take = length < 16 ? length : 16;
            bits_.put(take, static_cast<uint32_t>(code >> (length - take)));
            length -= take;
        }
        tree_.update(symbol);
    }

    void putDistance(uint32_t distance) {
        const DistanceCode& dist = Distances();
        const unsigned upper = distance >> 6;
        bits_.put(dist.length[upper], dist.code[upper]);
        bits_.put(6, distance & 0x3F);
    }

    MatchFinder finder_;
    BitWriter bits_;
    AdaptiveTree tree_;
};

} // namespace

void ExpandLh1(ByteSource& in, ByteSink& out, uint64_t expectedSize) {
    if (expectedSize == 0)
        return;
    auto expander = std::make_unique<Lh1Expander>(in, out);
    expander->run(expectedSize);
}

void CompressLh1(ByteSource& in, ByteSink& out) {
    auto compressor = std::make_unique<Lh1Compressor>(in, out);
    compressor->run();
}

} // namespace verasco::archive
