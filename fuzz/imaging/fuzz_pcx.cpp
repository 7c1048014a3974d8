// PCX reader on arbitrary bytes: it either refuses them or returns a picture of the header's size.
#include "pcx_reader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QImage image = imaging::readPcx(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!image.isNull() && (image.width() < 1 || image.height() < 1))
        std::abort();
    return 0;
}
