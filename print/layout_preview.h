// SPDX-License-Identifier: MIT
#pragma once
// The small black and white pictures of the print dialog that show what a page of each layout looks
// like. They are drawn from the print arithmetic itself on a Letter page, so they always match it.

#include <QImage>

namespace print {

inline constexpr int PreviewWidth = 152;
inline constexpr int PreviewHeight = 179;

// The preview of a layout (1 to 6): a monochrome picture of PreviewWidth x PreviewHeight pixels.
QImage drawLayoutPreview(int layout);

} // namespace print
