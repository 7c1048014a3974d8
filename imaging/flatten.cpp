// SPDX-License-Identifier: MIT
#include "flatten.h"

namespace imaging {

QImage flattenOnWhite(const QImage& image) {
    if (image.isNull() || image.format() == QImage::Format_RGB32)
        return image;
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QImage flat(argb.size(), QImage::Format_RGB32);
    if (flat.isNull())
        return flat;
    for (int y = 0; y < argb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(flat.scanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            const int a = qAlpha(in[x]);
            const auto mix = [a](int c) { return (c * a + 255 * (255 - a) + 127) / 255; };
            out[x] = qRgb(mix(qRed(in[x])), mix(qGreen(in[x])), mix(qBlue(in[x])));
        }
    }
    return flat;
}

} // namespace imaging
