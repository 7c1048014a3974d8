// SPDX-License-Identifier: MIT
// "-rle-": a byte 0x94 introduces a count of repeats of the byte before it.
#include "codec_io.h"

namespace verasco::archive {

void ExpandRle(ByteSource& in, ByteSink& out, uint64_t expectedSize) {
    constexpr uint8_t kMarker = 0x94;
    uint8_t previous = 0;
    bool countNext = false;
    while (out.written() < expectedSize) {
        if (in.available() == 0 && !in.refill())
            return;
        const uint8_t b = *in.data();
        in.consume(1);
        if (countNext) {
            // The run repeats the byte before the marker; afterwards the marker is the previous byte.
            countNext = false;
            if (b == 0) {
                out.put(kMarker);
            } else {
                for (unsigned i = 1; i < b && out.written() < expectedSize; ++i)
                    out.put(previous);
            }
            previous = kMarker;
            continue;
        }
        if (b == kMarker) {
            countNext = true;
        } else {
            previous = b;
            out.put(b);
        }
    }
}

} // namespace verasco::archive
