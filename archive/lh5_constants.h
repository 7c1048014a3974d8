// SPDX-License-Identifier: MIT
// Constants of the "-lh5-" method: 8 KB dictionary, static Huffman codes per block.
#pragma once

namespace verasco::archive::lh5 {

constexpr unsigned kDictionary = 8192;
constexpr unsigned kMaxMatch = 256;
constexpr unsigned kMinMatch = 3;
constexpr int kNC = 510;  // literals and lengths 3..256
constexpr int kNP = 14;   // distance classes
constexpr int kNT = 19;   // code-length symbols
constexpr int kCBits = 9; // bits of the symbol-length count
constexpr int kPBits = 4; // bits of the distance-class count
constexpr int kTBits = 5; // bits of the code-length count
constexpr unsigned kBlockBuffer = 16384;
constexpr unsigned kBlockLimit = kBlockBuffer - 24; // a new flag byte starts a block at this fill

} // namespace verasco::archive::lh5
