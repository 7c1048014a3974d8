// SPDX-License-Identifier: MIT
#include "huffman.h"

#include "lha_errors.h"

#include <array>
#include <utility>
#include <vector>

namespace verasco::archive {
namespace {

using DepthCounts = std::array<unsigned, kMaxCodeLength + 1>;

struct TreeBuilder {
    int n;
    std::vector<uint32_t> freq;
    std::vector<int> heap;
    std::vector<int> left, right;
    int heapSize = 0;

    explicit TreeBuilder(int symbols)
        : n(symbols), freq(2 * symbols), heap(symbols + 1), left(2 * symbols), right(2 * symbols) {}

    void downHeap(int i) {
        const int k = heap[i];
        int j;
        while ((j = 2 * i) <= heapSize) {
            if (j < heapSize && freq[heap[j]] > freq[heap[j + 1]])
                ++j;
            if (freq[k] <= freq[heap[j]])
                break;
            heap[i] = heap[j];
            i = j;
        }
        heap[i] = k;
    }

    // Takes the frequencies and puts the symbols that occur on the heap; every length starts at 0.
    void load(const uint32_t* frequencies, uint8_t* lengths) {
        heap[1] = 0;
        for (int i = 0; i < n; ++i) {
            freq[i] = frequencies[i];
            lengths[i] = 0;
            if (frequencies[i])
                heap[++heapSize] = i;
        }
    }

    // Joins the two rarest nodes under a new one until one node is left, and returns it. `order`
    // gets the leaves in the order they leave the heap.
    int merge(std::vector<int>& order) {
        for (int i = heapSize / 2; i >= 1; --i)
            downHeap(i);
        order.reserve(n);
        int avail = n;
        int k = 0;
        do {
            const int i = heap[1];
            if (i < n)
                order.push_back(i);
            heap[1] = heap[heapSize--];
            downHeap(1);
            const int j = heap[1];
            if (j < n)
                order.push_back(j);
            k = avail++;
            freq[k] = freq[i] + freq[j];
            heap[1] = k;
            downHeap(1);
            left[k] = i;
            right[k] = j;
        } while (heapSize > 1);
        return k;
    }

    // The number of leaves at each depth below `root`, those deeper than 16 counted at 16.
    DepthCounts countDepths(int root) const {
        DepthCounts counts{};
        std::vector<std::pair<int, int>> stack{{root, 0}};
        while (!stack.empty()) {
            auto [node, depth] = stack.back();
            stack.pop_back();
            if (node < n) {
                ++counts[depth < kMaxCodeLength ? depth : kMaxCodeLength];
            } else {
                stack.push_back({right[node], depth + 1});
                stack.push_back({left[node], depth + 1});
            }
        }
        return counts;
    }
};

// Makes the counts of a tree cut at depth 16 a complete prefix code again: while the code space is
// overfull, one leaf of length 16 goes, and the deepest shorter leaf becomes two one bit longer.
void limitLengths(DepthCounts& counts) {
    unsigned cum = 0;
    for (int i = kMaxCodeLength; i > 0; --i)
        cum += counts[i] << (kMaxCodeLength - i);
    while (cum != (1u << kMaxCodeLength)) {
        --counts[kMaxCodeLength];
        for (int i = kMaxCodeLength - 1; i > 0; --i) {
            if (counts[i] != 0) {
                --counts[i];
                counts[i + 1] += 2;
                break;
            }
        }
        --cum;
    }
}

} // namespace

void MakeCanonicalCodes(int n, const uint8_t* lengths, uint16_t* codes) {
    unsigned count[kMaxCodeLength + 2] = {};
    unsigned start[kMaxCodeLength + 2] = {};
    for (int i = 0; i < n; ++i)
        ++count[lengths[i]];
    start[1] = 0;
    for (int k = 1; k <= kMaxCodeLength; ++k)
        start[k + 1] = (start[k] + count[k]) << 1;
    for (int i = 0; i < n; ++i)
        codes[i] = lengths[i] ? static_cast<uint16_t>(start[lengths[i]]++) : 0;
}

int MakeHuffmanTree(int n, const uint32_t* frequencies, uint8_t* lengths, uint16_t* codes) {
    TreeBuilder t(n);
    t.load(frequencies, lengths);
    if (t.heapSize < 2) {
        codes[t.heap[1]] = 0;
        return t.heap[1];
    }
    std::vector<int> order; // leaves in the order they leave the heap
    const int root = t.merge(order);
    DepthCounts counts = t.countDepths(root);
    limitLengths(counts);
    // The leaves that left the heap first, the rarest, get the longest codes.
    size_t next = 0;
    for (int i = kMaxCodeLength; i > 0; --i)
        for (unsigned c = 0; c < counts[i]; ++c)
            lengths[order[next++]] = static_cast<uint8_t>(i);
    MakeCanonicalCodes(n, lengths, codes);
    return root;
}

void MakeDecodeTable(int n, const uint8_t* lengths, int tableBits, uint16_t* table, uint16_t* left,
                     uint16_t* right) {
    unsigned count[kMaxCodeLength + 2] = {};
    unsigned start[kMaxCodeLength + 2] = {};
    unsigned weight[kMaxCodeLength + 2] = {};
    for (int i = 0; i < n; ++i) {
        if (lengths[i] > kMaxCodeLength)
            throw ELZHBadDecodeTable("Bad decode table in archive!");
        ++count[lengths[i]];
    }
    start[1] = 0;
    for (int i = 1; i <= kMaxCodeLength; ++i)
        start[i + 1] = start[i] + (count[i] << (kMaxCodeLength - i));
    if (start[kMaxCodeLength + 1] != (1u << kMaxCodeLength))
        throw ELZHBadDecodeTable("Bad decode table in archive!");

    const int jutBits = kMaxCodeLength - tableBits;
    int i = 1;
    for (; i <= tableBits; ++i) {
        start[i] >>= jutBits;
        weight[i] = 1u << (tableBits - i);
    }
    for (; i <= kMaxCodeLength; ++i)
        weight[i] = 1u << (kMaxCodeLength - i);
    const unsigned tableSize = 1u << tableBits;
    for (unsigned e = start[tableBits + 1] >> jutBits; e < tableSize; ++e)
        table[e] = 0;

    unsigned avail = static_cast<unsigned>(n);
    const unsigned mask = 1u << (kMaxCodeLength - 1 - tableBits);
    for (int ch = 0; ch < n; ++ch) {
        const int len = lengths[ch];
        if (len == 0)
            continue;
        const unsigned nextCode = start[len] + weight[len];
        if (len <= tableBits) {
            for (unsigned e = start[len]; e < nextCode; ++e)
                table[e] = static_cast<uint16_t>(ch);
        } else {
            unsigned k = start[len];
            uint16_t* p = &table[k >> jutBits];
            for (int rest = len - tableBits; rest > 0; --rest) {
                if (*p == 0) {
                    right[avail] = left[avail] = 0;
                    *p = static_cast<uint16_t>(avail++);
                }
                p = (k & mask) ? &right[*p] : &left[*p];
                k <<= 1;
            }
            *p = static_cast<uint16_t>(ch);
        }
        start[len] = nextCode;
    }
}

} // namespace verasco::archive
