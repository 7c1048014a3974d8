// SPDX-License-Identifier: MIT
#include "page_measures.h"

namespace print {

namespace {

int printableTwips(int physical, int offset, int dpi, int lessTwips) {
    if (dpi <= 0)
        return 0;
    return int((qint64(physical - 2 * offset) * TwipsPerInch - qint64(lessTwips) * dpi) / dpi);
}

} // namespace

int PageMeasures::printableWidthTwips(int lessTwips) const {
    return printableTwips(paperWidth, offsetX, dpiX, lessTwips);
}

int PageMeasures::printableHeightTwips(int lessTwips) const {
    return printableTwips(paperHeight, offsetY, dpiY, lessTwips);
}

} // namespace print
