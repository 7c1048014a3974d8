// SPDX-License-Identifier: MIT
#include "jpeg_error.h"

#include <jerror.h>

namespace imaging {

namespace {

[[noreturn]] void jumpBack(j_common_ptr cinfo, JpegStop stop) {
    auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    manager->stop = stop;
    std::longjmp(manager->jump, 1);
}

[[noreturn]] void jumpOnError(j_common_ptr cinfo) {
    switch (cinfo->err->msg_code) {
    case JERR_OUT_OF_MEMORY:
        jumpBack(cinfo, JpegStop::OutOfMemory);
    case JERR_NO_BACKING_STORE: // the coefficients would exceed max_memory_to_use
    case JERR_IMAGE_TOO_BIG:
    case JERR_WIDTH_OVERFLOW:
        jumpBack(cinfo, JpegStop::TooLarge);
    default:
        jumpBack(cinfo, JpegStop::None);
    }
}

void noteMessage(j_common_ptr cinfo, int level) {
    // Level -1 is a warning; the rest are traces. libjpeg decodes on past damaged data by inventing
    // what is missing (grey rows for a stream that ends early), so the picture would not be the
    // file's: it is refused at once. Only the warnings about other things than the data pass.
    if (level >= 0)
        return;
    cinfo->err->num_warnings++;
    switch (cinfo->err->msg_code) {
    case JWRN_ADOBE_XFORM:
    case JWRN_JFIF_MAJOR:
        return;
    case JWRN_JPEG_EOF:
        jumpBack(cinfo, JpegStop::Truncated);
    default:
        jumpBack(cinfo, JpegStop::CorruptData);
    }
}

void silent(j_common_ptr) {}

} // namespace

jpeg_error_mgr* initJpegErrorManager(JpegErrorManager& manager) {
    jpeg_std_error(&manager.pub);
    manager.pub.error_exit = jumpOnError;
    manager.pub.emit_message = noteMessage;
    manager.pub.output_message = silent;
    manager.stop = JpegStop::None;
    return &manager.pub;
}

void applyPicturePolicy(j_decompress_ptr cinfo, const unsigned char* data, std::size_t size) {
    const auto common = reinterpret_cast<j_common_ptr>(cinfo);
    if (!fitsPicturePolicy(cinfo->image_width, cinfo->image_height))
        jumpBack(common, JpegStop::TooLarge);
    if (countJpegScans(data, size) > allowedJpegScans(cinfo->image_width, cinfo->image_height))
        jumpBack(common, JpegStop::TooManyScans);
    cinfo->mem->max_memory_to_use = long(MaxDecoderWorkBytes);
}

int jpegProgressPercent(const jpeg_progress_mgr& p) {
    if (p.total_passes <= 0 || p.pass_limit <= 0)
        return 0;
    const double done = p.completed_passes + double(p.pass_counter) / double(p.pass_limit);
    const int pct = int(100.0 * done / p.total_passes);
    return pct < 0 ? 0 : (pct > 99 ? 99 : pct);
}

} // namespace imaging
