// SPDX-License-Identifier: MIT
// Qt's BMP reader pads a file that ends early with blank rows; this tells such files apart so that a
// truncated bitmap is reported as damaged instead of shown half empty.
#pragma once

#include <QByteArrayView>

namespace imaging {

// False when `file` is an uncompressed BMP whose pixel rows end before the header says they do; true
// otherwise (including the compressed kinds, whose length the header does not give).
bool bmpPixelDataComplete(QByteArrayView file);

} // namespace imaging
