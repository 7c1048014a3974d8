// SPDX-License-Identifier: MIT
#include "package_pictures.h"

#include "exif_reader.h"
#include "image_loader.h"
#include "orientation.h"
#include "runtime_decoder.h"

namespace {

bool isJpeg(QByteArrayView data) {
    return data.size() >= 3 && uchar(data[0]) == 0xFF && uchar(data[1]) == 0xD8 && uchar(data[2]) == 0xFF;
}

} // namespace

SlidePicture decodeSlidePicture(QByteArrayView data, QSize box, const RuntimeDecoder& runtime) {
    SlidePicture picture;
    if (data.isEmpty())
        return picture;
    if (isJpeg(data) && runtime.loaded()) {
        picture.byRuntime = true;
        // A photograph packed as it is keeps its orientation tag: the picture is shown upright.
        picture.image = imaging::orientedImage(runtime.decode(data, picture.error),
                                               imaging::tiffOrientation(imaging::readJpegHead(data).exif));
        return picture;
    }
    imaging::LoadedImage loaded = imaging::decodeImageBytes(data, QString(), box);
    picture.image = std::move(loaded.image);
    picture.error = loaded.error;
    return picture;
}
