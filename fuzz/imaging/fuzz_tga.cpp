// SPDX-License-Identifier: MIT
// TGA reader on arbitrary bytes: it either refuses them or returns a picture of the header's size.
#include "policy_limit.h"
#include "tga_reader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Keep each run quick: pictures above 128 K pixels (the test pictures have 77 K) cost time, not
    // coverage; the size checks themselves are covered by the unit tests.
    if (size >= 16 && long(data[12] | data[13] << 8) * long(data[14] | data[15] << 8) > (1L << 17))
        return 0;
    const QImage image =
        imaging::readTga(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!image.isNull() && (image.width() < 1 || image.height() < 1))
        std::abort();
    return 0;
}
