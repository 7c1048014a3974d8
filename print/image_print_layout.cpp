// SPDX-License-Identifier: MIT
#include "image_print_layout.h"

namespace print {

namespace {

constexpr int PictureStart = 1000;
constexpr int CentringOffset = TwipsPerInch;
constexpr int LogoWidth = 720;
constexpr int LogoInset = 144; // a tenth of an inch

int centred(int room, int size) {
    return (room - size) / 2 + CentringOffset;
}

} // namespace

QSize singleImageArea(const PageMeasures& measures) {
    return {measures.printableWidthTwips(2 * TwipsPerInch), measures.printableHeightTwips(2 * TwipsPerInch)};
}

bool singleImageFits(const PageMeasures& measures) {
    const QSize area = singleImageArea(measures);
    return area.width() >= TwipsPerInch && area.height() >= TwipsPerInch;
}

QRect placeSingleImage(const PageMeasures& measures, QSize picture) {
    const QSize area = singleImageArea(measures);
    if (picture.isEmpty() || area.isEmpty())
        return {};
    const qint64 wt = area.width(), ht = area.height();
    const bool wide = picture.width() > picture.height();
    qint64 w = wt, h = ht;
    if (wide)
        h = wt * picture.height() / picture.width();
    else
        w = ht * picture.width() / picture.height();
    bool shrunk = false;
    if (w > wt) {
        h = wt * h / w;
        w = wt;
        shrunk = true;
    }
    if (h > ht) {
        w = ht * w / h;
        h = ht;
        shrunk = true;
    }
    const int left = wide && !shrunk ? PictureStart : centred(int(wt), int(w));
    const int top = !wide && !shrunk ? PictureStart : centred(int(ht), int(h));
    return QRect(left, top, int(w), int(h));
}

QRect placeLogo(QSize logo) {
    const int height = logo.isEmpty() ? 0 : int(qint64(LogoWidth) * logo.height() / logo.width());
    return QRect(LogoInset, LogoInset, LogoWidth, height);
}

} // namespace print
