// SPDX-License-Identifier: MIT
// The coded size of the HEVC and AV1 pictures of a HEIF file, read from each item's decoder
// configuration without decoding anything (the sequence parameter set its hvcC property holds; the
// sequence header among its av1C property's OBUs and its data's), so that a picture coded larger
// than the size its item declares is refused before the decoder allocates it.
#pragma once

#include <QByteArrayView>

namespace imaging {

// False when an item of the file has a picture coded larger than the size the item declares (by
// more than a coding block: 64 pixels in HEVC, an AV1 superblock of 128) or than the picture policy
// allows. True for what it cannot read: libheif judges that.
bool heifCodedSizesWithinDeclared(QByteArrayView file);

} // namespace imaging
