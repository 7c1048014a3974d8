// SPDX-License-Identifier: MIT
// Compresses the input and expands the result again: the same bytes, count and CRC must come back.
// The first byte chooses the method and whether the data is scrambled; data that does not shrink
// is stored ("-lh0-"), as the archive component stores it.
#include "crc16.h"
#include "lha_errors.h"
#include "lzh_codec.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace {

using namespace verasco::archive;

CodecResult Run(CodecDirection direction, LhaMethod method, const std::string& input, std::ostream& output,
                uint64_t expectedSize, const std::string& password) {
    std::istringstream in(input);
    CodecJob job;
    job.direction = direction;
    job.method = method;
    job.input = &in;
    job.output = &output;
    job.inputLength = input.size();
    job.expectedSize = expectedSize;
    job.password = password;
    return RunCodec(job);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    constexpr LhaMethod kMethods[] = {LhaMethod::Lh0, LhaMethod::Lh1, LhaMethod::Lh5};
    LhaMethod method = kMethods[(data[0] & 0x7F) % 3];
    const std::string password = (data[0] & 0x80) ? "fuzz" : "";
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::ostringstream packed;
    CodecResult compressed;
    try {
        compressed = Run(CodecDirection::Compress, method, input, packed, 0, password);
    } catch (const EUnableToCompress&) {
        method = LhaMethod::Lh0;
        packed.str(std::string());
        compressed = Run(CodecDirection::Compress, method, input, packed, 0, password);
    }
    const uint16_t crc = UpdateCrc16(0, data + 1, size - 1);
    if (compressed.bytesRead != input.size() || compressed.bytesWritten != packed.str().size() ||
        compressed.crc != crc || compressed.bytesWritten > input.size())
        __builtin_trap();
    std::ostringstream expanded;
    const CodecResult back =
        Run(CodecDirection::Expand, method, packed.str(), expanded, input.size(), password);
    if (back.bytesWritten != input.size() || back.crc != crc || expanded.str() != input)
        __builtin_trap();
    return 0;
}
