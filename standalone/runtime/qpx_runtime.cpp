// SPDX-License-Identifier: MIT
#include "qpx_runtime.h"

#include "jpeg_error.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#define QPXRUN_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// Everything the decoder touches after its setjmp, reached through one pointer that never changes.
struct DecodeState {
    jpeg_decompress_struct cinfo;
    imaging::JpegErrorManager errors;
    QpxRunPicture picture{};
    unsigned char* cmykRow = nullptr;
    const char* failure = nullptr;
};

// Adobe's CMYK JPEGs store the inks inverted; others store them as they are.
void CmykToBgrx(const unsigned char* in, unsigned char* out, int width, bool inverted) {
    for (int x = 0; x < width; ++x, in += 4, out += 4) {
        const int k = inverted ? in[3] : 255 - in[3];
        for (int c = 0; c < 3; ++c) {
            const int ink = inverted ? in[2 - c] : 255 - in[2 - c];
            out[c] = static_cast<unsigned char>(ink * k / 255);
        }
        out[3] = 255;
    }
}

void ReadRows(DecodeState* s, bool cmyk) {
    jpeg_decompress_struct* cinfo = &s->cinfo;
    while (cinfo->output_scanline < cinfo->output_height) {
        unsigned char* line = s->picture.pixels + std::size_t(cinfo->output_scanline) * s->picture.stride;
        JSAMPROW row = cmyk ? s->cmykRow : line;
        jpeg_read_scanlines(cinfo, &row, 1);
        if (cmyk)
            CmykToBgrx(s->cmykRow, line, s->picture.width, cinfo->saw_Adobe_marker);
    }
}

bool Decode(DecodeState* s, const unsigned char* data, std::size_t size) {
    jpeg_decompress_struct* cinfo = &s->cinfo;
    cinfo->err = imaging::initJpegErrorManager(s->errors);
    if (setjmp(s->errors.jump)) {
        jpeg_destroy_decompress(cinfo);
        if (!s->failure)
            s->failure = s->errors.stop == imaging::JpegStop::Truncated      ? "JPEG data cut short"
                         : s->errors.stop == imaging::JpegStop::TooManyScans ? "too many scans"
                         : s->errors.stop == imaging::JpegStop::TooLarge     ? "picture too large"
                         : s->errors.stop == imaging::JpegStop::OutOfMemory  ? "out of memory"
                                                                             : "damaged JPEG data";
        return false;
    }
    jpeg_create_decompress(cinfo);
    jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(cinfo, TRUE);
    // The program's own picture policy, before anything of the picture is allocated.
    imaging::applyPicturePolicy(cinfo, data, size);
    const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    jpeg_start_decompress(cinfo);
    s->picture.width = static_cast<int>(cinfo->output_width);
    s->picture.height = static_cast<int>(cinfo->output_height);
    s->picture.stride = s->picture.width * 4;
    s->picture.pixels =
        static_cast<unsigned char*>(std::malloc(std::size_t(s->picture.stride) * s->picture.height));
    if (!s->picture.pixels) {
        s->failure = "out of memory";
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    if (cmyk)
        s->cmykRow = static_cast<unsigned char*>((*cinfo->mem->alloc_small)(
            reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE, std::size_t(cinfo->output_width) * 4));
    ReadRows(s, cmyk);
    jpeg_finish_decompress(cinfo);
    jpeg_destroy_decompress(cinfo);
    return true;
}

void SetError(char* error, std::size_t errorSize, const char* text) {
    if (error && errorSize > 0)
        std::snprintf(error, errorSize, "%s", text);
}

} // namespace

QPXRUN_EXPORT int qpxrun_api_version(void) {
    return QPXRUN_API_VERSION;
}

QPXRUN_EXPORT int qpxrun_decode(const unsigned char* data, size_t size, QpxRunPicture* picture, char* error,
                                size_t errorSize) {
    SetError(error, errorSize, "");
    if (!picture)
        return SetError(error, errorSize, "no picture to fill"), 1;
    *picture = QpxRunPicture{};
    if (!data || size == 0)
        return SetError(error, errorSize, "no data"), 1;
    auto state = std::make_unique<DecodeState>();
    std::memset(&state->cinfo, 0, sizeof state->cinfo);
    if (!Decode(state.get(), data, size)) {
        std::free(state->picture.pixels);
        return SetError(error, errorSize, state->failure), 1;
    }
    *picture = state->picture;
    return 0;
}

QPXRUN_EXPORT void qpxrun_free(QpxRunPicture* picture) {
    if (!picture)
        return;
    std::free(picture->pixels);
    *picture = QpxRunPicture{};
}
