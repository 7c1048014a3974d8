// Palette file parser on arbitrary bytes: 1 to 256 colours or nothing.
#include "palette_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto colours =
        imaging::parseRiffPalette(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (colours && (colours->isEmpty() || colours->size() > 256))
        std::abort();
    return 0;
}
