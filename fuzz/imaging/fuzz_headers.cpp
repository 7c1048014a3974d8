// SPDX-License-Identifier: MIT
// The small header parsers on arbitrary bytes: format recognition, the palette file and the check of a
// bitmap's row data length, and the plain bitmap's layout with its rows encoded straight to QPX. None
// may read outside the bytes; a palette has 1 to 256 colours; plain rows always encode.
#include "bmp_check.h"
#include "bmp_rows.h"
#include "image_format.h"
#include "palette_file.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    imaging::detectImageFormat(bytes, QStringLiteral("picture.tga"));
    imaging::bmpPixelDataComplete(bytes);
    const auto colours = imaging::parseRiffPalette(bytes);
    if (colours && (colours->isEmpty() || colours->size() > 256))
        std::abort();
    const auto layout =
        imaging::directBmpLayout(bytes.first(std::min(bytes.size(), imaging::BmpHeadBytes)), bytes.size());
    if (layout && imaging::encodeQpxRows(imaging::bmpPixelRows(*layout, bytes.data()), {}).isEmpty())
        std::abort();
    return 0;
}
