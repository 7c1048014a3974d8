// SPDX-License-Identifier: MIT
// Resampling a picture to an exact size, as the imaging control's ResizeImage does it. A plain
// function, so that thumbnails can also be made off the window thread.
#pragma once

#include <QImage>

namespace imaging {

// The picture resampled smoothly to width x height, in true colour (with alpha when it has
// transparency); a null picture when the size is not one the control accepts.
QImage resizedPicture(const QImage& picture, int width, int height);

} // namespace imaging
