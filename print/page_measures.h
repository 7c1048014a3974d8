// SPDX-License-Identifier: MIT
#pragma once
// The measures of a printer's page as the printing arithmetic uses them, and the conversion of
// twips (1440 per inch) to the printer's pixels.

#include <QSize>
#include <QtGlobal>

namespace print {

inline constexpr int TwipsPerInch = 1440;

struct PageMeasures {
    int dpiX = 0, dpiY = 0;              // Dx, Dy: dots per inch
    int paperWidth = 0, paperHeight = 0; // the physical page, in pixels
    int offsetX = 0, offsetY = 0;        // where the printable area starts on the physical page
    int pageWidth = 0, pageHeight = 0;   // PW, PH: the printable area, in pixels

    // Twips to pixels, truncated.
    int xPixels(int twips) const { return int(qint64(twips) * dpiX / TwipsPerInch); }
    int yPixels(int twips) const { return int(qint64(twips) * dpiY / TwipsPerInch); }
    QSize pixels(QSize twips) const { return {xPixels(twips.width()), yPixels(twips.height())}; }

    // The printable width and height, (physical size - 2 x offset), in twips less `lessTwips`,
    // truncated.
    int printableWidthTwips(int lessTwips) const;
    int printableHeightTwips(int lessTwips) const;
};

} // namespace print
