// SPDX-License-Identifier: MIT
#include "stored_font.h"

#include "window_font.h"

#include <cmath>

namespace {

constexpr quint32 SystemColorFlag = 0x80000000u;

// The system colours of the stored values, by index, as the palette roles that play their part.
QPalette::ColorRole systemColorRole(int index) {
    switch (index) {
    case 1: // desktop
    case 4: // menu
    case 10:
    case 11: // window borders
        return QPalette::Window;
    case 5: // window
        return QPalette::Base;
    case 2:
    case 13: // active caption, highlight
        return QPalette::Highlight;
    case 9:
    case 14: // caption text, highlighted text
        return QPalette::HighlightedText;
    case 0:
    case 15: // scroll bar, button face
        return QPalette::Button;
    case 12:
    case 16: // application workspace, button shadow
        return QPalette::Dark;
    case 17: // grey text
        return QPalette::PlaceholderText;
    case 18: // button text
        return QPalette::ButtonText;
    case 20: // button highlight
        return QPalette::Light;
    case 6:
    case 21: // window frame, dark 3D shadow
        return QPalette::Shadow;
    case 22: // 3D light
        return QPalette::Midlight;
    case 23: // tooltip text
        return QPalette::ToolTipText;
    case 24: // tooltip background
        return QPalette::ToolTipBase;
    case 7: // menu text
        return QPalette::WindowText;
    default: // window text and the rest
        return QPalette::Text;
    }
}

// sRGB's relative luminance, 0 for black to 1 for white.
double luminance(const QColor& colour) {
    const auto linear = [](float channel) {
        return channel <= 0.04045f ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

} // namespace

double contrastRatio(const QColor& a, const QColor& b) {
    const double first = luminance(a) + 0.05, second = luminance(b) + 0.05;
    return first > second ? first / second : second / first;
}

QPalette captionPalette(QPalette palette, const QColor& text) {
    palette.setColor(QPalette::Text, text);
    const QColor base = palette.color(QPalette::Active, QPalette::Base);
    if (contrastRatio(text, base) < ReadableContrast) {
        const QColor light(Qt::white), dark(32, 32, 32);
        palette.setColor(QPalette::Base,
                         contrastRatio(text, light) >= contrastRatio(text, dark) ? light : dark);
    }
    return palette;
}

QColor storedColor(qint32 value, const QPalette& palette) {
    const auto bits = static_cast<quint32>(value);
    if ((bits & 0xFF000000u) == SystemColorFlag)
        return palette.color(QPalette::Active, systemColorRole(int(bits & 0xFF)));
    return QColor(int(bits & 0xFF), int((bits >> 8) & 0xFF), int((bits >> 16) & 0xFF));
}

QFont storedFont(const QString& family, int size, int styleBits) {
    const QFont window = windowFont(8);
    const bool standIn =
        family.isEmpty() || (family.compare(QLatin1String("MS Sans Serif"), Qt::CaseInsensitive) == 0 &&
                             window.family() != family);
    QFont font = standIn ? window : QFont(family);
    if (size > 0)
        font.setPointSize(size);
    else if (size < 0)
        font.setPixelSize(-size);
    else
        font.setPointSize(8);
    font.setBold(styleBits & StoredBold);
    font.setItalic(styleBits & StoredItalic);
    font.setUnderline(styleBits & StoredUnderline);
    font.setStrikeOut(styleBits & StoredStrikeOut);
    return font;
}
