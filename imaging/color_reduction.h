// SPDX-License-Identifier: MIT
// Reduces a picture to 8 bits per pixel with a given palette, optionally with Floyd-Steinberg error
// diffusion, so that it shows well on a 256-colour display that realises that palette.
#pragma once

#include <QImage>
#include <QList>
#include <QRgb>

namespace imaging {

enum class Dither { None, FloydSteinberg };

// Returns a Format_Indexed8 picture whose colour table is `palette` (1 to 256 colours); transparent
// parts are laid on white first. A null picture for a null input or an empty palette.
QImage reduceToPalette(const QImage& image, const QList<QRgb>& palette, Dither dither);

} // namespace imaging
