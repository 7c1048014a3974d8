// SPDX-License-Identifier: MIT
#include "jpeg_decoder.h"

#include "jpeg_error.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstring>
#include <memory>

namespace imaging {

namespace {

// Everything the decoding function touches after its setjmp lives here, reached through one pointer
// that never changes, so a jump back from libjpeg finds it intact.
struct DecodeState {
    jpeg_decompress_struct cinfo;
    JpegErrorManager errors;
    jpeg_progress_mgr progressManager;
    const ProgressCallback* progress = nullptr;
    int lastPercent = -1;
    QImage image;
    QSize fullSize;
    const char* failure = nullptr;
    DecodeFailure failureKind = DecodeFailure::BadData;
};

const char* stopReason(JpegStop stop) {
    switch (stop) {
    case JpegStop::Truncated:
        return QT_TRANSLATE_NOOP("PictureReaders", "JPEG data truncated");
    case JpegStop::TooManyScans:
        return QT_TRANSLATE_NOOP("PictureReaders", "JPEG picture has too many scans");
    case JpegStop::TooLarge:
        return QT_TRANSLATE_NOOP("PictureReaders", "JPEG picture too large");
    case JpegStop::OutOfMemory:
        return QT_TRANSLATE_NOOP("PictureReaders", "out of memory");
    default:
        return QT_TRANSLATE_NOOP("PictureReaders", "corrupt JPEG data");
    }
}

DecodeFailure failureOf(JpegStop stop) {
    switch (stop) {
    case JpegStop::TooManyScans:
    case JpegStop::TooLarge:
        return DecodeFailure::TooLarge;
    case JpegStop::OutOfMemory:
        return DecodeFailure::OutOfMemory;
    default:
        return DecodeFailure::BadData;
    }
}

void watchProgress(j_common_ptr cinfo) {
    auto* state = static_cast<DecodeState*>(cinfo->client_data);
    if (!*state->progress)
        return;
    const int pct = jpegProgressPercent(*cinfo->progress);
    if (pct != state->lastPercent) {
        state->lastPercent = pct;
        (*state->progress)(pct);
    }
}

void cmykToRgb(const JSAMPLE* in, QRgb* out, int width, bool inverted) {
    for (int x = 0; x < width; ++x, in += 4) {
        int c = in[0], m = in[1], y = in[2], k = in[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
    }
}

// Returns false with state->failure set, or true with state->image filled.
bool runDecode(DecodeState* state, const JOCTET* data, unsigned long size, QSize reduceBox) {
    jpeg_decompress_struct* cinfo = &state->cinfo;
    std::memset(cinfo, 0, sizeof *cinfo);
    cinfo->err = initJpegErrorManager(state->errors);
    if (setjmp(state->errors.jump)) {
        jpeg_destroy_decompress(cinfo);
        if (!state->failure) {
            state->failure = stopReason(state->errors.stop);
            state->failureKind = failureOf(state->errors.stop);
        }
        return false;
    }
    jpeg_create_decompress(cinfo);
    cinfo->client_data = state;
    jpeg_mem_src(cinfo, data, size);
    jpeg_read_header(cinfo, TRUE);
    state->fullSize = QSize(int(cinfo->image_width), int(cinfo->image_height));
    // The stored size decides, also for a reduced decode: a header claiming a giant picture, or a
    // stream of more scans than its size allows, is refused before any of its data is decoded.
    applyPicturePolicy(cinfo, data, size);

    const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    const int scaleNumerator = reduceBox.isEmpty() ? 8 : reducedScaleNumerator(state->fullSize, reduceBox);
    if (scaleNumerator < 8) {
        cinfo->scale_num = unsigned(scaleNumerator);
        cinfo->scale_denom = 8;
        // A reduced picture is shrunk further before it is shown or printed (thumbnails, printed
        // pictures): the fast transform and plain upsampling do.
        cinfo->dct_method = JDCT_IFAST;
        cinfo->do_fancy_upsampling = FALSE;
        cinfo->do_block_smoothing = FALSE;
    }
    state->progressManager.progress_monitor = watchProgress;
    cinfo->progress = &state->progressManager;
    jpeg_start_decompress(cinfo);
    state->image = QImage(int(cinfo->output_width), int(cinfo->output_height), QImage::Format_RGB32);
    if (state->image.isNull()) {
        state->failure = QT_TRANSLATE_NOOP("PictureReaders", "out of memory");
        state->failureKind = DecodeFailure::OutOfMemory;
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    JSAMPARRAY cmykRow = nullptr;
    if (cmyk)
        cmykRow = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                              cinfo->output_width * 4, 1);
    while (cinfo->output_scanline < cinfo->output_height) {
        uchar* line = state->image.scanLine(int(cinfo->output_scanline));
        if (cmyk) {
            jpeg_read_scanlines(cinfo, cmykRow, 1);
            cmykToRgb(cmykRow[0], reinterpret_cast<QRgb*>(line), int(cinfo->output_width),
                      cinfo->saw_Adobe_marker);
        } else {
            JSAMPROW row = line;
            jpeg_read_scanlines(cinfo, &row, 1);
        }
    }
    jpeg_finish_decompress(cinfo);
    jpeg_destroy_decompress(cinfo);
    return true;
}

} // namespace

int reducedScaleNumerator(QSize picture, QSize box) {
    if (picture.isEmpty() || box.isEmpty())
        return 8;
    const double shrink =
        std::min({1.0, double(box.width()) / picture.width(), double(box.height()) / picture.height()});
    const double needW = picture.width() * shrink;
    const double needH = picture.height() * shrink;
    for (int n = 1; n < 8; ++n) {
        // libjpeg rounds a scaled dimension up.
        const qint64 w = (qint64(picture.width()) * n + 7) / 8;
        const qint64 h = (qint64(picture.height()) * n + 7) / 8;
        if (w + 1e-9 >= needW && h + 1e-9 >= needH)
            return n;
    }
    return 8;
}

JpegDecoded decodeJpeg(QByteArrayView data, QSize reduceBox, const ProgressCallback& progress) {
    JpegDecoded result;
    if (data.isEmpty()) {
        result.error = QCoreApplication::translate("PictureReaders", "empty file");
        result.failure = DecodeFailure::BadData;
        return result;
    }
    const auto* bytes = reinterpret_cast<const JOCTET*>(data.data());
    const auto size = static_cast<unsigned long>(data.size());

    auto state = std::make_unique<DecodeState>();
    state->progress = &progress;
    if (!runDecode(state.get(), bytes, size, reduceBox.isValid() ? reduceBox : QSize())) {
        result.error = QCoreApplication::translate("PictureReaders", state->failure);
        result.failure = state->failureKind;
        result.fullSize = state->fullSize;
        return result;
    }
    result.image = std::move(state->image);
    result.fullSize = state->fullSize;
    return result;
}

} // namespace imaging
