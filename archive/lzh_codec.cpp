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

CodecResult RunCodec(const CodecJob& job) {
    const bool compress = job.direction == CodecDirection::Compress;
    const bool scrambled = !job.password.empty();
    ByteSource in(job, scrambled && !compress, compress);
    // An expansion is bounded by the size the member says it has, not by the budget.
    ByteSink out(job, compress ? job.inputLength : std::numeric_limits<uint64_t>::max(),
                 scrambled && compress, !compress);
    switch (job.method) {
    case LhaMethod::Lh0:
        CopyStored(in, out, compress ? std::numeric_limits<uint64_t>::max() : job.expectedSize);
        break;
    case LhaMethod::Lh1:
        compress ? CompressLh1(in, out) : ExpandLh1(in, out, job.expectedSize);
        break;
    case LhaMethod::Lh5:
        compress ? CompressLh5(in, out) : ExpandLh5(in, out, job.expectedSize);
        break;
    case LhaMethod::Rle:
        if (compress)
            throw ECompLHAUnrecognizedCompressionMethod("Unrecognized compression method: \"" +
                                                        std::string(MethodIdentifier(LhaMethod::Rle)) +
                                                        "\" in header");
        ExpandRle(in, out, job.expectedSize);
        break;
    case LhaMethod::Directory:
        break;
    }
    out.finish();
    CodecResult result;
    result.bytesRead = in.bytesRead();
    result.bytesWritten = out.written();
    result.crc = compress ? in.crc() : out.crc();
    return result;
}

} // namespace verasco::archive
