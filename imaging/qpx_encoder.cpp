// SPDX-License-Identifier: MIT
#include "qpx_encoder.h"

#include "flatten.h"
#include "jpeg_error.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace imaging {

namespace {

// The example tables of the JPEG standard (ITU T.81, Annex K), in natural order.
// clang-format off
constexpr unsigned int StandardLuminance[DCTSIZE2] = {
    16, 11, 10, 16, 24,  40,  51,  61,
    12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,
    14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,
    24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101,
    72, 92, 95, 98, 112, 100, 103, 99};
constexpr unsigned int StandardChrominance[DCTSIZE2] = {
    17, 18, 24, 47, 99, 99, 99, 99,
    18, 21, 26, 66, 99, 99, 99, 99,
    24, 26, 56, 99, 99, 99, 99, 99,
    47, 66, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99};
// clang-format on

struct EncodeState {
    jpeg_compress_struct cinfo;
    JpegErrorManager errors;
    jpeg_progress_mgr progressManager;
    const ProgressCallback* progress = nullptr;
    int lastPercent = -1;
    const PixelRows* source = nullptr;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
};

void reportProgress(j_common_ptr cinfo) {
    auto* state = static_cast<EncodeState*>(cinfo->client_data);
    const int pct = jpegProgressPercent(*cinfo->progress);
    if (pct != state->lastPercent) {
        state->lastPercent = pct;
        (*state->progress)(pct);
    }
}

bool runEncode(EncodeState* state, const QpxSettings* settings) {
    jpeg_compress_struct* cinfo = &state->cinfo;
    std::memset(cinfo, 0, sizeof *cinfo);
    cinfo->err = initJpegErrorManager(state->errors);
    if (setjmp(state->errors.jump)) {
        jpeg_destroy_compress(cinfo);
        return false;
    }
    jpeg_create_compress(cinfo);
    cinfo->client_data = state;
    jpeg_mem_dest(cinfo, &state->buffer, &state->size);
    const PixelRows& source = *state->source;
    cinfo->image_width = JDIMENSION(source.width);
    cinfo->image_height = JDIMENSION(source.height);
    const bool bgr = source.layout == PixelLayout::Bgr24;
    cinfo->input_components = bgr ? 3 : 4;
    cinfo->in_color_space = bgr ? JCS_EXT_BGR : JCS_EXT_BGRX;
    jpeg_set_defaults(cinfo);
    jpeg_set_colorspace(cinfo, JCS_YCbCr);
    const int lum = std::clamp(settings->luminanceFactor, 0, 255);
    const int chrom = std::clamp(settings->chrominanceFactor, 0, 255);
    jpeg_add_quant_table(cinfo, 0, StandardLuminance, qpxScalePercent(lum), TRUE);
    jpeg_add_quant_table(cinfo, 1, StandardChrominance, qpxScalePercent(chrom), TRUE);
    const int h = settings->subsampling == ChromaSubsampling::S444 ? 1 : 2;
    const int v = settings->subsampling == ChromaSubsampling::S420 ? 2 : 1;
    cinfo->comp_info[0].h_samp_factor = h;
    cinfo->comp_info[0].v_samp_factor = v;
    for (int c = 1; c < 3; ++c) {
        cinfo->comp_info[c].h_samp_factor = 1;
        cinfo->comp_info[c].v_samp_factor = 1;
    }
    if (*state->progress) {
        state->progressManager.progress_monitor = reportProgress;
        cinfo->progress = &state->progressManager;
    }
    jpeg_start_compress(cinfo, TRUE);
    while (cinfo->next_scanline < cinfo->image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(source.top + qsizetype(cinfo->next_scanline) * source.stride);
        jpeg_write_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_compress(cinfo);
    jpeg_destroy_compress(cinfo);
    return true;
}

} // namespace

QByteArray encodeQpx(const QImage& image, const QpxSettings& settings, const ProgressCallback& progress,
                     QString* error) {
    const QImage source = flattenOnWhite(image);
    PixelRows rows;
    rows.width = source.width();
    rows.height = source.height();
    rows.layout = PixelLayout::Bgrx32; // Format_RGB32 in memory on a little-endian machine
    rows.top = source.constBits();
    rows.stride = source.bytesPerLine();
    return encodeQpxRows(rows, settings, progress, error);
}

QByteArray encodeQpxRows(const PixelRows& rows, const QpxSettings& settings, const ProgressCallback& progress,
                         QString* error) {
    if (!rows.top || rows.width <= 0 || rows.height <= 0 || rows.width > JPEG_MAX_DIMENSION ||
        rows.height > JPEG_MAX_DIMENSION) {
        if (error)
            *error = QCoreApplication::translate("QpxEncoder", "no picture to save");
        return {};
    }
    auto state = std::make_unique<EncodeState>();
    state->progress = &progress;
    state->source = &rows;
    const bool ok = runEncode(state.get(), &settings);
    QByteArray bytes;
    if (ok && state->buffer)
        bytes = QByteArray(reinterpret_cast<const char*>(state->buffer), qsizetype(state->size));
    std::free(state->buffer);
    if (!ok && error)
        *error = QCoreApplication::translate("QpxEncoder", "JPEG encoding failed");
    return bytes;
}

} // namespace imaging
