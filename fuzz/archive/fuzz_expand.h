// SPDX-License-Identifier: MIT
// Shared body of the expander targets: the input is a member's data, expanded to at most 256 KB
// into a sink that discards it.
#pragma once

#include "lzh_codec.h"

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <streambuf>
#include <string>

namespace {

class NullBuffer : public std::streambuf {
  protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

int ExpandOnce(verasco::archive::LhaMethod method, const uint8_t* data, size_t size) {
    using namespace verasco::archive;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    NullBuffer null;
    std::ostream out(&null);
    CodecJob job;
    job.direction = CodecDirection::Expand;
    job.method = method;
    job.input = &in;
    job.output = &out;
    job.inputLength = size;
    job.expectedSize = 256 * 1024;
    try {
        const CodecResult r = RunCodec(job);
        if (r.bytesWritten > job.expectedSize)
            __builtin_trap();
    } catch (const std::runtime_error&) {
        // A bad decode table is an expected refusal.
    }
    return 0;
}

} // namespace
