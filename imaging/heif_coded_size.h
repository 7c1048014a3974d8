// SPDX-License-Identifier: MIT
// The coded size of the HEVC pictures of a HEIF file, read from each item's decoder configuration
// (the sequence parameter set its hvcC property holds) without decoding anything, so that a picture
// coded larger than the size its item declares is refused before the decoder allocates it.
#pragma once

#include <QByteArrayView>

namespace imaging {

// False when an item of the file has an HEVC picture coded larger than the size the item declares
// (by more than a coding block) or than the picture policy allows. True for what it cannot read:
// libheif judges that.
bool heifCodedSizesWithinDeclared(QByteArrayView file);

} // namespace imaging
