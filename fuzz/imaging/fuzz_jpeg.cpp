// SPDX-License-Identifier: MIT
// JPEG/QPX decoding on arbitrary bytes, at full size and reduced for a thumbnail: libjpeg's errors must
// come back as a failed result, never end the process. The first byte picks the mode.
#include "jpeg_decoder.h"
#include "policy_limit.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const bool reduced = data[0] & 1;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    int reports = 0;
    const imaging::JpegDecoded d =
        imaging::decodeJpeg(bytes, reduced ? QSize(72, 49) : QSize(), [&](int pct) {
            if (pct < 0 || pct > 99)
                std::abort();
            ++reports;
        });
    if (d.image.isNull() == d.error.isEmpty())
        std::abort();
    if (!d.image.isNull() && (d.fullSize.width() < d.image.width() || d.fullSize.height() < d.image.height()))
        std::abort();
    return 0;
}
