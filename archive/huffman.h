// SPDX-License-Identifier: MIT
// Static Huffman codes of "-lh5-": code lengths from frequencies, canonical codes, and the
// lookup tables with overflow trees that decode them.
#pragma once

#include <cstdint>

namespace verasco::archive {

constexpr int kMaxCodeLength = 16;

// Builds code lengths (at most 16) and canonical codes for `n` symbols from their frequencies.
// Returns the root: a value below n means only that one symbol occurs (its length stays 0).
int MakeHuffmanTree(int n, const uint32_t* frequencies, uint8_t* lengths, uint16_t* codes);

// Canonical codes from code lengths.
void MakeCanonicalCodes(int n, const uint8_t* lengths, uint16_t* codes);

// Fills a lookup table of 2^tableBits entries; codes longer than tableBits continue in the
// left/right trees (nodes numbered from n, arrays of at least 2n entries). Throws
// ELZHBadDecodeTable when the lengths do not form a complete prefix code.
void MakeDecodeTable(int n, const uint8_t* lengths, int tableBits, uint16_t* table, uint16_t* left,
                     uint16_t* right);

} // namespace verasco::archive
