// SPDX-License-Identifier: MIT
// PCX reader on arbitrary bytes: it either refuses them or returns a picture of the header's size.
#include "pcx_reader.h"
#include "policy_limit.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Keep each run quick: pictures above 128 K pixels (the test pictures have 77 K) cost time, not
    // coverage; the size checks themselves are covered by the unit tests.
    if (size >= 12) {
        const int w = (data[8] | data[9] << 8) - (data[4] | data[5] << 8) + 1;
        const int h = (data[10] | data[11] << 8) - (data[6] | data[7] << 8) + 1;
        if (w > 0 && h > 0 && long(w) * h > (1L << 17))
            return 0;
    }
    const QImage image =
        imaging::readPcx(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!image.isNull() && (image.width() < 1 || image.height() < 1))
        std::abort();
    return 0;
}
