// SPDX-License-Identifier: MIT
#include "lzh_codec.h"

#include "codec_io.h"
#include "lha_errors.h"

#include <limits>

namespace verasco::archive {
namespace {

void CopyStored(ByteSource& in, ByteSink& out, uint64_t limit) {
    while (out.written() < limit) {
        if (in.available() == 0 && !in.refill())
            break;
        const size_t take = static_cast<size_t>(std::min<uint64_t>(in.available(), limit - out.written()));
        out.write(in.data(), take);
        in.consume(take);
    }
}

} // namespace

CodecResult RunExpansion(const CodecJob& job) {
    ByteSource in(job, !job.password.empty(), false);
    // An expansion is bounded by the size the member says it has.
    ByteSink out(job, std::numeric_limits<uint64_t>::max(), false, true);
    switch (job.method) {
    case LhaMethod::Lh0:
        CopyStored(in, out, job.expectedSize);
        break;
    case LhaMethod::Lh1:
        ExpandLh1(in, out, job.expectedSize);
        break;
    case LhaMethod::Lh5:
        ExpandLh5(in, out, job.expectedSize);
        break;
    case LhaMethod::Rle:
        ExpandRle(in, out, job.expectedSize);
        break;
    case LhaMethod::Directory:
        break;
    }
    out.finish();
    return {in.bytesRead(), out.written(), out.crc()};
}

CodecResult RunCompression(const CodecJob& job) {
    ByteSource in(job, false, true);
    ByteSink out(job, job.inputLength, !job.password.empty(), false);
    switch (job.method) {
    case LhaMethod::Lh0:
        CopyStored(in, out, std::numeric_limits<uint64_t>::max());
        break;
    case LhaMethod::Lh1:
        CompressLh1(in, out);
        break;
    case LhaMethod::Lh5:
        CompressLh5(in, out);
        break;
    case LhaMethod::Rle:
        throw ECompLHAUnrecognizedCompressionMethod("Unrecognized compression method: \"-rle-\" in header");
    case LhaMethod::Directory:
        break;
    }
    out.finish();
    return {in.bytesRead(), out.written(), in.crc()};
}

CodecResult RunCodec(const CodecJob& job) {
    return job.direction == CodecDirection::Compress ? RunCompression(job) : RunExpansion(job);
}

} // namespace verasco::archive
