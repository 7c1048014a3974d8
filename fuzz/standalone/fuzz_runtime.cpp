// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes to the packages' decoding run-time: it either fails with a reason and an
// empty picture, or hands out a picture whose every byte can be read.

#include "qpx_runtime.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QpxRunPicture picture{};
    char error[96];
    if (qpxrun_decode(data, size, &picture, error, sizeof error) != 0) {
        if (picture.pixels || error[0] == '\0')
            std::abort();
        return 0;
    }
    static volatile unsigned sum = 0;
    for (long i = 0; i < long(picture.stride) * picture.height; ++i)
        sum = sum + picture.pixels[i];
    qpxrun_free(&picture);
    return 0;
}
