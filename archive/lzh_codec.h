// SPDX-License-Identifier: MIT
// The codec: turns the bytes of one file into the data of one archive member and back.
// Each run is an object of its own, so runs in one process never share state.
#pragma once

#include "lha_header.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>

namespace verasco::archive {

enum class CodecDirection { Compress, Expand };

// Called after each refill of the input buffer with the percentage of the input consumed;
// setting it to -1 cancels the run.
using CodecProgress = std::function<void(int& percentDone)>;

struct CodecJob {
    CodecDirection direction = CodecDirection::Compress;
    LhaMethod method = LhaMethod::Lh5;
    std::istream* input = nullptr;
    std::ostream* output = nullptr;
    uint64_t inputLength = 0;  // bytes to read from the input
    uint64_t expectedSize = 0; // expansion: bytes the member expands to
    std::string password;      // scrambles on compress, unscrambles on expand when not empty
    CodecProgress progress;    // may be empty
    const std::atomic<bool>* abortFlag = nullptr; // set from any thread to cancel
};

struct CodecResult {
    uint64_t bytesRead = 0; // taken from the input
    uint64_t bytesWritten = 0;
    // Compressing: CRC-16 of the input. Expanding: CRC-16 of the output.
    uint16_t crc = 0;
};

// Runs the codec once. Throws EUnableToCompress when the compressed data would be larger than
// the input, ELZHBadDecodeTable for a damaged code table, ECompLHAOperationAborted on cancel,
// EInOutError when the input cannot be read and EWriteError when the output cannot be written.
// An expansion whose input ends early stops short: bytesWritten is then below expectedSize.
CodecResult RunCodec(const CodecJob& job);
// The two directions on their own, so that a program that only expands (a package's head) carries
// no compressor.
CodecResult RunExpansion(const CodecJob& job);
CodecResult RunCompression(const CodecJob& job);

// percent(a, b) as progress and compression ratios use it.
int Percent(uint64_t part, uint64_t whole);

} // namespace verasco::archive
